// The Recording dialog: starts and stops a recording of the live picture,
// shows the time recorded, ends at the time limit and splits into files,
// and takes snapshots meanwhile (it holds the main window).
#include "state/app_state.h"
#include "state/language.h"
#include "state/prompt.h"
#include "state/settings.h"
#include "base/clock.h"
#include "base/platform.h"
#include "base/scoped_win.h"
#include "base/text.h"
#include "capture/camera_graph.h"
#include "dialogs/dialog_common_win.h"
#include "dialogs/dialogs_win.h"
#include "dialogs/recording.h"
#include "dialogs/recording_ids.h"
#include "record/recorder.h"
#include "record/recorder_state.h"
#include "reports/snapshot.h"

#include <cstring>

enum {
    ELAPSED_TIMER = 88,
    ELAPSED_PERIOD = 100,
    START_TEXT = 1184,
    STOP_TEXT = 1185,
    FIRST_LIMIT_TEXT = 1191,
    FIRST_SPLIT_TEXT = 1211,
};

static const DialogText kTexts[] = {{0, 1181},
                                     {IDC_RECORD_LIMIT_LABEL, 1182},
                                     {IDC_RECORD_SPLIT_LABEL, 1183},
                                     {IDOK, START_TEXT},
                                     {IDC_RECORD_SNAPSHOT, 1425}};

// The one Recording dialog (it is modal).
struct RecordingDialog {
    HFONT elapsedFont;
    bool ending;    // closed while a stop was waiting: no new file
    bool recording; // a file of this dialog's is being recorded
};
static RecordingDialog gRecordingDialog;

// The static's own font with the Courier face, as tall as the static allows.
static HFONT CreateElapsedFont(HWND dialog)
{
    HWND label = GetDlgItem(dialog, IDC_RECORD_ELAPSED);
    HFONT own = (HFONT)SendMessageW(label, WM_GETFONT, 0, 0);
    LOGFONTW font = {};
    if (!GetObjectW(own ? own : GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font))
        return nullptr;
    RECT r = {};
    GetClientRect(label, &r);
    ScopedWindowDC dc(label);
    if (!dc)
        return nullptr;
    font.lfHeight = 10 - MulDiv(r.bottom - r.top, GetDeviceCaps(dc.Get(), LOGPIXELSY), 72);
    lstrcpynW(font.lfFaceName, L"Courier", LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

static void FillList(HWND dialog, int list, int firstText, int count, int selection)
{
    for (int i = 0; i < count; i++)
        SendDlgItemMessageW(dialog, list, CB_ADDSTRING, 0, (LPARAM)Language_Text(firstText + i));
    SendDlgItemMessageW(dialog, list, CB_SETCURSEL, selection, 0);
}

static int Selection(HWND dialog, int list)
{
    return (int)SendDlgItemMessageW(dialog, list, CB_GETCURSEL, 0, 0);
}

static void OnInit(HWND dialog)
{
    Dialog_ApplyTexts(dialog, kTexts, ARRAYSIZE(kTexts));
    Dialog_Place(dialog, PLACE_BELOW_TOP);
    gRecordingDialog = {};
    gRecordingDialog.elapsedFont = CreateElapsedFont(dialog);
    if (gRecordingDialog.elapsedFont)
        SendDlgItemMessageW(dialog, IDC_RECORD_ELAPSED, WM_SETFONT, (WPARAM)gRecordingDialog.elapsedFont, FALSE);
    FillList(dialog, IDC_RECORD_LIMIT, FIRST_LIMIT_TEXT, RECORD_LIMIT_COUNT,
             Recording_LimitIndex(gSettings.maxRecordTime));
    FillList(dialog, IDC_RECORD_SPLIT, FIRST_SPLIT_TEXT, RECORD_SPLIT_COUNT, 0);
    gSettings.recordSplit = 0;
    gRecorder.useH264 = gSettings.videoFormat;
}

// The writers' statuses: Media Foundation's are HRESULTs, the fallback
// writer's C library error numbers (negated) or tags of its own.
static void DescribeStatus(int32_t status, wchar_t *text, size_t capacity)
{
    if (status < 0 && status > -4096) {
        Text_Copy(text, capacity, _wcserror(-status));
        return;
    }
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                  (DWORD)status, 0, text, (DWORD)capacity, nullptr);
    while (length > 0 && (text[length - 1] == L'\n' || text[length - 1] == L'\r' || text[length - 1] == L'.'))
        text[--length] = 0;
    if (length == 0)
        Text_Format(text, capacity, L"error 0x%08X", (unsigned)status);
}

// Where a prompt goes just below the dialog, which would hide it at its
// usual place: pixels below the main window's client top.
static int PromptBelow(HWND dialog)
{
    RECT r = {};
    GetWindowRect(dialog, &r);
    POINT below = {r.left, r.bottom};
    ScreenToClient(gApp.mainWindow, &below);
    return below.y + 8;
}

// "<file> (<why>)" in a prompt just below the dialog.
static void ShowFailure(HWND dialog, int32_t status, void (*show)(const wchar_t *, int))
{
    wchar_t why[256], reason[PROMPT_TEXT_CAPACITY];
    DescribeStatus(status, why, ARRAYSIZE(why));
    Text_Format(reason, ARRAYSIZE(reason), L"%ls (%ls)", gRecorder.path, why);
    show(reason, PromptBelow(dialog));
}

static void ShowStartFailure(HWND dialog)
{
    ShowFailure(dialog, gRecorder.startStatus, Prompt_ShowRecordFailure);
}

// A new file named by the time now; one started in the same second keeps
// its file, and this one takes the next free suffix.
static bool StartFile(HWND dialog)
{
    LocalTime now;
    Clock_LocalTime(&now);
    gRecordingDialog.recording = false;
    if (!Recording_FileName(gRecorder.path, PATH_CAPACITY, gSettings.imageFolder, now, gSettings.videoFormat))
        gRecorder.startStatus = HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    else if (!File_MakeNameFree(gRecorder.path, PATH_CAPACITY))
        gRecorder.startStatus = HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
    else if (Camera_SartRecord()) {
        gRecordingDialog.recording = true;
        return true;
    }
    ShowStartFailure(dialog);
    return false;
}

// Stops the recording; a file that could not be written on or finished is
// told below the dialog, once. False when it was.
static bool StopRecording(HWND dialog)
{
    Camera_StopRecord();
    gRecordingDialog.recording = false;
    int32_t status = gRecorder.writeStatus;
    if (status >= 0)
        return true;
    gRecorder.writeStatus = 0;
    ShowFailure(dialog, status, Prompt_ShowSaveFailureAt);
    return false;
}

// Returns whether the file (if any) was finished without a failure to tell.
static bool End(HWND dialog, int result)
{
    gRecordingDialog.ending = true;
    bool finished = StopRecording(dialog);
    KillTimer(dialog, ELAPSED_TIMER);
    EndDialog(dialog, result);
    return finished;
}

// Start keeps its text when no recording could be started, so that the
// button never offers to stop what does not run.
static void Start(HWND dialog)
{
    gSettings.maxRecordTime = Recording_LimitAt(Selection(dialog, IDC_RECORD_LIMIT));
    gSettings.recordSplit = Recording_SplitAt(Selection(dialog, IDC_RECORD_SPLIT));
    Settings_Save();
    SetTimer(dialog, ELAPSED_TIMER, ELAPSED_PERIOD, nullptr);
    Recorder_ResetTimeline();
    if (!StartFile(dialog))
        return;
    SetDlgItemTextW(dialog, IDOK, Language_Text(STOP_TEXT));
    // Space presses the focused button: on Snapshot it takes a picture, as
    // Space does in the main window, where on Stop it would end the recording.
    SendMessageW(dialog, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dialog, IDC_RECORD_SNAPSHOT), TRUE);
}

static void Split(HWND dialog)
{
    if (!gRecorder.recording)
        return;
    StopRecording(dialog);
    if (!gRecordingDialog.ending && !StartFile(dialog))
        SetDlgItemTextW(dialog, IDOK, Language_Text(START_TEXT));
}

// The file could not be written on (a full disk, a vanished folder): the
// recording ends with the part written so far, and the dialog offers a new start.
static void StopAfterFailedWrite(HWND dialog)
{
    StopRecording(dialog);
    SetDlgItemTextW(dialog, IDOK, Language_Text(START_TEXT));
}

static void OnTick(HWND dialog)
{
    if (!Camera_IsOpen()) {
        // The camera is gone, and its recording ended with it: the dialog
        // closes, so the prompt says where the file is.
        bool recorded = gRecordingDialog.recording;
        if (End(dialog, IDCANCEL) && recorded)
            Prompt_ShowRecordingLost(gRecorder.path);
        return;
    }
    if (gRecorder.recording && gRecorder.writeStatus < 0) {
        StopAfterFailedWrite(dialog);
        return;
    }
    int64_t total = gRecorder.totalDuration;
    if (!gRecorder.recording || total <= 0)
        return;
    RecordingTick tick = Recording_Tick(total, gRecorder.sampleTime, gSettings.maxRecordTime, gSettings.recordSplit);
    if (tick == TICK_CLOSE)
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    else if (tick == TICK_SPLIT)
        PostMessageW(dialog, WM_COMMAND, IDC_RECORD_SPLIT_NOW, 0);
    wchar_t text[32];
    Recording_ElapsedText(total / 10000, text, ARRAYSIZE(text));
    SetDlgItemTextW(dialog, IDC_RECORD_ELAPSED, text);
}

static void OnCommand(HWND dialog, int command, int notification)
{
    switch (command) {
    case IDOK:
        // Pressed while a split waits for its file to be finished: the split decides.
        if (Camera_RecordStopping())
            return;
        if (gRecorder.recording)
            End(dialog, IDOK);
        else if (Camera_IsOpen())
            Start(dialog);
        else
            End(dialog, IDCANCEL);
        return;
    case IDCANCEL:
        End(dialog, IDCANCEL);
        return;
    case IDC_RECORD_SPLIT_NOW:
        Split(dialog);
        return;
    case IDC_RECORD_SNAPSHOT:
        // The view is composed on this thread; the recording thread goes on
        // writing the frames the streaming thread queues meanwhile.
        Snapshot_TakeAnnouncedAt(PromptBelow(dialog));
        return;
    case IDC_RECORD_LIMIT:
        if (notification == CBN_SELCHANGE)
            gSettings.maxRecordTime = Recording_LimitAt(Selection(dialog, IDC_RECORD_LIMIT));
        return;
    case IDC_RECORD_SPLIT:
        if (notification == CBN_SELCHANGE)
            gSettings.recordSplit = Recording_SplitAt(Selection(dialog, IDC_RECORD_SPLIT));
        return;
    }
}

static INT_PTR CALLBACK RecordingDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
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
        // Also when the main window goes with the dialog open: the file is
        // finished before the camera is let go.
        Camera_StopRecord();
        KillTimer(dialog, ELAPSED_TIMER);
        if (gRecordingDialog.elapsedFont)
            DeleteObject(gRecordingDialog.elapsedFont);
        gRecordingDialog.elapsedFont = nullptr;
        return TRUE;
    }
    return FALSE;
}

void RecordingDlg_Show(HWND owner)
{
    DialogBoxParamW((HINSTANCE)gApp.instance, MAKEINTRESOURCEW(IDD_RECORDING), owner, RecordingDlgProc, 0);
}
