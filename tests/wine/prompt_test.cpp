// The prompt window inside a main window.
#include "state/app_state.h"
#include "state/prompt.h"
#include "wine_support.h"

#include <gtest/gtest.h>
#include <string>

namespace {

struct PromptTest : testing::Test {
    HWND main = nullptr;
    void SetUp() override
    {
        main = CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1000, 700,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        gApp.mainWindow = main;
        gApp.instance = GetModuleHandleW(nullptr);
    }
    void TearDown() override { DestroyWindow(main); }

    RECT PromptRect(HWND prompt)
    {
        RECT r;
        GetWindowRect(prompt, &r);
        MapWindowPoints(nullptr, main, (POINT *)&r, 2);
        return r;
    }
};

TEST_F(PromptTest, IsCentredBelowTheTopAndReusedForTheNextText)
{
    HWND first = Prompt_Show(L"File saved: C:\\a.jpg", 31);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetDlgCtrlID(first), PROMPT_ID);
    RECT client;
    GetClientRect(main, &client);
    RECT r = PromptRect(first);
    EXPECT_EQ(r.top, 31);
    EXPECT_NEAR((r.left + r.right) / 2.0, client.right / 2.0, 1.0);
    int shortWidth = r.right - r.left;

    HWND second = Prompt_Show(L"File saved: C:\\a much longer folder name\\20240115-093005-042.jpg", 40);
    EXPECT_EQ(second, first);
    r = PromptRect(second);
    EXPECT_EQ(r.top, 40);
    EXPECT_GT(r.right - r.left, shortWidth);
    EXPECT_NEAR((r.left + r.right) / 2.0, client.right / 2.0, 1.0);
    EXPECT_NE(gApp.promptFont, nullptr);
}

TEST_F(PromptTest, ShowsA511CharacterTextWhole)
{
    std::wstring text(511, L'x');
    HWND prompt = Prompt_Show(text.c_str(), 10);
    ASSERT_NE(prompt, nullptr);
    std::wstring shorter(510, L'x');
    HWND again = Prompt_Show(shorter.c_str(), 10);
    RECT r510 = PromptRect(again);
    Prompt_Show(text.c_str(), 10);
    RECT r511 = PromptRect(prompt);
    EXPECT_GT(r511.right - r511.left, r510.right - r510.left); // the last character counts
    EXPECT_EQ(SendMessageW(prompt, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

} // namespace
