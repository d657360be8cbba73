// Host stand-ins for the platform services and window entry points that the
// portable code calls; everything is recorded in gFake.
#include "fake_platform.h"

#include "app/clock.h"
#include "app/commands.h"
#include "app/platform.h"
#include "app/settings_store.h"
#include "app/text.h"
#include "capture/frame_platform.h"
#include "view/view_api.h"
#include "view/view_platform.h"

FakePlatform gFake;

void FakePlatform_Reset()
{
    gFake = FakePlatform();
}

bool Store_Open()
{
    gFake.storeOpenCount++;
    return gFake.storeOpens;
}

void Store_Close() {}

bool Store_ReadNumber(const wchar_t *name, int32_t *value)
{
    auto it = gFake.numbers.find(name);
    if (!gFake.storeOpens || it == gFake.numbers.end())
        return false;
    *value = it->second;
    return true;
}

bool Store_ReadText(const wchar_t *name, wchar_t *text, size_t capacity)
{
    auto it = gFake.texts.find(name);
    if (!gFake.storeOpens || it == gFake.texts.end() || it->second.size() >= capacity) {
        text[0] = 0;
        return false;
    }
    Text_Copy(text, capacity, it->second.c_str());
    return true;
}

bool Store_WriteNumber(const wchar_t *name, int32_t value)
{
    if (gFake.storeOpens)
        gFake.numbers[name] = value;
    return gFake.storeOpens;
}

bool Store_WriteText(const wchar_t *name, const wchar_t *text)
{
    if (gFake.storeOpens)
        gFake.texts[name] = text;
    return gFake.storeOpens;
}

bool Platform_ModulePath(wchar_t *path, size_t capacity)
{
    Text_Copy(path, capacity, gFake.modulePath.c_str());
    return true;
}

bool Platform_DocumentsFolder(wchar_t *path, size_t capacity)
{
    if (!gFake.hasDocuments)
        return false;
    Text_Copy(path, capacity, gFake.documents.c_str());
    return true;
}

bool Folder_Exists(const wchar_t *path)
{
    return gFake.folders.count(path) > 0;
}

bool Folder_Create(const wchar_t *path)
{
    if (gFake.files.count(path))
        return false;
    gFake.folders.insert(path);
    return true;
}

bool File_ReadAll(const wchar_t *path, size_t maxBytes, std::vector<unsigned char> *content)
{
    auto it = gFake.files.find(path);
    if (it == gFake.files.end() || it->second.size() > maxBytes)
        return false;
    *content = it->second;
    return true;
}

void Debug_Print(const wchar_t *line)
{
    gFake.debugLines.push_back(line);
}

static void FakeLocalTime(LocalTime *now)
{
    *now = {gFake.year, gFake.month, gFake.day, gFake.hour, gFake.minute, gFake.second,
            gFake.millisecond};
}

void (*Clock_LocalTime)(LocalTime *now) = FakeLocalTime;

uint32_t Clock_Milliseconds()
{
    return gFake.milliseconds;
}

void MainWnd_PostCommand(int id)
{
    gFake.mainCommands.push_back(id);
}

void Panel_PostCommand(int id)
{
    gFake.panelCommands.push_back(id);
}

void Panel_PostRefresh(bool full)
{
    gFake.panelRefreshes.push_back(full);
}

void View_SetCalibration(float scale, int32_t unitIndex)
{
    gFake.viewCalibrations.push_back({scale, unitIndex});
}

void View_SetZoom(int percent)
{
    gFake.viewZooms.push_back(percent);
}

void View_SetStyle(const ViewStyle *) {}

void View_Invalidate(bool)
{
    gFake.invalidations++;
}

void Frame_RequestRepaint()
{
    gFake.frameRepaints++;
}

void Frame_PostStill()
{
    gFake.stillPosts++;
}
