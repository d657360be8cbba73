// The built manual as Help -> User manual shows it: Windows' rich-edit control
// (the one WordPad is made of) reads Manual.rtf with every picture and
// heading of its Markdown source.
#include "base/platform.h"
#include "base/scoped_win.h"

#include <gtest/gtest.h>
#include <richedit.h>
#include <richole.h>
#include <string>
#include <vector>

namespace {

struct Source {
    std::vector<std::wstring> headings;
    int pictures = 0;
};

Source ReadMarkdown(const wchar_t *path)
{
    Source source;
    std::vector<unsigned char> bytes;
    if (!File_ReadAll(path, 1 << 20, &bytes))
        return source;
    std::string text(bytes.begin(), bytes.end());
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        if (line.rfind("![", 0) == 0)
            source.pictures++;
        if (line.rfind("#", 0) == 0) {
            line = line.substr(line.find_first_not_of("# "));
            std::wstring wide(line.size(), L'\0');
            wide.resize(MultiByteToWideChar(CP_UTF8, 0, line.data(), (int)line.size(), wide.data(), (int)wide.size()));
            source.headings.push_back(wide);
        }
    }
    return source;
}

struct Reader {
    const std::vector<unsigned char> *bytes;
    size_t offset;
};

DWORD CALLBACK ReadChunk(DWORD_PTR cookie, BYTE *buffer, LONG capacity, LONG *done)
{
    Reader *reader = reinterpret_cast<Reader *>(cookie);
    size_t count = std::min<size_t>(capacity, reader->bytes->size() - reader->offset);
    memcpy(buffer, reader->bytes->data() + reader->offset, count);
    reader->offset += count;
    *done = (LONG)count;
    return 0;
}

bool IsBold(HWND edit, LONG from, LONG to)
{
    CHARRANGE range = {from, to};
    SendMessageW(edit, EM_EXSETSEL, 0, (LPARAM)&range);
    CHARFORMAT2W format = {};
    format.cbSize = sizeof format;
    SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, (LPARAM)&format);
    return (format.dwMask & CFM_BOLD) && (format.dwEffects & CFE_BOLD);
}

TEST(Manual, RichEditShowsEveryPictureAndHeadingWithPlainBodyText)
{
    Source source = ReadMarkdown(QUORELL_MANUAL_SOURCE);
    ASSERT_GT(source.pictures, 0);
    ASSERT_GT(source.headings.size(), 10u);

    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring manual = exe;
    manual = manual.substr(0, manual.rfind(L'\\')) + L"\\Manual.rtf";
    std::vector<unsigned char> rtf;
    ASSERT_TRUE(File_ReadAll(manual.c_str(), 64 << 20, &rtf));

    HWND edit = CreateWindowExW(0, L"RICHEDIT50W", L"", WS_POPUP | ES_MULTILINE, 0, 0, 800, 600, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(edit);
    SendMessageW(edit, EM_EXLIMITTEXT, 0, 1 << 24);
    Reader reader = {&rtf, 0};
    EDITSTREAM stream = {(DWORD_PTR)&reader, 0, ReadChunk};
    EXPECT_GT(SendMessageW(edit, EM_STREAMIN, SF_RTF, (LPARAM)&stream), 0);
    EXPECT_EQ(stream.dwError, 0u);

    ComPtr<IRichEditOle> ole;
    ASSERT_TRUE(SendMessageW(edit, EM_GETOLEINTERFACE, 0, (LPARAM)ole.PutVoid()));
    EXPECT_EQ(ole->GetObjectCount(), source.pictures);

    GETTEXTLENGTHEX lengthQuery = {GTL_DEFAULT, 1200};
    std::wstring text(SendMessageW(edit, EM_GETTEXTLENGTHEX, (WPARAM)&lengthQuery, 0) + 1, L'\0');
    GETTEXTEX textQuery = {(DWORD)(text.size() * sizeof(wchar_t)), GT_DEFAULT, 1200, nullptr, nullptr};
    text.resize(SendMessageW(edit, EM_GETTEXTEX, (WPARAM)&textQuery, (LPARAM)text.data()));
    for (const std::wstring &heading : source.headings)
        EXPECT_NE(text.find(heading + L"\r"), std::wstring::npos) << heading;
    EXPECT_NE(text.find(L"Quorell-" QUORELL_VERSION_WIDE L"-setup.exe"), std::wstring::npos);
    EXPECT_NE(text.find(L"(\u03bcm)"), std::wstring::npos);

    // The title is bold and the paragraph after it is not: no character
    // format runs on from a heading into the text.
    LONG titleEnd = (LONG)text.find(L'\r');
    EXPECT_TRUE(IsBold(edit, 0, titleEnd));
    EXPECT_FALSE(IsBold(edit, titleEnd + 1, titleEnd + 40));
    DestroyWindow(edit);
}

} // namespace
