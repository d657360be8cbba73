#include "app/mainwnd_logic.h"

#include "state/app_state.h"
#include "state/calibrations.h"
#include "base/text.h"
#include "capture/camera_state.h"
#include "state/language.h"
#include "view/view_source.h"
#include "view/view_state.h"

#include <cwchar>

void Status_PartEdges(int clientWidth, int partWidth, int panelWidth, int edges[STATUS_PARTS])
{
    edges[0] = panelWidth;
    edges[1] = clientWidth - 3 * partWidth;
    edges[2] = clientWidth - 2 * partWidth;
    edges[3] = clientWidth - partWidth;
    edges[4] = -1;
}

Rect Status_SliderRect(int clientWidth, int partWidth, int statusBarHeight)
{
    int x = clientWidth - 2 * partWidth + 6;
    return {x, 3, x + partWidth - 10, 3 + statusBarHeight - 2};
}

int Fps_Rounded(float fps)
{
    return (int)(fps + 0.5f);
}

void Status_SizeThenFps(wchar_t *text, size_t capacity, int width, int height, float fps)
{
    Text_Format(text, capacity, L"%dx%d   %dfps", width, height, Fps_Rounded(fps));
}

void Status_FpsThenSize(wchar_t *text, size_t capacity, int width, int height, float fps)
{
    Text_Format(text, capacity, L"%dfps   %dx%d", Fps_Rounded(fps), width, height);
}

void Toolbar_ResolutionText(wchar_t *text, size_t capacity, bool cameraOpen)
{
    const VideoFormat &f = gCamera.currentFormat;
    if (cameraOpen && f.width != 0 && f.height != 0)
        Text_Format(text, capacity, L"%dx%d", f.width, f.height);
    else
        Text_Copy(text, capacity, L"NA");
}

static bool NotApplied(bool cameraOpen)
{
    int slot = gApp.calibrationNotApplied;
    return cameraOpen && gView.scale < 0 && slot >= 0 && slot < CALIBRATION_SLOTS;
}

void Toolbar_CalibrationText(wchar_t *text, size_t capacity, bool cameraOpen)
{
    int slot = gApp.activeCalibration;
    if (NotApplied(cameraOpen))
        Text_Copy(text, capacity, Language_Text(1361));
    else if (!cameraOpen || gView.scale < 0)
        Text_Copy(text, capacity, L"NA");
    else if (slot == CALIBRATION_PICTURE)
        Text_Copy(text, capacity, Language_Text(PICTURE_SCALE_TEXT));
    else if (slot >= 0 && slot < CALIBRATION_SLOTS && gView.scale > 0 && gCalibrations[slot].name[0])
        Text_Copy(text, capacity, gCalibrations[slot].name);
    else if (slot >= 0 && slot < CALIBRATION_SLOTS && gView.scale > 0)
        Text_Format(text, capacity, L"%.3f@%d", (double)gView.scale, slot + 1);
    else
        Text_Format(text, capacity, L"%.3f", (double)gView.scale);
}

// "3 - Lens A", or "3 - noname", as the calibration menu names the slot.
static void MenuLabel(wchar_t *text, size_t capacity, int slot)
{
    const Calibration &c = gCalibrations[slot];
    if (c.name[0])
        Text_Format(text, capacity, L"%d - %ls", slot + 1, c.name);
    else
        Text_Format(text, capacity, L"%d - noname", slot + 1);
}

bool Calibration_NotAppliedReason(wchar_t *text, size_t capacity, bool cameraOpen)
{
    text[0] = 0;
    if (!NotApplied(cameraOpen))
        return false;
    const Calibration &c = gCalibrations[gApp.calibrationNotApplied];
    wchar_t label[64], made[32], shown[32];
    MenuLabel(label, 64, gApp.calibrationNotApplied);
    Text_Format(made, 32, L"%dx%d", Calibration_Width(&c), Calibration_Height(&c));
    Text_Format(shown, 32, L"%dx%d", gCamera.currentFormat.width, gCamera.currentFormat.height);
    const wchar_t *values[] = {label, made, shown};
    Language_MessageAll(text, capacity, 1362, L"Calibration %s was made at %s, the picture is %s: it is not applied.",
                        values, 3);
    return true;
}
void Status_NoteText(wchar_t *text, size_t capacity, bool pictureShown)
{
    if (Calibration_NotAppliedReason(text, capacity, pictureShown))
        return;
    if (gView.source == VIEW_HELD) {
        Text_Copy(text, capacity, Language_Text(1374));
    } else if (gView.source == VIEW_PICTURE) {
        Language_Message(text, capacity, 1375, L"Picture: %s", gView.stillName);
        if (gApp.activeCalibration == CALIBRATION_PICTURE && gView.scale > 0) {
            Text_Append(text, capacity, L" \u2013 ");
            Text_Append(text, capacity, Language_Text(PICTURE_SCALE_TEXT));
        }
    }
}

bool CommandLine_Path(const wchar_t *commandLine, wchar_t *path, size_t capacity)
{
    path[0] = 0;
    const wchar_t *begin = commandLine ? commandLine : L"";
    while (*begin == L' ' || *begin == L'\t')
        begin++;
    const wchar_t *end = begin + wcslen(begin);
    while (end > begin && (end[-1] == L' ' || end[-1] == L'\t'))
        end--;
    if (end - begin >= 2 && *begin == L'"' && end[-1] == L'"') {
        begin++;
        end--;
    }
    size_t length = (size_t)(end - begin);
    if (length == 0 || length >= capacity)
        return false;
    wmemcpy(path, begin, length);
    path[length] = 0;
    return true;
}

std::vector<int> Toggle_Exclusive(int32_t *const *switches, int count, int clicked, bool checked)
{
    std::vector<int> cleared;
    *switches[clicked] = checked ? 1 : 0;
    if (!checked)
        return cleared;
    for (int i = 0; i < count; i++) {
        if (i != clicked) {
            *switches[i] = 0;
            cleared.push_back(i);
        }
    }
    return cleared;
}

std::vector<MenuItem> CalibrationMenu_Slots()
{
    std::vector<MenuItem> items;
    for (int i = 0; i < CALIBRATION_SLOTS; i++) {
        const Calibration &c = gCalibrations[i];
        if (!Calibration_IsUsable(&c))
            continue;
        MenuItem item = {};
        item.id = 3040 + i;
        MenuLabel(item.text, 64, i);
        item.checked = gApp.activeCalibration == i && gView.scale > 0;
        items.push_back(item);
    }
    return items;
}
