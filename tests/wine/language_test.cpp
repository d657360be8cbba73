// Language files read through the Win32 file API from the program's folder.
#include "app/app_state.h"
#include "app/language.h"
#include "app/settings.h"
#include "base/text.h"
#include "debug_capture.h"
#include "wine_support.h"

#include <gtest/gtest.h>
#include <string>

namespace {

struct LanguageFiles : testing::Test {
    std::wstring folder;
    void SetUp() override
    {
        wchar_t exe[MAX_PATH];
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        folder = exe;
        folder = folder.substr(0, folder.rfind(L'\\'));
        Text_Copy(gApp.moduleFolder, PATH_CAPACITY, folder.c_str());
    }
    void TearDown() override { DeleteFileW((folder + L"\\Korean.ini").c_str()); }

    void WriteKorean(const std::u16string &text)
    {
        File_WriteBytes(folder + L"\\Korean.ini", text.data(), text.size() * 2);
    }
};

TEST_F(LanguageFiles, TheShippedEnglishFileIsUtf16LeWithCrLfAndLoads)
{
    DebugCapture debug;
    gSettings.language = 0;
    Language_Load();
    EXPECT_STREQ(Language_Text(1009), L"Snapshot (Space)");
    EXPECT_STREQ(Language_Text(1228), L" Input text, drag to move. ");
    EXPECT_STREQ(Language_Text(2001), L"\u03bcm");
    EXPECT_TRUE(debug.Contains(L"read: " + std::to_wstring(gLanguageTexts.size()) + L", 0\r\n"));

    HANDLE file = CreateFileW((folder + L"\\English.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    unsigned char head[8] = {};
    DWORD read = 0;
    ReadFile(file, head, 8, &read, nullptr);
    CloseHandle(file);
    EXPECT_NE(head[0], 0xFF); // no byte-order mark
    EXPECT_EQ(head[1], 0);    // little-endian ASCII digit
    EXPECT_EQ(head[0], '1');
}

// The selected language's own file, and no texts while it is missing or
// cannot be read (parsing itself is tested on the host).
TEST_F(LanguageFiles, AMissingOrUnreadableFileLeavesEveryTextEmpty)
{
    gSettings.language = 9; // no Korean.ini
    Language_Load();
    EXPECT_STREQ(Language_Text(1009), L"");
    // A file held open without read sharing cannot be read: treated as absent.
    WriteKorean(u"1009=x\r\n");
    HANDLE locked = CreateFileW((folder + L"\\Korean.ini").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    Language_Load();
    EXPECT_STREQ(Language_Text(1009), L"");
    CloseHandle(locked);
    Language_Load();
    EXPECT_STREQ(Language_Text(1009), L"x");
}

} // namespace
