// The icon resources as the program loads them: toolbar icons at their default
// size and at each screen scale, the application icon at each of its sizes.
#include "res/resource.h"
#include "wine_support.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

const int kToolbarIcons[] = {
    IDI_TB_LANGUAGE, IDI_TB_HELP,       IDI_TB_PANEL,      IDI_TB_PREFERENCES, IDI_TB_MICROSCOPE,
    IDI_TB_RESOLUTION, IDI_TB_CALIBRATION, IDI_TB_ZOOM100, IDI_TB_SNAPSHOT,    IDI_TB_RECORD,
    IDI_TB_GALLERY,  IDI_TB_CROSS,      IDI_TB_GRID,       IDI_TB_CIRCLES,     IDI_TB_GRAY,
    IDI_TB_BLACKWHITE, IDI_TB_NEGATIVE, IDI_TB_EMBOSS,     IDI_TB_LINE,        IDI_TB_PARALLELS,
    IDI_TB_RECTANGLE, IDI_TB_CIRCLE,    IDI_TB_ANGLE,      IDI_TB_FREEHAND,    IDI_TB_TEXT,
    IDI_TB_POINTER,  IDI_TB_REMOVE_LAST, IDI_TB_REMOVE_ALL, IDI_SRC_SNAPSHOT,
};

const COLORREF kBackground = RGB(255, 0, 255);

// One image of an icon group as the resource compiler stores it (GRPICONDIRENTRY).
#pragma pack(push, 2)
struct GroupEntry {
    BYTE width, height, colors, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

// The images of icon group `id`, in their stored order.
std::vector<GroupEntry> IconGroup(int id)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), RT_GROUP_ICON);
    if (!found)
        return {};
    const BYTE *dir = static_cast<const BYTE *>(LockResource(LoadResource(module, found)));
    WORD count = reinterpret_cast<const WORD *>(dir)[2];
    const GroupEntry *first = reinterpret_cast<const GroupEntry *>(dir + 6);
    return std::vector<GroupEntry>(first, first + count);
}

HICON LoadIconAt(int id, int size)
{
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
}

SIZE IconSize(HICON icon)
{
    ICONINFO info = {};
    GetIconInfo(icon, &info);
    BITMAP bm = {};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return {bm.bmWidth, info.hbmColor ? bm.bmHeight : bm.bmHeight / 2};
}

// The icon drawn at its own size over kBackground, as top-down 0x00RRGGBB pixels.
std::vector<DWORD> DrawIcon(HICON icon, int size)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -size;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(kBackground);
    RECT all = {0, 0, size, size};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    const DWORD *p = static_cast<const DWORD *>(bits);
    std::vector<DWORD> pixels(p, p + size * size);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    for (DWORD &px : pixels)
        px &= 0x00FFFFFF;
    return pixels;
}

int CountCovered(const std::vector<DWORD> &pixels)
{
    const DWORD background = 0xFF00FF; // kBackground as 0x00RRGGBB
    int covered = 0;
    for (DWORD px : pixels)
        covered += px != background;
    return covered;
}

// 24 pixels first (an icon loaded at its default size has that size), then
// the sizes the toolbar asks for on 125, 150 and 200 % screens, each drawn
// for its size rather than stretched from another.
TEST(Icons, EveryToolbarIconLoadsAt24PixelsByDefaultAndHasItsOwnImageForEachScreenScale)
{
    for (int id : kToolbarIcons) {
        SCOPED_TRACE(id);
        std::vector<GroupEntry> images = IconGroup(id);
        ASSERT_FALSE(images.empty());
        EXPECT_EQ(images[0].width, 24);
        HICON icon = LoadIconAt(id, 0);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(IconSize(icon).cx, 24);
        DestroyIcon(icon);
        for (int size : {30, 36, 48}) {
            bool stored = false;
            for (const GroupEntry &e : images)
                stored |= e.width == size && e.height == size && e.bitCount == 32;
            EXPECT_TRUE(stored) << size;
            icon = LoadIconAt(id, size);
            ASSERT_NE(icon, nullptr);
            EXPECT_EQ(IconSize(icon).cy, size);
            EXPECT_GT(CountCovered(DrawIcon(icon, size)), size * size / 10);
            DestroyIcon(icon);
        }
    }
}

TEST(Icons, EveryToolbarIconDrawsAPictureInsideATransparentMargin)
{
    for (int id : kToolbarIcons) {
        SCOPED_TRACE(id);
        HICON icon = LoadIconAt(id, 0);
        ASSERT_NE(icon, nullptr);
        std::vector<DWORD> pixels = DrawIcon(icon, 24);
        DestroyIcon(icon);
        EXPECT_GT(CountCovered(pixels), 24 * 24 / 10);
        for (int corner : {0, 23, 24 * 23, 24 * 24 - 1})
            EXPECT_EQ(pixels[corner], 0xFF00FFu) << "corner pixel " << corner;
    }
}

TEST(Icons, EachToolbarButtonHasItsOwnPictureAndTheSourceSnapshotButtonSharesTheCamera)
{
    std::vector<std::vector<DWORD>> drawn;
    for (int id : kToolbarIcons) {
        HICON icon = LoadIconAt(id, 0);
        ASSERT_NE(icon, nullptr);
        drawn.push_back(DrawIcon(icon, 24));
        DestroyIcon(icon);
    }
    const size_t count = std::size(kToolbarIcons);
    for (size_t i = 0; i < count; i++)
        for (size_t j = i + 1; j < count; j++) {
            bool cameraPair = kToolbarIcons[i] == IDI_TB_SNAPSHOT && kToolbarIcons[j] == IDI_SRC_SNAPSHOT;
            EXPECT_EQ(drawn[i] == drawn[j], cameraPair) << kToolbarIcons[i] << " and " << kToolbarIcons[j];
        }
}

TEST(Icons, TheApplicationIconHoldsEverySizeFrom16To256)
{
    std::vector<int> sizes;
    for (const GroupEntry &e : IconGroup(IDI_APP)) {
        sizes.push_back(e.width ? e.width : 256);
        EXPECT_EQ(e.bitCount, 32);
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256}));
    for (int size : {16, 32, 48, 256}) {
        SCOPED_TRACE(size);
        HICON icon = LoadIconAt(IDI_APP, size);
        ASSERT_NE(icon, nullptr);
        SIZE loaded = IconSize(icon);
        EXPECT_EQ(loaded.cx, size);
        EXPECT_EQ(loaded.cy, size);
        std::vector<DWORD> pixels = DrawIcon(icon, size);
        DestroyIcon(icon);
        EXPECT_GT(CountCovered(pixels), size * size / 4);
        EXPECT_EQ(pixels[0], 0xFF00FFu);
    }
}

// The Source section's snapshot and record buttons are 16 dialog units high
// and show these 24-pixel icons beside their text; the button's frame and
// focus rectangle take 3 pixels at each edge.
TEST(Icons, TheSourceButtonIconsFitInsideTheirPushButtons)
{
    int buttonHeight = MulDiv(16, HIWORD(GetDialogBaseUnits()), 8);
    for (int id : {IDI_SRC_SNAPSHOT, IDI_TB_RECORD}) {
        HICON icon = LoadIconAt(id, 0);
        ASSERT_NE(icon, nullptr);
        EXPECT_LE(IconSize(icon).cy + 2 * 3, buttonHeight) << id;
        DestroyIcon(icon);
    }
}

} // namespace
