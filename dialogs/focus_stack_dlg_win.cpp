// The Focus stack window: takes a focus series from the live picture (as the
// focus changes, one frame per click, or by driving the camera's focus
// through a range), has the stack worker fuse it while the frames come, and
// saves the fused picture.
#include "state/app_state.h"
#include "state/folders.h"
#include "state/language.h"
#include "state/prompt.h"
#include "state/settings.h"
#include "base/clock.h"
#include "base/platform.h"
#include "base/text.h"
#include "capture/camera_controls_win.h"
#include "capture/camera_graph.h"
#include "capture/camera_state.h"
#include "capture/effect_kernels.h"
#include "capture/frame_layout.h"
#include "capture/frame_pipeline.h"
#include "stack/focus_series.h"
#include "stack/stack_job.h"
#include "dialogs/dialog_common_win.h"
#include "dialogs/dialogs_win.h"
#include "dialogs/focus_stack_ids.h"
#include "reports/picture_files.h"
#include "reports/report_file_win.h"
#include "reports/snapshot.h"
#include "view/view_device_win.h"
#include "view/view_source.h"
#include "view/view_state.h"

#include <commctrl.h>
#include <algorithm>
#include <cstring>
#include <vector>

enum {
    TAKE_TIMER = 89,
    TAKE_PERIOD = 100,
    // A driven focus is given this many ticks and frames to reach the picture
    // (the frames in the decoder's and grabber's hands show the focus before).
    SETTLE_TICKS = 5,
    SETTLE_FRAMES = 3,
    FIRST_MODE_TEXT = 1442,
    START_TEXT = 1449,
    STOP_TEXT = 1450,
    CLOSE_TEXT = 1452,
    CANCEL_TEXT = 1453,
};

enum StackMode { MODE_SHARPNESS, MODE_CLICKS, MODE_DRIVE, MODE_COUNT };
enum DialogStep { STEP_IDLE, STEP_TAKING, STEP_FUSING };

static const DialogText kTexts[] = {{0, 1440},
                                    {IDC_STACK_MODE_LABEL, 1441},
                                    {IDC_STACK_FROM_LABEL, 1445},
                                    {IDC_STACK_TO_LABEL, 1446},
                                    {IDC_STACK_STEPS_LABEL, 1447},
                                    {IDC_STACK_KEEP_FRAMES, 1448},
                                    {IDOK, START_TEXT},
                                    {IDC_STACK_TAKE, 1451},
                                    {IDCANCEL, CLOSE_TEXT}};

// The one Focus stack window (it is modal).
struct FocusStackDialog {
    DialogStep step;
    StackMode mode;
    bool hasFocus;                 // the camera has an absolute focus to drive
    int32_t focusFrom, focusTo, steps, stepIndex, settle;
    uint32_t framesAtFocus;        // gCamera.framesRendered when the focus was set
    bool takeWanted;               // a click waits for room at the worker
    bool anyKept;
    double keptSharpness;
    FrameLayout layout;
    std::vector<uint8_t> frame;    // the newest frame, as the camera's bitmap holds it
    bool keepFrames;
    LocalTime started;             // names the series' files
};
static FocusStackDialog gFocusStackDialog;

// The frame's first row top-down and the step to the next (bottom-up
// bitmaps step backwards).
static const uint8_t *TopRow(const FocusStackDialog &d, ptrdiff_t *stride)
{
    bool bottomUp = gCamera.frameHeader.biHeight > 0;
    *stride = bottomUp ? -(ptrdiff_t)d.layout.stride : d.layout.stride;
    return d.frame.data() + (bottomUp ? (size_t)(d.layout.height - 1) * d.layout.stride : 0);
}

// A TIFF of BGR rows with the scale of the live calibration; never a partial file.
static bool SaveTiff(const wchar_t *path, const uint8_t *bgr, ptrdiff_t stride, int width, int height)
{
    std::vector<uint32_t> pixels((size_t)width * height);
    for (int y = 0; y < height; y++)
        gEffectKernels->expandRow(bgr + y * stride, &pixels[(size_t)y * width], width);
    std::vector<uint8_t> bytes;
    if (!Tiff_Write(pixels.data(), width, height, Snapshot_Scale(width, height), &bytes))
        return false;
    if (Report_WriteBytes(path, bytes.data(), bytes.size()))
        return true;
    DeleteFileW(path);
    return false;
}

// Saved first, so that the work is kept whatever the view does with it.
static bool SaveStack(wchar_t *name, int width, int height, const uint8_t *bgrRows)
{
    wchar_t folder[PATH_CAPACITY];
    if (!Series_Folder(folder, PATH_CAPACITY, gSettings.imageFolder) || !Folder_Ensure(folder) ||
        !Series_FileName(name, PATH_CAPACITY, folder, gFocusStackDialog.started, 0) ||
        !File_MakeNameFree(name, PATH_CAPACITY)) {
        Prompt_ShowSaveFailure(folder);
        return false;
    }
    if (!SaveTiff(name, bgrRows, (ptrdiff_t)width * 3, width, height)) {
        Prompt_ShowSaveFailure(name);
        return false;
    }
    wchar_t text[PROMPT_TEXT_CAPACITY];
    Language_Message(text, PROMPT_TEXT_CAPACITY, 1456, L"Focus stack saved: %s", name);
    Prompt_Show(text, gApp.toolbarHeight + 1);
    Text_Copy(gApp.lastSavedFile, PATH_CAPACITY, name);
    return true;
}

void FocusStack_Deliver(int width, int height, const uint8_t *bgrRows)
{
    wchar_t name[PATH_CAPACITY] = L"";
    bool saved = SaveStack(name, width, height, bgrRows);
    // No scale of its own: the calibration applied to the series applies
    // (its frames had the camera's size).
    StillPicture picture = {width,  height, bgrRows, (size_t)width * 3, true, -1.0f, 0,
                            saved ? Text_FileName(name) : Language_Text(1440)};
    View_ShowStill(picture); // refused only above the size limit, which a camera's frames never reach
}

static void SaveFrame(HWND dialog, const uint8_t *top, ptrdiff_t stride)
{
    const FocusStackDialog &d = gFocusStackDialog;
    wchar_t folder[PATH_CAPACITY], series[PATH_CAPACITY], name[PATH_CAPACITY];
    if (!Series_Folder(folder, PATH_CAPACITY, gSettings.imageFolder) ||
        !Series_FrameFolder(series, PATH_CAPACITY, folder, d.started) || !Folder_Ensure(series) ||
        !Series_FileName(name, PATH_CAPACITY, folder, d.started, Stack_Kept()) ||
        !SaveTiff(name, top, stride, d.layout.width, d.layout.height)) {
        // The series goes on; the frames are not kept from here on.
        gFocusStackDialog.keepFrames = false;
        CheckDlgButton(dialog, IDC_STACK_KEEP_FRAMES, BST_UNCHECKED);
        Prompt_ShowSaveFailure(series);
    }
}

static void ShowCount(HWND dialog)
{
    wchar_t text[128];
    const FocusStackDialog &d = gFocusStackDialog;
    if (d.step == STEP_FUSING)
        Text_Format(text, 128, Language_Text(1455), Stack_Fused(), Stack_Kept());
    else
        Text_Format(text, 128, Language_Text(1454), Stack_Kept());
    SetDlgItemTextW(dialog, IDC_STACK_COUNT, text);
    int32_t kept = Stack_Kept();
    SendDlgItemMessageW(dialog, IDC_STACK_PROGRESS, PBM_SETPOS, kept ? Stack_Fused() * 100 / kept : 0, 0);
}

// The controls that choose how a series is taken are fixed while it is.
static void EnableControls(HWND dialog)
{
    const FocusStackDialog &d = gFocusStackDialog;
    bool idle = d.step == STEP_IDLE, drive = d.mode == MODE_DRIVE;
    EnableWindow(GetDlgItem(dialog, IDC_STACK_MODE), idle);
    for (int id : {IDC_STACK_FROM, IDC_STACK_TO, IDC_STACK_STEPS})
        EnableWindow(GetDlgItem(dialog, id), idle && drive);
    EnableWindow(GetDlgItem(dialog, IDC_STACK_KEEP_FRAMES), idle);
    EnableWindow(GetDlgItem(dialog, IDC_STACK_TAKE), d.step == STEP_TAKING && d.mode == MODE_CLICKS);
    EnableWindow(GetDlgItem(dialog, IDOK), d.step != STEP_FUSING);
    SetDlgItemTextW(dialog, IDOK, Language_Text(d.step == STEP_TAKING ? STOP_TEXT : START_TEXT));
    SetDlgItemTextW(dialog, IDCANCEL, Language_Text(idle ? CLOSE_TEXT : CANCEL_TEXT));
}

static void SetStep(HWND dialog, DialogStep step)
{
    gFocusStackDialog.step = step;
    EnableControls(dialog);
    ShowCount(dialog);
}

static void OnInit(HWND dialog)
{
    Dialog_SetTexts(dialog, kTexts, ARRAYSIZE(kTexts));
    Dialog_Place(dialog, PLACE_BELOW_TOP);
    gFocusStackDialog = {};
    FocusStackDialog &d = gFocusStackDialog;
    d.hasFocus = Camera_FocusRange(&d.focusFrom, &d.focusTo);
    d.steps = SERIES_DEFAULT_STEPS;
    for (int i = 0; i < (d.hasFocus ? MODE_COUNT : MODE_DRIVE); i++)
        SendDlgItemMessageW(dialog, IDC_STACK_MODE, CB_ADDSTRING, 0, (LPARAM)Language_Text(FIRST_MODE_TEXT + i));
    SendDlgItemMessageW(dialog, IDC_STACK_MODE, CB_SETCURSEL, d.mode, 0);
    SetDlgItemInt(dialog, IDC_STACK_FROM, (UINT)d.focusFrom, TRUE);
    SetDlgItemInt(dialog, IDC_STACK_TO, (UINT)d.focusTo, TRUE);
    SetDlgItemInt(dialog, IDC_STACK_STEPS, (UINT)d.steps, FALSE);
    SendDlgItemMessageW(dialog, IDC_STACK_PROGRESS, PBM_SETRANGE32, 0, 100);
    SetStep(dialog, STEP_IDLE);
}

// The drive's range and steps as typed, within the control's range.
static void ReadDrive(HWND dialog)
{
    FocusStackDialog &d = gFocusStackDialog;
    int32_t min = 0, max = 0;
    Camera_FocusRange(&min, &max);
    auto read = [&](int id, int32_t low, int32_t high, int32_t otherwise) {
        BOOL ok = FALSE;
        int value = (int)GetDlgItemInt(dialog, id, &ok, TRUE);
        return ok ? std::clamp<int32_t>(value, low, high) : otherwise;
    };
    d.focusFrom = read(IDC_STACK_FROM, min, max, min);
    d.focusTo = read(IDC_STACK_TO, min, max, max);
    d.steps = read(IDC_STACK_STEPS, SERIES_MIN_STEPS, SERIES_MAX_STEPS, SERIES_DEFAULT_STEPS);
}

static void DriveFocus()
{
    FocusStackDialog &d = gFocusStackDialog;
    Camera_SetFocus(Series_FocusAt(d.focusFrom, d.focusTo, d.steps, d.stepIndex));
    d.settle = SETTLE_TICKS;
    d.framesAtFocus = gCamera.framesRendered;
}

static void Start(HWND dialog)
{
    FocusStackDialog &d = gFocusStackDialog;
    if (!FrameLayout_From(gCamera.frameHeader, &d.layout) || !Stack_Start(d.layout.width, d.layout.height))
        return;
    d.frame.resize((size_t)d.layout.size);
    d.mode = (StackMode)SendDlgItemMessageW(dialog, IDC_STACK_MODE, CB_GETCURSEL, 0, 0);
    d.keepFrames = IsDlgButtonChecked(dialog, IDC_STACK_KEEP_FRAMES) == BST_CHECKED;
    d.anyKept = d.takeWanted = false;
    Clock_LocalTime(&d.started);
    if (d.mode == MODE_DRIVE) {
        ReadDrive(dialog);
        d.stepIndex = 0;
        DriveFocus();
    }
    SetTimer(dialog, TAKE_TIMER, TAKE_PERIOD, nullptr);
    SetStep(dialog, STEP_TAKING);
}

// No frames: nothing to fuse, and the window is ready for another start.
static void Stop(HWND dialog)
{
    if (Stack_Kept() == 0) {
        Stack_Cancel();
        Stack_WaitEnded(5000);
        Stack_Release();
        SetStep(dialog, STEP_IDLE);
        return;
    }
    Stack_Finish();
    SetStep(dialog, STEP_FUSING);
}

// Hands the newest frame to the worker (in automatic mode only one whose
// sharpness has moved on); false when it has no room (the caller tries again
// on a later tick), there is no frame or it is not wanted.
static bool Offer(HWND dialog)
{
    FocusStackDialog &d = gFocusStackDialog;
    // The newest frame is the view's: it takes each new one from the
    // pipeline as it paints. A held or still picture gives none.
    if (gView.source != VIEW_LIVE || gView.frameBits.size() != d.frame.size())
        return false;
    memcpy(d.frame.data(), gView.frameBits.data(), d.frame.size());
    ptrdiff_t stride;
    const uint8_t *top = TopRow(d, &stride);
    double sharpness = 0;
    if (d.mode == MODE_SHARPNESS) {
        sharpness = Series_Sharpness(top, d.layout.width, d.layout.height, stride);
        if (!Series_Keep(d.anyKept, d.keptSharpness, sharpness))
            return false;
    }
    if (!Stack_Offer(top, stride))
        return false;
    d.anyKept = true;
    d.keptSharpness = sharpness;
    if (d.keepFrames)
        SaveFrame(dialog, top, stride);
    return true;
}

static void DriveTick(HWND dialog)
{
    FocusStackDialog &d = gFocusStackDialog;
    if (d.settle > 0) {
        d.settle--;
        return;
    }
    if (gCamera.framesRendered - d.framesAtFocus < SETTLE_FRAMES || !Offer(dialog))
        return;
    if (++d.stepIndex >= d.steps)
        Stop(dialog);
    else
        DriveFocus();
}

static void Finished(HWND dialog)
{
    KillTimer(dialog, TAKE_TIMER);
    bool done = Stack_Phase() == STACK_DONE;
    if (done) {
        const Fusion &result = Stack_Result();
        FocusStack_Deliver(result.width, result.height, result.picture.data());
    }
    Stack_Release();
    if (done)
        EndDialog(dialog, IDOK);
    else
        SetStep(dialog, STEP_IDLE);
}

static void OnTick(HWND dialog)
{
    FocusStackDialog &d = gFocusStackDialog;
    if (d.step == STEP_TAKING && !Camera_IsOpen()) {
        Stack_Cancel();
        SetStep(dialog, STEP_FUSING); // ends as cancelled on a later tick
    }
    if (d.step == STEP_TAKING) {
        if (d.mode == MODE_SHARPNESS)
            Offer(dialog);
        else if (d.mode == MODE_CLICKS && d.takeWanted)
            d.takeWanted = !Offer(dialog);
        else if (d.mode == MODE_DRIVE)
            DriveTick(dialog);
        if (Stack_Kept() >= STACK_MAX_FRAMES && d.step == STEP_TAKING)
            Stop(dialog);
    }
    if (d.step == STEP_FUSING && Stack_WaitEnded(0)) {
        Finished(dialog);
        return;
    }
    ShowCount(dialog);
}

static void Cancel(HWND dialog)
{
    if (gFocusStackDialog.step == STEP_IDLE) {
        EndDialog(dialog, IDCANCEL);
        return;
    }
    Stack_Cancel();
    SetStep(dialog, STEP_FUSING); // the next tick sees the worker end
}

static void OnCommand(HWND dialog, int command, int notification)
{
    FocusStackDialog &d = gFocusStackDialog;
    switch (command) {
    case IDOK:
        if (d.step == STEP_IDLE && Camera_IsOpen())
            Start(dialog);
        else if (d.step == STEP_TAKING)
            Stop(dialog);
        return;
    case IDCANCEL:
        Cancel(dialog);
        return;
    case IDC_STACK_TAKE:
        d.takeWanted = d.step == STEP_TAKING;
        return;
    case IDC_STACK_MODE:
        if (notification == CBN_SELCHANGE) {
            d.mode = (StackMode)SendDlgItemMessageW(dialog, IDC_STACK_MODE, CB_GETCURSEL, 0, 0);
            EnableControls(dialog);
        }
        return;
    }
}

static INT_PTR CALLBACK FocusStackDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInit(dialog);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_TIMER:
        OnTick(dialog);
        return TRUE;
    case WM_DESTROY:
        // Also when the main window goes with the window open.
        KillTimer(dialog, TAKE_TIMER);
        Stack_Cancel();
        Stack_WaitEnded(10000);
        Stack_Release();
        gFocusStackDialog = {};
        return TRUE;
    }
    return FALSE;
}

void FocusStackDlg_Show(HWND owner)
{
    DialogBoxParamW((HINSTANCE)gApp.instance, MAKEINTRESOURCEW(IDD_FOCUS_STACK), owner, FocusStackDlgProc, 0);
}
