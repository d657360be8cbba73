// The spreadsheet library writes workbooks under non-ASCII paths.
#include "wine_support.h"

#include <gtest/gtest.h>
#include <xlsxwriter.h>

namespace {

std::string Utf8(const std::wstring &text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
    out.resize(n - 1);
    return out;
}

TEST(Spreadsheet, WritesAndReopensAWorkbookUnderANonAsciiPath)
{
    ScratchFolder folder(L"xlsx-\u00e9t\u00e9-\u6d4b\u91cf");
    std::wstring path = folder.path + L"\\Pr\u00fcfung \u03bcm.xlsx";

    lxw_workbook *workbook = workbook_new(Utf8(path).c_str());
    ASSERT_NE(workbook, nullptr);
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, nullptr);
    ASSERT_NE(sheet, nullptr);
    worksheet_write_string(sheet, 0, 0, Utf8(L"L\u00e4nge").c_str(), nullptr);
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);

    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char magic[2] = {};
    DWORD read = 0;
    ReadFile(file, magic, 2, &read, nullptr);
    DWORD size = GetFileSize(file, nullptr);
    CloseHandle(file);
    EXPECT_EQ(std::string(magic, 2), "PK"); // a zip container
    EXPECT_GT(size, 1000u);
}

} // namespace
