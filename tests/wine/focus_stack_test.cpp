// A focus stack through the real Focus stack window, as a person takes one:
// the virtual microscope's relief (parts at other depths than the ruler's),
// its focus driven through the range in steps, the frames kept, the series
// fused and saved; the fused picture is then held against the frames.
#include "state/app_state.h"
#include "state/settings.h"
#include "base/commands.h"
#include "capture/camera_state.h"
#include "capture/camera_graph.h"
#include "dialogs/focus_stack_ids.h"
#include "view/view_source.h"
#include "view/view_state.h"
#include "modal_dialog.h"
#include "program_harness.h"
#include "rig_api.h"
#include "rig_codec.h"
#include "rig_depth.h"
#include "rig_graph.h"
#include "rig_shared.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <climits>
#include <cwchar>
#include <vector>

namespace {

struct Picture {
    UINT width = 0, height = 0;
    std::vector<BYTE> bgr; // top-down
};

// A picture file read with WIC as 24-bit BGR.
Picture Picture_Read(const std::wstring &path)
{
    Picture picture;
    IWICImagingFactory *wic = Wic_Create();
    IWICBitmapDecoder *decoder = nullptr;
    IWICBitmapFrameDecode *frame = nullptr;
    IWICFormatConverter *converter = nullptr;
    if (wic &&
        SUCCEEDED(wic->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                 &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(wic->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                        WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(converter->GetSize(&picture.width, &picture.height))) {
        picture.bgr.resize((size_t)picture.width * picture.height * 3);
        if (FAILED(converter->CopyPixels(nullptr, picture.width * 3, (UINT)picture.bgr.size(), picture.bgr.data())))
            picture.bgr.clear();
    }
    for (IUnknown *object : {(IUnknown *)converter, (IUnknown *)frame, (IUnknown *)decoder, (IUnknown *)wic})
        if (object)
            object->Release();
    return picture;
}

// The manual's before-and-after picture: the sharpest single frame and the
// fused picture side by side, each the band of the ruler over the band of the
// relief (not the moving mark between, which a series shows at every place it
// passed), shrunk to 640 pixels in all (each pixel the mean of f x f), white
// lines between; a PNG in screenshots/.
bool Picture_WriteSideBySide(const Picture &left, const Picture &right, const wchar_t *name)
{
    const UINT f = (2 * left.width + 639) / 640, w = left.width / f, width = 2 * w, p = Rig_PixelsPerMm(left.width);
    const UINT bands[2][2] = {{left.height / 4 - p / 2, left.height / 4 + 5 * p / 2},
                              {left.height / 2 + 2 * p, left.height / 2 + 9 * p}};
    std::vector<UINT> tops; // the source row of each row written; UINT_MAX for a white line
    for (const auto &band : bands) {
        if (!tops.empty())
            tops.insert(tops.end(), 2, UINT_MAX);
        for (UINT top = band[0]; top + f <= band[1]; top += f)
            tops.push_back(top);
    }
    const UINT h = (UINT)tops.size();
    std::vector<BYTE> out((size_t)width * h * 3, 255);
    for (int side = 0; side < 2; side++) {
        const Picture &p = side ? right : left;
        for (UINT y = 0; y < h; y++)
            for (UINT x = side ? 1 : 0; tops[y] != UINT_MAX && x < (side ? w : w - 1); x++)
                for (int c = 0; c < 3; c++) {
                    UINT sum = 0;
                    for (UINT dy = 0; dy < f; dy++)
                        for (UINT dx = 0; dx < f; dx++)
                            sum += p.bgr[((size_t)(tops[y] + dy) * p.width + f * x + dx) * 3 + c];
                    out[((size_t)y * width + x + side * w) * 3 + c] = (BYTE)((sum + f * f / 2) / (f * f));
                }
    }
    CreateDirectoryW(L"screenshots", nullptr);
    std::wstring path = std::wstring(L"screenshots\\") + name + L".png";
    IWICImagingFactory *wic = Wic_Create();
    IWICStream *stream = nullptr;
    IWICBitmapEncoder *encoder = nullptr;
    IWICBitmapFrameEncode *frame = nullptr;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    bool written = wic && SUCCEEDED(wic->CreateStream(&stream)) &&
                   SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
                   SUCCEEDED(wic->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
                   SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
                   SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
                   SUCCEEDED(frame->SetSize(width, h)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
                   IsEqualGUID(format, GUID_WICPixelFormat24bppBGR) &&
                   SUCCEEDED(frame->WritePixels(h, width * 3, (UINT)out.size(), out.data())) &&
                   SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    for (IUnknown *object : {(IUnknown *)frame, (IUnknown *)encoder, (IUnknown *)stream, (IUnknown *)wic})
        if (object)
            object->Release();
    return written;
}

double Sharpness(const Picture &p, const DepthRect &r)
{
    return Picture_Sharpness(p.bgr, (int)p.width, r);
}

std::vector<std::wstring> Files(const std::wstring &pattern)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(pattern.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(found.cFileName);
    while (FindNextFileW(find, &found));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

struct FocusStackWindow : testing::Test {
    ProgramHarness program;
    void SetUp() override
    {
        Rig_ResetControls(0);
        Rig_ShowRelief(0, true);
        ASSERT_TRUE(program.StartCamera());
    }
    void TearDown() override { Rig_ResetControls(0); }
};

// Nine steps from focus 20 to 180 with the frames kept: each part of the
// relief and the ruler's ticks are in the fused picture at least 90 % as
// sharp as in the best frame, and twice as sharp as in the sharpest whole
// frame where that one shows them blurred.
TEST_F(FocusStackWindow, DrivingTheFocusThroughItsRangeFusesAPictureSharpWhereEveryPartIs)
{
    std::wstring count, mode;
    const int w = gCamera.frameHeader.biWidth, h = std::abs(gCamera.frameHeader.biHeight), p = Rig_PixelsPerMm(w);
    Modal_Run([&] { SendMessageW(program.main, WM_COMMAND, CMD_FOCUS_STACK, 0); },
              [&] {
                  HWND dialog = Dialog_WaitFor(L"Focus stack");
                  ASSERT_NE(dialog, nullptr);
                  Dialog_Choose(dialog, IDC_STACK_MODE, 2);
                  mode = Dialog_Items(dialog, IDC_STACK_MODE);
                  SetDlgItemTextW(dialog, IDC_STACK_FROM, L"20");
                  SetDlgItemTextW(dialog, IDC_STACK_TO, L"180");
                  SetDlgItemTextW(dialog, IDC_STACK_STEPS, L"9");
                  SendDlgItemMessageW(dialog, IDC_STACK_KEEP_FRAMES, BM_SETCHECK, BST_CHECKED, 0);
                  Sleep(500); // painted, for the picture
                  Window_Screenshot(dialog, L"focus-stack-window");
                  Dialog_Press(dialog, IDOK);
                  for (int i = 0; i < 600 && Rig_LastWrite(0, RigControl_Focus).currentValue != 100; i++)
                      Sleep(100);
                  count = Dialog_Text(dialog, IDC_STACK_COUNT);
                  EXPECT_TRUE(Dialog_WaitClosed(dialog, 120000)) << "not fused";
              });
    EXPECT_EQ(mode, L"automatically as the focus changes;one per click on Take a frame;by driving the camera's focus;");
    EXPECT_TRUE(count.starts_with(L"Frames kept: ")) << count;
    RigWrite focus = Rig_LastWrite(0, RigControl_Focus);
    EXPECT_EQ(focus.writes, 9);
    EXPECT_EQ(focus.currentValue, 180);

    std::wstring folder = program.images.path + L"\\Focus stacks";
    std::vector<std::wstring> stacks = Files(folder + L"\\*-stack.tif");
    ASSERT_EQ(stacks.size(), 1u);
    std::wstring series = folder + L"\\" + stacks[0].substr(0, stacks[0].size() - 10);
    std::vector<std::wstring> names = Files(series + L"\\frame-*.tif");
    ASSERT_EQ(names.size(), 9u);
    Picture fused = Picture_Read(folder + L"\\" + stacks[0]);
    std::vector<Picture> frames;
    for (const std::wstring &name : names)
        frames.push_back(Picture_Read(series + L"\\" + name));
    ASSERT_EQ(fused.width, (UINT)w);
    ASSERT_EQ(fused.height, (UINT)h);
    EXPECT_EQ(gView.source, VIEW_PICTURE) << "the fused picture is shown in place of the camera's";
    EXPECT_EQ(gView.imageWidth, w);
    EXPECT_FALSE(Camera_IsOpen());
    int sharpest = 0;
    std::vector<double> whole;
    for (const Picture &frame : frames) {
        ASSERT_EQ(frame.bgr.size(), fused.bgr.size());
        whole.push_back(Sharpness(frame, {0, 0, w, h}));
        sharpest = whole.back() > whole[sharpest] ? (int)whole.size() - 1 : sharpest;
    }
    const int sharpestFocus = 20 + 20 * sharpest;
    std::vector<std::pair<DepthRect, int>> regions;
    for (int k = 0; k < RIG_RELIEF_PARTS; k++)
        regions.push_back({Depth_Part(w, h, k), kReliefDepth[k]});
    regions.push_back({{p, h / 4, w - p, h / 4 + p / 2}, RIG_RULER_DEPTH});
    for (auto [rect, depth] : regions) {
        double best = 0;
        for (const Picture &frame : frames)
            best = std::max(best, Sharpness(frame, rect));
        double sharp = Sharpness(fused, rect);
        EXPECT_GE(sharp, 0.9 * best) << "depth " << depth;
        if (Depth_Sigma(w, sharpestFocus, depth) >= 2) {
            EXPECT_GE(sharp, 2 * Sharpness(frames[sharpest], rect)) << "depth " << depth;
        }
    }
    EXPECT_TRUE(Picture_WriteSideBySide(frames[sharpest], fused, L"focus-stack-before-after"));
}

// Automatic keeping while the focus is turned by hand (three positions a
// second apart, set on the microscope as its wheel would): a frame is kept at
// each, and Cancel throws the series away and leaves the window ready.
TEST_F(FocusStackWindow, TurningTheFocusKeepsFramesByItselfAndCancelKeepsNothing)
{
    int kept = 0;
    std::wstring cancelText, afterCancel;
    Modal_Run([&] { SendMessageW(program.main, WM_COMMAND, CMD_FOCUS_STACK, 0); },
              [&] {
                  HWND dialog = Dialog_WaitFor(L"Focus stack");
                  ASSERT_NE(dialog, nullptr);
                  Dialog_Press(dialog, IDOK);
                  for (int focus : {40, 100, 180}) {
                      Rig_SetControl(0, RigControl_Focus, focus, 2);
                      Sleep(1500);
                  }
                  swscanf(Dialog_Text(dialog, IDC_STACK_COUNT).c_str(), L"Frames kept: %d", &kept);
                  cancelText = Dialog_Text(dialog, IDCANCEL);
                  Dialog_Press(dialog, IDCANCEL);
                  for (int i = 0; i < 100 && Dialog_Text(dialog, IDCANCEL) != L"Close"; i++)
                      Sleep(100);
                  afterCancel = Dialog_Text(dialog, IDOK) + L";" + Dialog_Text(dialog, IDCANCEL);
                  Dialog_Press(dialog, IDCANCEL);
                  EXPECT_TRUE(Dialog_WaitClosed(dialog));
              });
    EXPECT_GE(kept, 3);
    EXPECT_LE(kept, 12) << "a still picture is not kept again and again";
    EXPECT_EQ(cancelText, L"Cancel");
    EXPECT_EQ(afterCancel, L"&Start;Close");
    EXPECT_TRUE(Files(program.images.path + L"\\Focus stacks\\*-stack.tif").empty());
}

} // namespace
