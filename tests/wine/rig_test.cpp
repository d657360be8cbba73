// The test rig itself: the virtual microscope as DirectShow shows it, the
// converters Wine lacks, its controls, its still button and its plugging.
#include "capture/ks_interfaces_win.h"
#include "rig_api.h"
#include "rig_codec.h"
#include "rig_depth.h"
#include "rig_graph.h"
#include "rig_scene.h"
#include "rig_shared.h"
#include "wine_support.h"

#include <dbt.h>
#include <dvdmedia.h>
#include <gtest/gtest.h>
#include <ks.h>
#include <algorithm>
#include <cstdio>
#include <set>
#include <tuple>

namespace {

const wchar_t *const kMicroscope = L"Quorell Virtual Microscope";
const wchar_t *const kMicroscope2 = L"Quorell Virtual Microscope 2";

// The rig as the prefix has it, before and after each test (so that a test
// that died half-way harms no other): microscope 1 plugged in, 2 not, all
// controls at their defaults.
struct RigBench : testing::Test {
    static void Restore()
    {
        Rig_ResetControls(0);
        if (Devices_Has(kMicroscope2))
            Rig_Unplug(1);
        if (!Devices_Has(kMicroscope))
            Rig_Plug(0);
    }
    void SetUp() override { Restore(); }
    void TearDown() override { Restore(); }
};

bool IsDark(const BYTE *p) { return p[1] < 110; }

// The scene's geometry (rig_scene.h) read back from a decoded frame: corner
// marks where they belong and ticks at the ruler's pitch, long every 10 mm.
void ExpectUprightRuler(const std::vector<BYTE> &frame, int w, int h)
{
    ASSERT_GE(frame.size(), (size_t)w * h * 3);
    const int p = Rig_PixelsPerMm(w), tick = std::max(1, p / 10);
    const BYTE *red = Frame_Pixel(frame, w, h, p, p);
    EXPECT_GT(red[2], 170);
    EXPECT_LT(red[0], 90);
    const BYTE *blue = Frame_Pixel(frame, w, h, w - p, h - p);
    EXPECT_GT(blue[0], 170);
    EXPECT_LT(blue[2], 90);
    const BYTE *bottomLeft = Frame_Pixel(frame, w, h, p, h - p);
    EXPECT_GT(bottomLeft[0], 150) << "paper, not the red mark";

    std::vector<int> expected, longExpected, found, longFound;
    for (int k = 0; p * (k + 1) + tick <= w - p; k++) {
        expected.push_back(p * (k + 1));
        if (k % 10 == 0)
            longExpected.push_back(p * (k + 1));
    }
    const int rulerTop = h / 4;
    for (int x = p / 2; x < w - p / 2; x++) {
        bool dark = IsDark(Frame_Pixel(frame, w, h, x, rulerTop + p / 4));
        bool before = IsDark(Frame_Pixel(frame, w, h, x - 1, rulerTop + p / 4));
        if (dark && !before)
            found.push_back(x);
        bool longDark = IsDark(Frame_Pixel(frame, w, h, x, rulerTop + 5 * p / 4));
        bool longBefore = IsDark(Frame_Pixel(frame, w, h, x - 1, rulerTop + 5 * p / 4));
        if (longDark && !longBefore)
            longFound.push_back(x);
    }
    ASSERT_EQ(found.size(), expected.size());
    for (size_t i = 0; i < found.size(); i++)
        EXPECT_NEAR(found[i], expected[i], 1) << "tick " << i;
    ASSERT_EQ(longFound.size(), longExpected.size());
    for (size_t i = 0; i < longFound.size(); i++)
        EXPECT_NEAR(longFound[i], longExpected[i], 1) << "long tick " << i;
}

double PaperGreen(const std::vector<BYTE> &frame, int w, int h)
{
    double sum = 0;
    for (int y = 3 * h / 4; y < 3 * h / 4 + 10; y++)
        for (int x = w / 2 - 10; x < w / 2 + 10; x++)
            sum += Frame_Pixel(frame, w, h, x, y)[1];
    return sum / 200;
}

TEST_F(RigBench, EnumeratorListsTheMicroscopeWithABindableMoniker)
{
    std::vector<MicroscopeEntry> devices = Devices_List();
    const MicroscopeEntry *entry = nullptr;
    for (auto &d : devices)
        if (d.friendlyName == kMicroscope)
            entry = &d;
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->friendlyName.find(L"Integrated"), std::wstring::npos);
    EXPECT_EQ(entry->friendlyName.find(L"Microsoft"), std::wstring::npos);
    EXPECT_EQ(entry->displayName,
              std::wstring(L"@device:sw:{860BB310-5D01-11D0-BD3B-00A0C911CE86}\\") + Rig_DeviceInstance(0));

    IBindCtx *context = nullptr;
    IMoniker *parsed = nullptr;
    ULONG eaten = 0;
    ASSERT_HRESULT_SUCCEEDED(CreateBindCtx(0, &context));
    ASSERT_HRESULT_SUCCEEDED(MkParseDisplayName(context, entry->displayName.c_str(), &eaten, &parsed));
    EXPECT_EQ(parsed->IsEqual(entry->moniker), S_OK);
    IBaseFilter *filter = nullptr;
    ASSERT_HRESULT_SUCCEEDED(parsed->BindToObject(context, nullptr, IID_IBaseFilter, (void **)&filter));
    CLSID clsid;
    filter->GetClassID(&clsid);
    EXPECT_EQ(clsid, Rig_DeviceClsid(0));
    filter->Release();
    parsed->Release();
    context->Release();
    Devices_Free(&devices);
}

TEST_F(RigBench, StreamConfigListsBothSubtypesInAllSizesWith128ByteCaps)
{
    IBaseFilter *filter = Device_Bind(kMicroscope);
    ASSERT_NE(filter, nullptr);
    IPin *capture = Pin_Find(filter, PINDIR_OUTPUT, 0);
    IAMStreamConfig *config = nullptr;
    ASSERT_HRESULT_SUCCEEDED(capture->QueryInterface(IID_IAMStreamConfig, (void **)&config));
    int count = 0, size = 0;
    ASSERT_HRESULT_SUCCEEDED(config->GetNumberOfCapabilities(&count, &size));
    EXPECT_EQ(size, 128);
    std::set<std::tuple<bool, LONG, LONG>> seen;
    for (int i = 0; i < count; i++) {
        AM_MEDIA_TYPE *mt = nullptr;
        VIDEO_STREAM_CONFIG_CAPS caps;
        ASSERT_EQ(config->GetStreamCaps(i, &mt, (BYTE *)&caps), S_OK);
        EXPECT_EQ(mt->majortype, MEDIATYPE_Video);
        ASSERT_EQ(mt->formattype, FORMAT_VideoInfo);
        ASSERT_GE(mt->cbFormat, sizeof(VIDEOINFOHEADER));
        auto *vih = (VIDEOINFOHEADER *)mt->pbFormat;
        bool mjpg = mt->subtype == MEDIASUBTYPE_MJPG;
        EXPECT_TRUE(mjpg || mt->subtype == MEDIASUBTYPE_YUY2);
        EXPECT_EQ(caps.guid, FORMAT_VideoInfo);
        EXPECT_EQ(caps.InputSize.cx, vih->bmiHeader.biWidth);
        EXPECT_EQ(caps.MaxOutputSize.cy, vih->bmiHeader.biHeight);
        EXPECT_EQ(caps.MinFrameInterval, vih->AvgTimePerFrame);
        EXPECT_GE(caps.MaxFrameInterval, caps.MinFrameInterval);
        seen.insert({mjpg, vih->bmiHeader.biWidth, vih->bmiHeader.biHeight});
        CoTaskMemFree(mt->pbFormat);
        CoTaskMemFree(mt);
    }
    std::set<std::tuple<bool, LONG, LONG>> expected;
    for (bool mjpg : {true, false})
        for (auto [w, h] : {std::pair{320, 240}, {640, 480}, {1280, 720}, {1920, 1080}})
            expected.insert({mjpg, w, h});
    expected.insert({false, 1366, 768});
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(count, 9);

    // The pins say what they are, and only formats from the list are taken.
    IPin *still = Pin_Find(filter, PINDIR_OUTPUT, 1);
    for (auto [pin, category] : {std::pair{capture, &PIN_CATEGORY_CAPTURE}, {still, &PIN_CATEGORY_STILL}}) {
        IKsPropertySet *props = nullptr;
        ASSERT_HRESULT_SUCCEEDED(pin->QueryInterface(IID_IKsPropertySet, (void **)&props));
        GUID got = {};
        DWORD returned = 0;
        EXPECT_EQ(props->Get(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, nullptr, 0, &got, sizeof got, &returned), S_OK);
        EXPECT_EQ(got, *category);
        props->Release();
    }
    EXPECT_EQ(Device_SetFormat(filter, MEDIASUBTYPE_MJPG, 800, 600), VFW_E_INVALIDMEDIATYPE);
    EXPECT_EQ(Device_SetFormat(filter, MEDIASUBTYPE_YUY2, 1280, 720), S_OK);
    AM_MEDIA_TYPE *current = nullptr;
    ASSERT_HRESULT_SUCCEEDED(config->GetFormat(&current));
    EXPECT_EQ(current->subtype, MEDIASUBTYPE_YUY2);
    EXPECT_EQ(((VIDEOINFOHEADER *)current->pbFormat)->bmiHeader.biWidth, 1280);
    CoTaskMemFree(current->pbFormat);
    CoTaskMemFree(current);
    still->Release();
    config->Release();
    capture->Release();
    filter->Release();
}

struct RigMjpgSize : RigBench, testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(RigMjpgSize, DecompressorGraphDeliversTheUprightRulerAtTheChosenSize)
{
    auto [w, h] = GetParam();
    IBaseFilter *filter = Device_Bind(kMicroscope);
    ASSERT_NE(filter, nullptr);
    RigGraph g;
    ASSERT_HRESULT_SUCCEEDED(g.Build(filter, MEDIASUBTYPE_MJPG, w, h, false));
    filter->Release();
    BITMAPINFOHEADER bmi = g.Connected(g.grabber);
    EXPECT_EQ(bmi.biWidth, w);
    EXPECT_EQ(bmi.biHeight, h);
    ASSERT_HRESULT_SUCCEEDED(g.control->Run());
    ASSERT_TRUE(g.preview.WaitFrames(61, 20000)); // under load the decoder keeps up with less
    std::vector<BYTE> frame = g.preview.Last();
    EXPECT_EQ(frame.size(), (size_t)w * h * 3);
    ExpectUprightRuler(frame, w, h);
    EXPECT_GE(g.preview.Changes(), 25) << "the moving mark makes each frame differ";
    std::printf("MJPG %dx%d: %.1f frames per second delivered\n", w, h, g.preview.Fps());
    // A first frame delivered late (the graph starting under load) is followed
    // by the paced frames that were due meanwhile, so over two seconds the
    // rate may read a little above 30; a free-running source reads far more.
    EXPECT_LT(g.preview.Fps(), 36.0) << "paced at 30 frames per second, not free-running";
}

INSTANTIATE_TEST_SUITE_P(Rig, RigMjpgSize, testing::Values(std::pair{640, 480}, std::pair{1920, 1080}));

// What a resolution change does: the same filter leaves one graph and joins
// a new one in another format.
TEST_F(RigBench, FilterStreamsAgainInANewGraphWithAnotherFormat)
{
    IBaseFilter *filter = Device_Bind(kMicroscope);
    ASSERT_NE(filter, nullptr);
    {
        RigGraph first;
        ASSERT_HRESULT_SUCCEEDED(first.Build(filter, MEDIASUBTYPE_MJPG, 640, 480, true));
        ASSERT_HRESULT_SUCCEEDED(first.control->Run());
        ASSERT_TRUE(first.preview.WaitFrames(3, 5000));
    }
    RigGraph second;
    ASSERT_HRESULT_SUCCEEDED(second.Build(filter, MEDIASUBTYPE_YUY2, 1280, 720, true));
    filter->Release();
    EXPECT_EQ(second.Connected(second.grabber).biWidth, 1280);
    EXPECT_EQ(second.Connected(second.grabber2).biWidth, 1280) << "the still pin follows the capture format";
    ASSERT_HRESULT_SUCCEEDED(second.control->Run());
    ASSERT_TRUE(second.preview.WaitFrames(3, 5000));
    ExpectUprightRuler(second.preview.Last(), 1280, 720);
}

TEST_F(RigBench, ControlsReportTheirRangesRecordWritesAndChangeThePicture)
{
    IBaseFilter *filter = Device_Bind(kMicroscope);
    ASSERT_NE(filter, nullptr);
    IAMCameraControl *camera = nullptr;
    IAMVideoProcAmp *procAmp = nullptr;
    ASSERT_HRESULT_SUCCEEDED(filter->QueryInterface(IID_IAMCameraControl, (void **)&camera));
    ASSERT_HRESULT_SUCCEEDED(filter->QueryInterface(IID_IAMVideoProcAmp, (void **)&procAmp));
    long min, max, step, def, caps, value, flags;
    ASSERT_HRESULT_SUCCEEDED(camera->GetRange(CameraControl_Exposure, &min, &max, &step, &def, &caps));
    EXPECT_EQ(min, -13);
    EXPECT_EQ(max, -1);
    EXPECT_EQ(caps & 1, 1) << "automatic exposure offered";
    ASSERT_HRESULT_SUCCEEDED(camera->Get(CameraControl_Exposure, &value, &flags));
    EXPECT_EQ(flags, 2) << "but manual at first";
    ASSERT_HRESULT_SUCCEEDED(camera->GetRange(CameraControl_Focus, &min, &max, &step, &def, &caps));
    EXPECT_EQ(min, RIG_FOCUS_MIN);
    EXPECT_EQ(max, RIG_FOCUS_MAX);
    EXPECT_EQ(def, RIG_FOCUS_DEFAULT);
    EXPECT_EQ(caps, 2) << "manual focus only";
    EXPECT_HRESULT_FAILED(camera->GetRange(CameraControl_Zoom, &min, &max, &step, &def, &caps));

    for (long property : {VideoProcAmp_Gain, VideoProcAmp_WhiteBalance, VideoProcAmp_Saturation, VideoProcAmp_Contrast,
                          VideoProcAmp_Hue, VideoProcAmp_Brightness, VideoProcAmp_Sharpness, VideoProcAmp_Gamma}) {
        ASSERT_HRESULT_SUCCEEDED(procAmp->GetRange(property, &min, &max, &step, &def, &caps)) << property;
        EXPECT_LT(min, max);
        EXPECT_TRUE(def >= min && def <= max);
        ASSERT_HRESULT_SUCCEEDED(procAmp->Get(property, &value, &flags));
        EXPECT_EQ(value, def);
    }
    EXPECT_HRESULT_FAILED(procAmp->GetRange(VideoProcAmp_ColorEnable, &min, &max, &step, &def, &caps));

    // Writes reach the device as passed, and an automatic request takes the
    // value automatic mode arrives at (white balance: the scene's 4600 K).
    EXPECT_HRESULT_SUCCEEDED(camera->Set(CameraControl_Exposure, -9, 2));
    EXPECT_HRESULT_SUCCEEDED(procAmp->Set(VideoProcAmp_WhiteBalance, 0, 1));
    EXPECT_EQ(procAmp->Set(VideoProcAmp_Contrast, 65, 2), E_INVALIDARG);
    RigWrite exposure = Rig_LastWrite(0, RigControl_Exposure), balance = Rig_LastWrite(0, RigControl_WhiteBalance),
             contrast = Rig_LastWrite(0, RigControl_Contrast);
    EXPECT_EQ(exposure.value, -9);
    EXPECT_EQ(exposure.writes, 1);
    EXPECT_EQ(exposure.currentValue, -9);
    EXPECT_EQ(balance.flags, 1);
    EXPECT_EQ(balance.currentValue, 4600);
    EXPECT_EQ(contrast.value, 65);
    EXPECT_EQ(contrast.currentValue, 32) << "refused";
    EXPECT_HRESULT_SUCCEEDED(camera->Set(CameraControl_Exposure, -6, 2));

    // Brightness shifts the paper's level in the decoded picture.
    RigGraph g;
    ASSERT_HRESULT_SUCCEEDED(g.Build(filter, MEDIASUBTYPE_MJPG, 640, 480, false));
    ASSERT_HRESULT_SUCCEEDED(g.control->Run());
    ASSERT_TRUE(g.preview.WaitFrames(3, 5000));
    double normal = PaperGreen(g.preview.Last(), 640, 480);
    ASSERT_HRESULT_SUCCEEDED(procAmp->Set(VideoProcAmp_Brightness, -64, 2));
    long seen = g.preview.Frames();
    ASSERT_TRUE(g.preview.WaitFrames(seen + 3, 5000));
    double darker = PaperGreen(g.preview.Last(), 640, 480);
    EXPECT_NEAR(normal, 215, 6);
    EXPECT_NEAR(darker, 215 - 64, 8);
    camera->Release();
    procAmp->Release();
    filter->Release();
}

// Through the focus control each part of the relief, and the ruler, is
// sharpest at its own depth, and none is sharp at every position.
TEST_F(RigBench, FocusBlursEachPartByItsDistanceFromItsDepth)
{
    const int w = 1280, h = 720, p = Rig_PixelsPerMm(w);
    std::vector<DepthRect> regions;
    std::vector<int> depths;
    for (int k = 0; k < RIG_RELIEF_PARTS; k++)
        regions.push_back(Depth_Part(w, h, k)), depths.push_back(kReliefDepth[k]);
    regions.push_back({p, h / 4, w - p, h / 4 + p / 2}), depths.push_back(RIG_RULER_DEPTH); // the short ticks
    Rig_ShowRelief(0, true);
    std::vector<double> atDepth(regions.size(), 0), farthest(regions.size(), 1e300);
    for (int focus = RIG_FOCUS_MIN; focus <= RIG_FOCUS_MAX; focus += 20) {
        ASSERT_HRESULT_SUCCEEDED(Rig_SetControl(0, RigControl_Focus, focus, 2));
        Scene scene;
        Scene_Prepare(&scene, 0, w, h);
        for (size_t r = 0; r < regions.size(); r++) {
            double sharpness = Picture_Sharpness(scene.base, w, regions[r]);
            if (focus == depths[r])
                atDepth[r] = sharpness;
            else if (abs(focus - depths[r]) >= 40)
                farthest[r] = std::min(farthest[r], sharpness);
        }
    }
    for (size_t r = 0; r < regions.size(); r++)
        EXPECT_GT(atDepth[r], 20 * farthest[r]) << "part at depth " << depths[r];
}

TEST_F(RigBench, TopologyProcessingNodeOffersPowerLineFrequency)
{
    IBaseFilter *filter = Device_Bind(kMicroscope);
    ASSERT_NE(filter, nullptr);
    IKsTopologyInfo *topology = nullptr;
    ASSERT_HRESULT_SUCCEEDED(filter->QueryInterface(IID_IKsTopologyInfo, (void **)&topology));
    // The walk the program makes: node ids up to the node count. The
    // connections are a list of another length.
    DWORD nodes = 0, connections = 0;
    ASSERT_HRESULT_SUCCEEDED(topology->get_NumNodes(&nodes));
    ASSERT_HRESULT_SUCCEEDED(topology->get_NumConnections(&connections));
    EXPECT_NE(connections, nodes);
    IVideoProcAmp *amp = nullptr;
    int matches = 0;
    for (DWORD node = 0; node < nodes; node++) {
        GUID type;
        if (FAILED(topology->get_NodeType(node, &type)) || type != KSNODETYPE_VIDEO_PROCESSING)
            continue;
        matches++;
        ASSERT_HRESULT_SUCCEEDED(topology->CreateNodeInstance(node, IID_IVideoProcAmp, (void **)&amp));
    }
    EXPECT_EQ(matches, 1);
    ASSERT_NE(amp, nullptr);
    long min, max, step, def, caps;
    ASSERT_HRESULT_SUCCEEDED(amp->getRange_PowerlineFrequency(&min, &max, &step, &def, &caps));
    EXPECT_EQ(min, 1);
    EXPECT_EQ(max, 2);
    EXPECT_EQ(step, 1);
    EXPECT_HRESULT_SUCCEEDED(amp->put_PowerlineFrequency(2, 2));
    RigWrite powerLine = Rig_LastWrite(0, RigControl_PowerLine);
    EXPECT_EQ(powerLine.value, 2);
    EXPECT_EQ(powerLine.flags, 2);
    EXPECT_EQ(powerLine.writes, 1);
    // The node is the same processing unit the filter's IAMVideoProcAmp drives.
    long brightness, flags;
    ASSERT_HRESULT_SUCCEEDED(amp->put_Brightness(12, 2));
    IAMVideoProcAmp *procAmp = nullptr;
    ASSERT_HRESULT_SUCCEEDED(filter->QueryInterface(IID_IAMVideoProcAmp, (void **)&procAmp));
    ASSERT_HRESULT_SUCCEEDED(procAmp->Get(VideoProcAmp_Brightness, &brightness, &flags));
    EXPECT_EQ(brightness, 12);
    procAmp->Release();
    amp->Release();
    topology->Release();
    filter->Release();
}

// Windows standing in for the program's: a top-level window and a child of
// class CameraWndClass (the camera view) that asked for capture-device
// notifications. The class is registered under the rig DLL's instance so
// that it cannot clash with the program's own class of that name.
struct DeviceWatcher {
    static inline int arrivals, removals, topLevel, badHeaders;
    HWND top = nullptr, view = nullptr;

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_DEVICECHANGE && (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE)) {
            auto *db = (const DEV_BROADCAST_DEVICEINTERFACE_W *)lParam;
            if (!(GetWindowLongW(window, GWL_STYLE) & WS_CHILD))
                topLevel++;
            else if (!db || db->dbcc_devicetype != DBT_DEVTYP_DEVICEINTERFACE ||
                     memcmp((const BYTE *)db + 12, &KSCATEGORY_CAPTURE, 16) != 0)
                badHeaders++;
            else
                (wParam == DBT_DEVICEARRIVAL ? arrivals : removals)++;
            return TRUE;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    static HINSTANCE Register(HINSTANCE instance, const wchar_t *name)
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = instance;
        wc.lpszClassName = name;
        RegisterClassW(&wc);
        return instance;
    }

    DeviceWatcher()
    {
        arrivals = removals = topLevel = badHeaders = 0;
        HINSTANCE program = Register(GetModuleHandleW(nullptr), L"RigTestWatcherWndClass");
        HINSTANCE rig = Register(LoadLibraryW(L"QuorellRig.dll"), L"CameraWndClass");
        top = CreateWindowW(L"RigTestWatcherWndClass", L"watcher", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                            nullptr, program, nullptr);
        view = CreateWindowW(L"CameraWndClass", L"", WS_CHILD, 0, 0, 50, 50, top, nullptr, rig, nullptr);
        DEV_BROADCAST_DEVICEINTERFACE_W filter = {};
        filter.dbcc_size = sizeof filter;
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        filter.dbcc_classguid = KSCATEGORY_CAPTURE;
        RegisterDeviceNotificationW(view, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    }
    ~DeviceWatcher() { DestroyWindow(top); }
};

TEST_F(RigBench, UnplugStopsTheFramesOfARunningGraph)
{
    IBaseFilter *filter = Device_Bind(kMicroscope);
    ASSERT_NE(filter, nullptr);
    RigGraph g;
    ASSERT_HRESULT_SUCCEEDED(g.Build(filter, MEDIASUBTYPE_YUY2, 320, 240, false));
    filter->Release();
    IMediaEvent *events = nullptr;
    ASSERT_HRESULT_SUCCEEDED(g.graph->QueryInterface(IID_IMediaEvent, (void **)&events));
    ASSERT_HRESULT_SUCCEEDED(g.control->Run());
    ASSERT_TRUE(g.preview.WaitFrames(3, 5000));
    ASSERT_HRESULT_SUCCEEDED(Rig_Unplug(0));
    bool lost = false;
    for (int i = 0; i < 100 && !lost; i++) {
        long code;
        LONG_PTR p1, p2;
        if (events->GetEvent(&code, &p1, &p2, 20) == S_OK) {
            lost = code == EC_DEVICE_LOST;
            events->FreeEventParams(code, p1, p2);
        }
    }
    EXPECT_TRUE(lost);
    long frames = g.preview.Frames();
    PumpMessages(300);
    EXPECT_EQ(g.preview.Frames(), frames);
    events->Release();
}

// Runs QuorellRigCtl.exe beside this program while pumping messages, since
// it sends WM_DEVICECHANGE to our windows.
DWORD RunControlProgram(const std::wstring &arguments)
{
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path = exe;
    std::wstring command = L"\"" + path.substr(0, path.rfind(L'\\')) + L"\\QuorellRigCtl.exe\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return (DWORD)-1;
    while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        PumpMessages(0);
    DWORD code = (DWORD)-1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

TEST_F(RigBench, ControlProgramDrivesTheRigFromAnotherProcess)
{
    DeviceWatcher watcher;
    wchar_t view[32];
    swprintf(view, 32, L"%llx", (unsigned long long)(ULONG_PTR)watcher.view);
    ASSERT_EQ(RunControlProgram(L"unplug 1"), 0u);
    EXPECT_FALSE(Devices_Has(kMicroscope));
    EXPECT_EQ(DeviceWatcher::removals, 1) << "the record survives the trip between processes";
    ASSERT_EQ(RunControlProgram(std::wstring(L"plug 1 ") + view), 0u);
    EXPECT_TRUE(Devices_Has(kMicroscope));
    EXPECT_EQ(DeviceWatcher::arrivals, 1) << "a window given by handle is not sent twice";
    EXPECT_EQ(DeviceWatcher::badHeaders, 0);

    IBaseFilter *filter = Device_Bind(kMicroscope);
    ASSERT_NE(filter, nullptr);
    RigGraph g;
    ASSERT_HRESULT_SUCCEEDED(g.Build(filter, MEDIASUBTYPE_YUY2, 640, 480, true));
    filter->Release();
    ASSERT_HRESULT_SUCCEEDED(g.control->Run());
    ASSERT_TRUE(g.preview.WaitFrames(2, 5000));
    ASSERT_EQ(RunControlProgram(L"still 1"), 0u);
    ASSERT_TRUE(g.still.WaitFrames(1, 3000));
    PumpMessages(300);
    EXPECT_EQ(g.still.Frames(), 1) << "one frame per press";
}

// The figure in the rig's README; run it by name when the codec changes.
TEST_F(RigBench, DISABLED_MjpgDecodeCostAt1920x1080)
{
    // A frame exactly as the microscope sends it, decoded as the decompressor does.
    Scene scene;
    Scene_Prepare(&scene, 0, 1920, 1080);
    Scene_Paint(&scene, 7, 0);
    IWICImagingFactory *wic = Wic_Create();
    ASSERT_NE(wic, nullptr);
    std::vector<BYTE> jpeg(1920 * 1080 * 3), dib(1920 * 1080 * 3);
    long size = Jpeg_Encode(wic, scene.frame.data(), 1920, 1080, jpeg.data(), (long)jpeg.size());
    ASSERT_GT(size, 0);
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    const int runs = 10;
    for (int i = 0; i < runs; i++)
        ASSERT_HRESULT_SUCCEEDED(Jpeg_DecodeToDib(wic, jpeg.data(), size, 1920, 1080, dib.data(), 1920 * 3));
    QueryPerformanceCounter(&t1);
    double ms = (t1.QuadPart - t0.QuadPart) * 1000.0 / f.QuadPart / runs;
    std::printf("MJPG 1920x1080 (%ld bytes): %.1f ms per decode\n", size, ms);
    ExpectUprightRuler(dib, 1920, 1080);
    const BYTE *mark = Frame_Pixel(dib, 1920, 1080, Scene_MarkColumn(1920, 7) + 30, 540 + 30);
    EXPECT_LT(mark[0], 90);
    EXPECT_GT(mark[1], 80);
    wic->Release();
}

} // namespace
