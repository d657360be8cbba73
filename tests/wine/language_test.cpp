// Language files read through the Win32 file API from the program's folder,
// and the switch between the ten shipped languages as a person makes it.
#include "state/app_state.h"
#include "state/language.h"
#include "state/settings.h"
#include "base/commands.h"
#include "base/text.h"
#include "debug_capture.h"
#include "modal_dialog.h"
#include "program_harness.h"
#include "wine_support.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace {

std::wstring ProgramFolder()
{
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder = exe;
    return folder.substr(0, folder.rfind(L'\\'));
}

TEST(LanguageFiles, TheShippedEnglishFileLoads)
{
    DebugCapture debug;
    Text_Copy(gApp.moduleFolder, PATH_CAPACITY, ProgramFolder().c_str());
    gSettings.language = 0;
    Language_Load();
    EXPECT_STREQ(Language_Text(1009), L"Snapshot (Space)");
    EXPECT_STREQ(Language_Text(1228), L" Input text, drag to move. ");
    EXPECT_STREQ(Language_Text(2001), L"\u03bcm");
    EXPECT_TRUE(debug.Contains(L"read: " + std::to_wstring(gLanguageTexts.size()) + L", 0\r\n"));
}

// The selected language's own file, and no texts while it is missing or
// cannot be read (parsing itself is tested on the host).
TEST(LanguageFiles, AMissingOrUnreadableFileLeavesEveryTextEmpty)
{
    ScratchFolder folder(L"language-files");
    Text_Copy(gApp.moduleFolder, PATH_CAPACITY, folder.path.c_str());
    gSettings.language = 9;
    Language_Load();
    EXPECT_STREQ(Language_Text(1009), L"");
    // A file held open without read sharing cannot be read: treated as absent.
    std::wstring korean = folder.path + L"\\Korean.ini";
    File_WriteBytes(korean, u"1009=x\r\n", 16);
    HANDLE locked = CreateFileW(korean.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Language_Load();
    EXPECT_STREQ(Language_Text(1009), L"");
    CloseHandle(locked);
    Language_Load();
    EXPECT_STREQ(Language_Text(1009), L"x");
}

// The popup menu of this process on the screen, or null after the timeout.
HWND WaitForPopupMenu(DWORD timeout = 5000)
{
    for (DWORD waited = 0; waited < timeout; waited += 20) {
        HWND menu = FindWindowW(L"#32768", nullptr);
        DWORD process = 0;
        GetWindowThreadProcessId(menu, &process);
        if (menu && IsWindowVisible(menu) && process == GetCurrentProcessId())
            return menu;
        Sleep(20);
    }
    return nullptr;
}

// Opens the language menu with the toolbar button and picks item `index`
// with the keyboard, as a person can, leaving a screenshot of the open menu
// when given a name; a menu still open after that is cancelled, so a failed
// pick cannot hang the test.
void ChooseLanguage(const ProgramHarness &program, int index, const wchar_t *screenshot = nullptr)
{
    std::thread keys([index, screenshot] {
        HWND menu = WaitForPopupMenu();
        if (!menu)
            return;
        if (screenshot) {
            Sleep(200); // lets the menu finish painting
            Window_Screenshot(menu, screenshot);
        }
        PostMessageW(menu, WM_KEYDOWN, VK_HOME, 0);
        for (int i = 0; i < index; i++)
            PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(menu, WM_CHAR, L'\r', 0);
        for (int waited = 0; waited < 3000 && IsWindowVisible(menu); waited += 20)
            Sleep(20);
        if (IsWindowVisible(menu))
            PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    program.Click(CMD_LANGUAGE_MENU);
    keys.join();
    program.Run(200); // the panel fetches its texts on a posted command
}

std::wstring WindowText(HWND window)
{
    wchar_t text[128] = L"";
    GetWindowTextW(window, text, 128);
    return text;
}

std::wstring TooltipOf(const ProgramHarness &program, int command)
{
    NMTTDISPINFOW info = {};
    info.hdr.code = TTN_GETDISPINFOW;
    info.hdr.idFrom = command;
    info.hdr.hwndFrom = gApp.toolbar;
    SendMessageW(program.main, WM_NOTIFY, 0, (LPARAM)&info);
    return info.szText;
}

// A person picks each of the ten languages from the toolbar's menu, the
// languages after English first and English last: the choice is stored, the
// panel and the tooltips change at once, and the next dialog opened speaks the
// language. Leaves language-<name>-main.png (every panel section open),
// language-<name>-preferences.png and language-menu.png in screenshots/ for a
// person to read.
TEST(LanguageMenu, EachLanguageReachesThePanelTheTooltipsAndTheNextDialog)
{
    ProgramHarness program;
    ASSERT_TRUE(program.StartCamera());
    for (int section : {102, 103, 104}) // Color, Flip and effects, Report; Source is open
        SendMessageW(GetDlgItem(gApp.controlPanel, section), WM_SECTION_TOGGLE, 0, 0);
    HWND source = GetDlgItem(gApp.controlPanel, 100);
    for (int step = 1; step <= SHIPPED_LANGUAGES; step++) {
        int language = step % SHIPPED_LANGUAGES;
        std::wstring name = Language_FileName(language);
        name = name.substr(0, name.find(L'.'));
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        ChooseLanguage(program, language, step == 1 ? L"language-menu" : nullptr);
        ASSERT_EQ(gSettings.language, language);
        DWORD stored = 99;
        EXPECT_TRUE(Registry_GetNumber(L"Language", &stored) && stored == (DWORD)language);

        std::wstring snapshot = Language_Text(1046), caption = Language_Text(1141), ruler = Language_Text(1143);
        EXPECT_EQ(snapshot == L"Snapshot", language == 0);
        EXPECT_EQ(WindowText(GetDlgItem(source, 109)), snapshot);
        EXPECT_EQ(WindowText(GetDlgItem(source, 100)), Language_Text(1041)) << "the section's header";
        EXPECT_EQ(TooltipOf(program, CMD_SNAPSHOT), Language_Text(1009));
        program.Run(300);
        EXPECT_TRUE(program.Screenshot((L"language-" + name + L"-main").c_str()));

        std::wstring shownRuler;
        Modal_Run([&] { program.Click(CMD_PREFERENCES); },
                  [&] {
                      HWND dialog = Dialog_WaitFor(caption.c_str());
                      shownRuler = Dialog_Text(dialog, 102);
                      Sleep(300); // lets the dialog finish painting
                      Window_Screenshot(dialog, (L"language-" + name + L"-preferences").c_str());
                      Dialog_Press(dialog, IDCANCEL);
                  });
        EXPECT_EQ(shownRuler, ruler);
    }
}

} // namespace
