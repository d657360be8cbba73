// The Time-lapse dialog: plans a series (interval, number of pictures,
// folder, format, video) and starts it; while one runs it shows how many
// pictures were taken and the time to the next, and stops it. Closing the
// dialog leaves the series running (reports/time_lapse_win.cpp).
#include "state/app_state.h"
#include "state/language.h"
#include "state/settings.h"
#include "base/text.h"
#include "dialogs/dialog_common_win.h"
#include "dialogs/dialogs_win.h"
#include "dialogs/time_lapse_ids.h"
#include "reports/time_lapse.h"

enum {
    STATE_TIMER = 89,
    STATE_PERIOD = 250,
    FIRST_UNIT_TEXT = 1402,
    START_TEXT = 1411,
    STOP_TEXT = 1412,
    TAKEN_TEXT = 1414,
    NEXT_TEXT = 1415,
    BROWSE_TITLE_TEXT = 1416,
    PLAN_REFUSED_TEXT = 1424,
};

static const DialogText kTexts[] = {
    {0, 1400},          {IDC_TL_EVERY_LABEL, 1401},  {IDC_TL_COUNT_LABEL, 1405}, {IDC_TL_UNTIL_STOPPED, 1406},
    {IDC_TL_FOLDER_LABEL, 1407}, {IDC_TL_FORMAT_LABEL, 1408}, {IDC_TL_VIDEO, 1409},   {IDC_TL_RATE_LABEL, 1410},
    {IDOK, START_TEXT}, {IDCANCEL, 1413}};

// A plan refused: the lines say why until the next start.
static bool gPlanRefused;

// The controls of the plan, which a running series keeps as they are.
static const int kPlanControls[] = {IDC_TL_NUMBER, IDC_TL_UNIT,   IDC_TL_COUNT, IDC_TL_UNTIL_STOPPED, IDC_TL_FOLDER,
                                    IDC_TL_BROWSE, IDC_TL_FORMAT, IDC_TL_VIDEO, IDC_TL_RATE};

static bool Checked(HWND dialog, int box)
{
    return IsDlgButtonChecked(dialog, box) == BST_CHECKED;
}

static void ShowPlan(HWND dialog)
{
    int32_t number, unit;
    TimeLapse_SplitSeconds(gSettings.timeLapseSeconds, &number, &unit);
    SetDlgItemInt(dialog, IDC_TL_NUMBER, (UINT)number, FALSE);
    for (int i = 0; i < TIME_LAPSE_UNITS; i++)
        SendDlgItemMessageW(dialog, IDC_TL_UNIT, CB_ADDSTRING, 0, (LPARAM)Language_Text(FIRST_UNIT_TEXT + i));
    SendDlgItemMessageW(dialog, IDC_TL_UNIT, CB_SETCURSEL, unit, 0);
    bool untilStopped = gSettings.timeLapseCount == 0;
    SetDlgItemInt(dialog, IDC_TL_COUNT, untilStopped ? 10 : (UINT)gSettings.timeLapseCount, FALSE);
    CheckDlgButton(dialog, IDC_TL_UNTIL_STOPPED, untilStopped ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessageW(dialog, IDC_TL_FOLDER, EM_LIMITTEXT, IMAGE_FOLDER_CAPACITY - 1, 0);
    SetDlgItemTextW(dialog, IDC_TL_FOLDER,
                    gSettings.timeLapseFolder[0] ? gSettings.timeLapseFolder : gSettings.imageFolder);
    for (const wchar_t *format : {L" JPG", L" PNG", L" TIFF"})
        SendDlgItemMessageW(dialog, IDC_TL_FORMAT, CB_ADDSTRING, 0, (LPARAM)format);
    SendDlgItemMessageW(dialog, IDC_TL_FORMAT, CB_SETCURSEL, gSettings.timeLapseFormat, 0);
    CheckDlgButton(dialog, IDC_TL_VIDEO, gSettings.timeLapseVideo ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemInt(dialog, IDC_TL_RATE, (UINT)gSettings.timeLapseRate, FALSE);
}

// The state of the series: the count, the time to the next picture, the
// button's Start or Stop, the plan's controls usable only between series.
static void ShowState(HWND dialog)
{
    bool running = gTimeLapse.running;
    for (int control : kPlanControls) {
        bool usable = !running && (control != IDC_TL_COUNT || !Checked(dialog, IDC_TL_UNTIL_STOPPED)) &&
                      (control != IDC_TL_RATE || Checked(dialog, IDC_TL_VIDEO));
        EnableWindow(GetDlgItem(dialog, control), usable);
    }
    SetDlgItemTextW(dialog, IDOK, Language_Text(running ? STOP_TEXT : START_TEXT));
    if (!running && (gTimeLapse.folder[0] == 0 || gPlanRefused))
        return; // no series yet, or a plan refused: the lines stay as they are
    wchar_t count[128], text[256];
    TimeLapse_CountText(count, 128, gTimeLapse);
    Language_Message(text, 256, TAKEN_TEXT, L"Taken: %s", count);
    SetDlgItemTextW(dialog, IDC_TL_TAKEN, text);
    text[0] = 0;
    if (running) {
        wchar_t next[32];
        TimeLapse_DurationText(next, 32, TimeLapse_SecondsToNext(gTimeLapse, Clock_Precise()));
        Language_Message(text, 256, NEXT_TEXT, L"Next picture in %s", next);
    }
    SetDlgItemTextW(dialog, IDC_TL_NEXT, text);
}

static int32_t Number(HWND dialog, int edit)
{
    BOOL read = FALSE;
    UINT value = GetDlgItemInt(dialog, edit, &read, FALSE);
    return read && value <= 0x7FFFFFFF ? (int32_t)value : -1;
}

// The plan from the controls into the settings; false (and why, in the
// dialog) when a number lies outside its range.
static bool ReadPlan(HWND dialog)
{
    int32_t unit = (int32_t)SendDlgItemMessageW(dialog, IDC_TL_UNIT, CB_GETCURSEL, 0, 0);
    int32_t seconds = TimeLapse_Seconds(Number(dialog, IDC_TL_NUMBER), unit);
    bool untilStopped = Checked(dialog, IDC_TL_UNTIL_STOPPED), video = Checked(dialog, IDC_TL_VIDEO);
    int32_t count = untilStopped ? 0 : Number(dialog, IDC_TL_COUNT), rate = Number(dialog, IDC_TL_RATE);
    if (seconds == 0 || (!untilStopped && (count < 1 || count > TIME_LAPSE_MAX_PICTURES)) ||
        (video && (rate < 1 || rate > TIME_LAPSE_MAX_RATE))) {
        SetDlgItemTextW(dialog, IDC_TL_TAKEN, Language_Text(PLAN_REFUSED_TEXT));
        SetDlgItemTextW(dialog, IDC_TL_NEXT, L"");
        gPlanRefused = true;
        return false;
    }
    gPlanRefused = false;
    gSettings.timeLapseSeconds = seconds;
    gSettings.timeLapseCount = count;
    gSettings.timeLapseVideo = video;
    if (video)
        gSettings.timeLapseRate = rate;
    gSettings.timeLapseFormat = (int32_t)SendDlgItemMessageW(dialog, IDC_TL_FORMAT, CB_GETCURSEL, 0, 0);
    // The image folder itself is kept as "the image folder", so that the
    // series follow it when it changes.
    wchar_t folder[IMAGE_FOLDER_CAPACITY];
    GetDlgItemTextW(dialog, IDC_TL_FOLDER, folder, IMAGE_FOLDER_CAPACITY);
    if (Text_Equal(folder, gSettings.imageFolder))
        folder[0] = 0;
    Text_Copy(gSettings.timeLapseFolder, IMAGE_FOLDER_CAPACITY, folder);
    Settings_Save();
    return true;
}

static void OnStartOrStop(HWND dialog)
{
    if (gTimeLapse.running)
        TimeLapse_Stop(true);
    else if (ReadPlan(dialog))
        TimeLapse_Start();
    ShowState(dialog);
}

static INT_PTR CALLBACK TimeLapseDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        Dialog_ApplyTexts(dialog, kTexts, ARRAYSIZE(kTexts));
        Dialog_Place(dialog, PLACE_BELOW_TOP);
        gPlanRefused = false;
        ShowPlan(dialog);
        ShowState(dialog);
        SetTimer(dialog, STATE_TIMER, STATE_PERIOD, nullptr);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            OnStartOrStop(dialog);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IDC_TL_BROWSE:
            Dialog_BrowseFolder(dialog, IDC_TL_FOLDER, BROWSE_TITLE_TEXT);
            return TRUE;
        case IDC_TL_UNTIL_STOPPED:
        case IDC_TL_VIDEO:
            ShowState(dialog);
            return TRUE;
        }
        return FALSE;
    case WM_TIMER:
        ShowState(dialog);
        return TRUE;
    case WM_DESTROY:
        KillTimer(dialog, STATE_TIMER);
        return TRUE;
    }
    return FALSE;
}

void TimeLapseDlg_Show(HWND owner)
{
    DialogBoxParamW((HINSTANCE)gApp.instance, MAKEINTRESOURCEW(IDD_TIME_LAPSE), owner, TimeLapseDlgProc, 0);
}
