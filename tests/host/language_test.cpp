#include "state/app_state.h"
#include "base/commands.h"
#include "state/language.h"
#include "state/settings.h"
#include "support/fake_platform.h"
#include "view/view_state.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <gtest/gtest.h>
#include <set>
#include <sstream>

namespace {

// UTF-16LE bytes of a text given as UTF-16 code units.
std::vector<unsigned char> Utf16(const std::u16string &text)
{
    std::vector<unsigned char> bytes;
    for (char16_t unit : text) {
        bytes.push_back((unsigned char)(unit & 0xFF));
        bytes.push_back((unsigned char)(unit >> 8));
    }
    return bytes;
}

void Parse(const std::u16string &text)
{
    gLanguageTexts.clear();
    auto bytes = Utf16(text);
    Language_Parse(bytes.data(), bytes.size());
}

TEST(LanguageParse, FirstLineOfAnIdWinsAndAnIdWithoutDigitsIsZero)
{
    Parse(u"1009=Snapshot\r\nabc=x\r\n1009=Other\r\n");
    ASSERT_EQ(gLanguageTexts.size(), 2u);
    EXPECT_EQ(gLanguageTexts[1009], L"Snapshot");
    EXPECT_EQ(gLanguageTexts[0], L"x");
}

TEST(LanguageParse, ALastLineWithoutCrLfIsLost)
{
    Parse(u"1=one\r\n2=two");
    EXPECT_EQ(gLanguageTexts.size(), 1u);
    Parse(u"1=one\n2=two\n"); // bare line feeds do not end lines
    EXPECT_TRUE(gLanguageTexts.empty());
}

TEST(LanguageParse, TextsKeepTheirBlanksAndFurtherEqualsSigns)
{
    Parse(u"1001= Open \r\n  42x=a=b\r\nno equals sign\r\n\r\n7=\r\n");
    EXPECT_EQ(gLanguageTexts[1001], L" Open ");
    EXPECT_EQ(gLanguageTexts[42], L"a=b");
    EXPECT_EQ(gLanguageTexts[7], L"");
    EXPECT_EQ(gLanguageTexts.size(), 3u);
}

TEST(LanguageParse, AByteOrderMarkIsSkippedAndNonAsciiTextIsKept)
{
    Parse(u"\uFEFF1080=English\r\n1081=\u7b80\u4f53\u4e2d\u6587\r\n");
    EXPECT_EQ(gLanguageTexts[1080], L"English");
    EXPECT_EQ(gLanguageTexts[1081], L"\u7b80\u4f53\u4e2d\u6587");
}

TEST(LanguageParse, OddSizesAndHugeIdsAreHandled)
{
    auto bytes = Utf16(u"99999999999=big\r\n-5=neg\r\n");
    bytes.push_back('z'); // a stray odd byte at the end
    gLanguageTexts.clear();
    Language_Parse(bytes.data(), bytes.size());
    EXPECT_EQ(gLanguageTexts[INT32_MAX], L"big");
    EXPECT_EQ(gLanguageTexts[-5], L"neg");
    gLanguageTexts.clear();
    Language_Parse(nullptr, 0);
    EXPECT_TRUE(gLanguageTexts.empty());
}

TEST(LanguageText, AMissingIdYieldsAnEmptyTextAndIsAdded)
{
    gLanguageTexts.clear();
    EXPECT_STREQ(Language_Text(1234), L"");
    EXPECT_EQ(gLanguageTexts.count(1234), 1u);
}

TEST(LanguageFiles, EachIndexHasItsFile)
{
    EXPECT_STREQ(Language_FileName(0), L"English.ini");
    EXPECT_STREQ(Language_FileName(1), L"Chinese.ini");
    EXPECT_STREQ(Language_FileName(9), L"Korean.ini");
    EXPECT_STREQ(Language_FileName(10), L"English.ini");
    EXPECT_STREQ(Language_FileName(11), L"English.ini");
}

struct LanguageLoad : testing::Test {
    void SetUp() override
    {
        FakePlatform_Reset();
        memset(&gSettings, 0, sizeof gSettings);
        wcscpy(gApp.moduleFolder, L"C:\\Q");
    }
};

TEST_F(LanguageLoad, ReadsTheFileOfTheLanguageBesideTheProgramAndReports)
{
    gFake.files[L"C:\\Q\\Russian.ini"] = Utf16(u"1=\u0440\u0443\u0441\r\n2=b\r\n");
    gSettings.language = 2;
    gLanguageTexts[5] = L"stale";
    Language_Load();
    EXPECT_EQ(gLanguageTexts.size(), 2u);
    EXPECT_EQ(gFake.debugLines.back(), L"read: 2, 2\r\n");
}

TEST_F(LanguageLoad, AMissingOrOversizedFileLeavesTheTableEmpty)
{
    gLanguageTexts[5] = L"stale";
    Language_Load();
    EXPECT_TRUE(gLanguageTexts.empty());
    EXPECT_TRUE(gFake.debugLines.empty());
}

TEST_F(LanguageLoad, SelectingAnotherLanguageSavesReloadsAndTellsThePanelAndView)
{
    gFake.files[L"C:\\Q\\Chinese.ini"] = Utf16(u"1229=\u8bf7\u8fde\u63a5\r\n1228=\u8f93\u5165\r\n");
    Language_Select(1);
    EXPECT_EQ(gSettings.language, 1);
    EXPECT_EQ(gFake.numbers.at(L"Language"), 1);
    EXPECT_EQ(gFake.panelCommands, std::vector<int>{CMD_PANEL_TEXTS});
    EXPECT_STREQ(gView.placeholderText, L"\u8bf7\u8fde\u63a5");
    EXPECT_STREQ(gView.textPrompt, L"\u8f93\u5165");
}

TEST_F(LanguageLoad, SelectingTheLanguageInUseDoesNothing)
{
    gLanguageTexts[1] = L"kept";
    Language_Select(0);
    EXPECT_TRUE(gFake.numbers.empty());
    EXPECT_EQ(gLanguageTexts[1], L"kept");
    EXPECT_TRUE(gFake.panelCommands.empty());
}

// The text ids the windows, menus, dialogs and reports use.
const std::vector<std::pair<long, long>> kTextIdRanges = {
    {1001, 1029}, {1041, 1048}, {1062, 1062}, {1064, 1066}, {1081, 1089}, {1101, 1107},
    {1121, 1124}, {1141, 1153}, {1155, 1155}, {1161, 1166}, {1181, 1185}, {1191, 1201},
    {1211, 1214}, {1221, 1221}, {1223, 1224}, {1228, 1229}, {1231, 1234}, {1241, 1244},
    {1247, 1256}, {1265, 1266}, {1270, 1275}, {1280, 1284}, {1291, 1293}, {1301, 1302}, {1440, 1457},
    {1500, 1509},
    {1600, 1600}, {1700, 1701}, {2000, 2001},
};

// The ids of the tables above and every literal Language_Text(N) call in the
// product sources.
std::string UsedTextIds()
{
    std::ostringstream ids;
    for (auto [first, last] : kTextIdRanges)
        for (long id = first; id <= last; id++)
            ids << id << ' ';
    const std::regex call(R"(Language_Text\(\s*(\d+)\s*\))");
    for (const char *folder : {"app", "capture", "record", "view", "panel", "dialogs", "reports"}) {
        std::filesystem::path dir = std::filesystem::path(QUORELL_SOURCE_DIR) / folder;
        if (!std::filesystem::exists(dir))
            continue;
        for (const auto &entry : std::filesystem::directory_iterator(dir)) {
            std::ifstream file(entry.path());
            std::string code((std::istreambuf_iterator<char>(file)), {});
            for (std::sregex_iterator m(code.begin(), code.end(), call), end; m != end; ++m)
                ids << (*m)[1] << ' ';
        }
    }
    return ids.str();
}

// Every text id the program looks up (Language_Text(N) anywhere in the
// product code) must be in the shipped English file.
TEST(EnglishFile, HasALineForEveryTextIdTheProgramUses)
{
    std::ifstream english(QUORELL_SOURCE_DIR "/res/English.txt");
    ASSERT_TRUE(english.good());
    std::set<long> defined;
    std::string line;
    while (std::getline(english, line))
        if (!line.empty() && line[0] != '#')
            defined.insert(std::stol(line.substr(0, line.find('='))));

    std::set<long> used;
    std::istringstream sources(UsedTextIds());
    long id;
    while (sources >> id)
        used.insert(id);
    ASSERT_FALSE(used.empty());
    for (long u : used)
        EXPECT_TRUE(defined.count(u)) << "text id " << u << " is not in English.txt";
}

// One shipped language file as the program reads it: its lines in order.
struct ShippedFile {
    std::vector<std::pair<long, std::wstring>> lines;
    std::string fault; // what is wrong with the encoding, "" when nothing
};

ShippedFile ReadShipped(const wchar_t *name)
{
    ShippedFile file;
    std::filesystem::path path = std::filesystem::path(QUORELL_BINARY_DIR) / name;
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::wstring text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back((wchar_t)((unsigned char)bytes[i] | ((unsigned char)bytes[i + 1] << 8)));
    if (bytes.empty() || bytes.size() % 2)
        file.fault = "empty or of odd size";
    else if (text[0] == 0xFEFF)
        file.fault = "starts with a byte-order mark";
    else if (text.size() < 2 || text.compare(text.size() - 2, 2, L"\r\n") != 0)
        file.fault = "lacks the final line break";
    for (size_t at = 0, end; file.fault.empty() && at < text.size(); at = end + 2) {
        end = text.find(L"\r\n", at);
        std::wstring line = text.substr(at, end - at);
        if (line.find_first_of(L"\r\n") != std::wstring::npos)
            file.fault = "has a line not ended by CR LF";
        size_t equals = line.find(L'=');
        file.lines.push_back({std::wcstol(line.c_str(), nullptr, 10), line.substr(equals + 1)});
    }
    return file;
}

// The printf conversions of a text, in order.
std::vector<std::wstring> Conversions(const std::wstring &text)
{
    static const std::wregex conversion(LR"(%[-+#0]*[0-9*]*(\.[0-9*]+)?(hh|h|ll|l|L|z)?[diouxXeEfFgGcsSp%])");
    std::vector<std::wstring> found;
    for (std::wsregex_iterator m(text.begin(), text.end(), conversion), end; m != end; ++m)
        found.push_back(m->str());
    return found;
}

// Every language the program offers ships a file that has English's ids in
// English's order, a text wherever English has one and English's printf
// conversions in the same order, written as the program reads it.
TEST(LanguageFiles, EveryShippedFileMatchesEnglish)
{
    ShippedFile english = ReadShipped(Language_FileName(0));
    ASSERT_EQ(english.fault, "");
    ASSERT_GT(english.lines.size(), 100u);
    for (int language = 1; language <= 9; language++) {
        const wchar_t *name = Language_FileName(language);
        SCOPED_TRACE(std::filesystem::path(name).string());
        ShippedFile file = ReadShipped(name);
        ASSERT_EQ(file.fault, "");
        EXPECT_EQ(file.lines.size(), english.lines.size());
        for (size_t i = 0; i < english.lines.size() && i < file.lines.size(); i++) {
            const auto &[id, text] = file.lines[i];
            ASSERT_EQ(id, english.lines[i].first) << "line " << i + 1 << " has another id than English";
            EXPECT_FALSE(text.empty() && !english.lines[i].second.empty()) << "text " << id << " is empty";
            EXPECT_EQ(Conversions(text), Conversions(english.lines[i].second)) << "text " << id;
        }
    }
}

} // namespace
