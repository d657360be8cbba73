// App_Run: the platform services in order, the window classes, the settings,
// the main window and the message loop; shut-down in reverse order.
#include "app/app_win.h"

#include "state/app_state.h"
#include "base/gdiplus_win.h"
#include "app/mainwnd_logic.h"
#include "app/mainwnd_win.h"
#include "state/message_routing_win.h"
#include "app/prompt_win.h"
#include "panel/panel_win.h"
#include "view/view_win.h"
#include "state/language.h"
#include "state/settings.h"
#include "base/text.h"
#include "capture/formats.h"
#include "record/mf_runtime_win.h"
#include "reports/picture_open_win.h"
#include "res/resource.h"

#include <commctrl.h>
#include <cstdlib>
#include <cstring>

static void CopyClassId(ClassId *field, const CLSID &id)
{
    static_assert(sizeof(ClassId) == sizeof(CLSID), "class id layout");
    memcpy(field, &id, sizeof id);
}

bool Encoders_Find()
{
    UINT count = 0, size = 0;
    if (Gdip::GdipGetImageEncodersSize(&count, &size) != Gdiplus::Ok || count == 0 || size == 0)
        return false;
    auto *encoders = (Gdiplus::ImageCodecInfo *)malloc(size);
    if (!encoders)
        return false;
    if (Gdip::GdipGetImageEncoders(count, size, encoders) == Gdiplus::Ok) {
        for (UINT i = 0; i < count; i++) {
            const wchar_t *mime = encoders[i].MimeType;
            if (!mime)
                continue;
            if (wcscmp(mime, L"image/jpeg") == 0)
                CopyClassId(&gApp.jpegEncoder, encoders[i].Clsid);
            else if (wcscmp(mime, L"image/bmp") == 0)
                CopyClassId(&gApp.bmpEncoder, encoders[i].Clsid);
            else if (wcscmp(mime, L"image/png") == 0)
                CopyClassId(&gApp.pngEncoder, encoders[i].Clsid);
        }
    }
    free(encoders);
    return true;
}

struct WindowClass {
    const wchar_t *name;
    UINT style;
    HBRUSH background;
    bool icon;
    WNDPROC proc;
};

void App_RegisterClasses(HINSTANCE instance)
{
    const WindowClass classes[] = {
        {L"QuorellWndClass", 0, (HBRUSH)(COLOR_WINDOW + 1), true, MainWnd_Proc},
        {L"CameraWndClass", CS_DBLCLKS, (HBRUSH)GetStockObject(LTGRAY_BRUSH), false, CameraWnd_Proc},
        {L"PromptWndClass", 0, CreateSolidBrush(RGB(255, 250, 205)), false, Prompt_Proc},
        {L"CtrlPanelWndClass", 0, (HBRUSH)(COLOR_BTNFACE + 1), false, Panel_Proc},
        {L"CtrlPanelHeaderWndClass", CS_HREDRAW, (HBRUSH)(COLOR_BTNFACE + 1), false, PanelHeader_Proc},
        {L"CtrlPanelSourceWndClass", CS_HREDRAW, (HBRUSH)(COLOR_BTNFACE + 1), false, SourceSection_Proc},
        {L"CtrlPanelColorWndClass", CS_HREDRAW, (HBRUSH)(COLOR_BTNFACE + 1), false, ColorSection_Proc},
        {L"CtrlPanelFlipWndClass", CS_HREDRAW, (HBRUSH)(COLOR_BTNFACE + 1), false, FlipSection_Proc},
        {L"CtrlPanelReportWndClass", CS_HREDRAW, (HBRUSH)(COLOR_BTNFACE + 1), false, ReportSection_Proc},
    };
    for (const WindowClass &c : classes) {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof wc;
        wc.style = c.style;
        wc.lpfnWndProc = c.proc;
        wc.cbWndExtra = c.proc == MainWnd_Proc ? 0 : sizeof(void *);
        wc.hInstance = instance;
        wc.hIcon = c.icon ? LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP)) : nullptr;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = c.background;
        wc.lpszClassName = c.name;
        RegisterClassExW(&wc);
    }
}

static void StartCommonControls()
{
    INITCOMMONCONTROLSEX icc = {sizeof icc,
                                ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES |
                                    ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_DATE_CLASSES |
                                    ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES | ICC_LINK_CLASS | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
}

// Tells the user why the program cannot start: text textId with the error
// in place of its %s.
static void TellStartFailure(int textId, const wchar_t *english, const wchar_t *error)
{
    // A main window that failed has posted the quit message as it was
    // destroyed; left in the queue, it would close the message box at once.
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    wchar_t text[512];
    Language_Message(text, 512, textId, english, error);
    MessageBoxW(nullptr, text, L"Quorell", MB_OK | MB_ICONERROR);
}

// What App_Run has started, for the one shut-down.
struct Services {
    bool com;
    ULONG_PTR gdiplusToken; // 0: GDI+ not started
};

static bool StartServices(Services *started)
{
    wchar_t error[16];
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(com)) {
        Text_Format(error, 16, L"0x%08lX", (unsigned long)com);
        TellStartFailure(1320, L"Quorell could not start: COM could not be initialised (error %s).", error);
        return false;
    }
    started->com = true;
    // Without Media Foundation (its DLLs missing, or its start failing) the
    // program runs without recording.
    MediaFoundation_Start();
    Gdiplus::GdiplusStartupInput gdiplusInput;
    Gdiplus::Status gdiplus = Gdiplus::GdiplusStartup(&started->gdiplusToken, &gdiplusInput, nullptr);
    if (gdiplus != Gdiplus::Ok) {
        started->gdiplusToken = 0;
        Text_Format(error, 16, L"%d", (int)gdiplus);
        TellStartFailure(1321, L"Quorell could not start: GDI+ could not be started (error %s).", error);
        return false;
    }
    StartCommonControls();
    LoadLibraryW(L"Msftedit.dll");
    Encoders_Find();
    return true;
}

static void StopServices(const Services &started)
{
    if (started.gdiplusToken)
        Gdiplus::GdiplusShutdown(started.gdiplusToken);
    MediaFoundation_Stop();
    if (started.com)
        CoUninitialize();
}

// Creates the main window and runs the message loop; the quit message's
// exit code, or APP_START_FAILED when there is no main window.
static int RunMainWindow(HINSTANCE instance, const wchar_t *commandLine)
{
    App_RegisterClasses(instance);
    if (gSettings.captureWidth != 0 && gSettings.captureHeight != 0)
        gRequestedFormat = {kSubtypeMjpg, gSettings.captureWidth, gSettings.captureHeight};
    gApp.instance = instance;

    HWND main = MainWnd_Create(instance);
    if (!main) {
        wchar_t error[16];
        Text_Format(error, 16, L"%lu", GetLastError());
        TellStartFailure(1322, L"Quorell could not start: its main window could not be created (error %s).", error);
        return APP_START_FAILED;
    }
    ShowWindow(main, SW_SHOWMAXIMIZED);
    UpdateWindow(main);
    // A picture named on the command line ("Open with") opens at once, before
    // the view opens a camera by itself.
    wchar_t picture[PATH_CAPACITY];
    if (CommandLine_Path(commandLine, picture, PATH_CAPACITY))
        Picture_Open(picture);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        App_DispatchMessage(&msg);
    return (int)msg.wParam;
}

int App_Run(HINSTANCE instance, const wchar_t *commandLine, int)
{
    HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
    // The settings first: their language texts tell the user when a
    // service below fails. Loading them needs none of those services.
    Settings_Load();
    Services started = {};
    int exitCode = StartServices(&started) ? RunMainWindow(instance, commandLine) : APP_START_FAILED;
    StopServices(started);
    return exitCode;
}
