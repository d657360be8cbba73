#include "state/settings.h"

#include "state/calibrations.h"
#include "state/folders.h"
#include "state/language.h"
#include "base/platform.h"
#include "state/settings_cameras.h"
#include "state/settings_store.h"
#include "base/text.h"

#include <cstring>

Settings gSettings;

const uint32_t kPalette[PALETTE_SIZE] = {
    0x000080, 0x0000FF, 0x008000, 0x00FF00, 0x800000, 0xFF0000,
    0x800080, 0xFF00FF, 0x808000, 0xFFFF00, 0x008080, 0x00FFFF,
};

bool Palette_Contains(uint32_t color)
{
    for (uint32_t entry : kPalette)
        if (entry == color)
            return true;
    return false;
}

void Settings_SetPresets()
{
    gSettings.gridColor = 0x0000FF;
    gSettings.lineColor = 0x0000FF;
    gSettings.textColor = 0x0000FF;
    gSettings.lineWidth = 2;
    gSettings.textSize = 12;
    gSettings.maxRecordTime = 10;
    gSettings.firstUse = 1;
    gSettings.showCtrlPanel = 1;
    gSettings.appliedCalibration = -1;
    gSettings.timeLapseSeconds = 60;
    gSettings.timeLapseCount = 10;
    gSettings.timeLapseRate = 10;
}

static void ReadNumber(const wchar_t *name, int32_t *field, int32_t missing)
{
    if (!Store_ReadNumber(name, field))
        *field = missing;
}

static void ReadColor(const wchar_t *name, uint32_t *field)
{
    int32_t value;
    *field = Store_ReadNumber(name, &value) ? (uint32_t)value : 0;
}

static void ReadText(const wchar_t *name, wchar_t *field, size_t capacity)
{
    if (!Store_ReadText(name, field, capacity))
        field[0] = 0;
}

static void ReadStoredValues()
{
    ReadNumber(L"Language", &gSettings.language, 0);
    ReadNumber(L"width", &gSettings.captureWidth, 0);
    ReadNumber(L"height", &gSettings.captureHeight, 0);
    ReadText(L"ImgDir", gSettings.imageFolder, IMAGE_FOLDER_CAPACITY);
    ReadColor(L"GridColor", &gSettings.gridColor);
    ReadColor(L"LineColor", &gSettings.lineColor);
    ReadNumber(L"LineWidth", &gSettings.lineWidth, 1);
    ReadColor(L"TextColor", &gSettings.textColor);
    ReadNumber(L"TextSize", &gSettings.textSize, 14);
    ReadNumber(L"jpgPng", &gSettings.imageFormat, 0);
    ReadNumber(L"SnapshotAsShown", &gSettings.snapshotAsShown, 0);
    ReadNumber(L"ScaleBar", &gSettings.showScaleBar, 0);
    ReadNumber(L"ItemNumbers", &gSettings.itemNumbers, 0);
    ReadNumber(L"wmvMp4", &gSettings.videoFormat, 0);
    ReadNumber(L"MaxRecordTime", &gSettings.maxRecordTime, 30);
    ReadNumber(L"FirstUse", &gSettings.firstUse, 1);
    ReadNumber(L"ShowCtrlPanel", &gSettings.showCtrlPanel, 1);
    ReadText(L"Calibrations", gSettings.calibrationsText, CALIBRATIONS_TEXT_CAPACITY);
    ReadText(L"ReportTitle", gSettings.reportTitle, REPORT_TITLE_CAPACITY);
    ReadNumber(L"AppliedCalibration", &gSettings.appliedCalibration, -1);
    ReadNumber(L"TimeLapseSeconds", &gSettings.timeLapseSeconds, 60);
    ReadNumber(L"TimeLapseCount", &gSettings.timeLapseCount, 10);
    ReadText(L"TimeLapseFolder", gSettings.timeLapseFolder, IMAGE_FOLDER_CAPACITY);
    ReadNumber(L"TimeLapseFormat", &gSettings.timeLapseFormat, 0);
    ReadNumber(L"TimeLapseVideo", &gSettings.timeLapseVideo, 0);
    ReadNumber(L"TimeLapseRate", &gSettings.timeLapseRate, 10);
    CameraMemory_Read();
}

static void ForceIntoRange(int32_t *field, int32_t low, int32_t high, int32_t fallback)
{
    if (*field < low || *field > high)
        *field = fallback;
}

static void ForceIntoPalette(uint32_t *color)
{
    if (!Palette_Contains(*color))
        *color = 0x00FF00;
}

void Settings_CheckRanges()
{
    ForceIntoPalette(&gSettings.gridColor);
    ForceIntoPalette(&gSettings.lineColor);
    ForceIntoPalette(&gSettings.textColor);
    ForceIntoRange(&gSettings.lineWidth, 1, 2, 1);
    ForceIntoRange(&gSettings.textSize, 8, 24, 10);
    ForceIntoRange(&gSettings.imageFormat, 0, 2, 0);
    ForceIntoRange(&gSettings.snapshotAsShown, 0, 1, 0);
    ForceIntoRange(&gSettings.showScaleBar, 0, 1, 0);
    ForceIntoRange(&gSettings.itemNumbers, 0, 1, 0);
    ForceIntoRange(&gSettings.videoFormat, 0, 1, 0);
    ForceIntoRange(&gSettings.maxRecordTime, 0, MAX_RECORD_SECONDS, 0);
    // The menu toggles it as 1 - showCtrlPanel.
    ForceIntoRange(&gSettings.showCtrlPanel, 0, 1, 1);
    ForceIntoRange(&gSettings.appliedCalibration, -1, CALIBRATION_SLOTS - 1, -1);
    ForceIntoRange(&gSettings.timeLapseSeconds, 1, TIME_LAPSE_MAX_SECONDS, 60);
    ForceIntoRange(&gSettings.timeLapseCount, 0, TIME_LAPSE_MAX_PICTURES, 10);
    ForceIntoRange(&gSettings.timeLapseFormat, 0, 2, 0);
    ForceIntoRange(&gSettings.timeLapseVideo, 0, 1, 0);
    ForceIntoRange(&gSettings.timeLapseRate, 1, TIME_LAPSE_MAX_RATE, 10);
}

// moduleFolder is the program path up to (not including) its last backslash;
// index 0 is never taken as the cut.
static void FindModuleFolder()
{
    wchar_t path[PATH_CAPACITY] = L"";
    if (!Platform_ModulePath(path, PATH_CAPACITY))
        path[0] = 0;
    for (size_t i = Text_Length(path); i-- > 1;) {
        if (path[i] == L'\\') {
            path[i] = 0;
            break;
        }
    }
    Text_Copy(gApp.moduleFolder, PATH_CAPACITY, path);
}

static void MakeDefaultImageFolder()
{
    wchar_t documents[PATH_CAPACITY] = L"";
    gSettings.firstUse = 1;
    if (!Platform_DocumentsFolder(documents, PATH_CAPACITY))
        documents[0] = 0;
    wchar_t folder[IMAGE_FOLDER_CAPACITY];
    if (Text_Format(folder, IMAGE_FOLDER_CAPACITY, L"%ls\\Quorell Files", documents))
        Folder_Create(folder);
    Text_Copy(gSettings.imageFolder, IMAGE_FOLDER_CAPACITY, folder);
}

static void EnsureThumbnailFolder()
{
    wchar_t thumbnails[PATH_CAPACITY];
    if (Text_Format(thumbnails, PATH_CAPACITY, L"%ls\\Thumbnails", gSettings.imageFolder))
        Folder_Ensure(thumbnails);
}

bool Settings_Load()
{
    FindModuleFolder();
    memset(&gSettings, 0, sizeof gSettings);
    memset(gCameraMemory, 0, sizeof gCameraMemory);
    Settings_SetPresets();
    if (Store_Open()) {
        ReadStoredValues();
        Store_Close();
    }
    ForceIntoRange(&gSettings.language, 0, LANGUAGE_COUNT - 1, 0);
    Language_Load();
    Settings_CheckRanges();
    Calibrations_Parse();
    if (gSettings.imageFolder[0] == 0)
        MakeDefaultImageFolder();
    EnsureThumbnailFolder();
    return true;
}

bool Settings_Save()
{
    // A key that cannot be opened makes the writes below fail harmlessly.
    bool opened = Store_Open();
    Store_WriteNumber(L"Language", gSettings.language);
    Store_WriteNumber(L"width", gSettings.captureWidth);
    Store_WriteNumber(L"height", gSettings.captureHeight);
    Store_WriteText(L"ImgDir", gSettings.imageFolder);
    Store_WriteNumber(L"GridColor", (int32_t)gSettings.gridColor);
    Store_WriteNumber(L"LineColor", (int32_t)gSettings.lineColor);
    Store_WriteNumber(L"LineWidth", gSettings.lineWidth);
    Store_WriteNumber(L"TextColor", (int32_t)gSettings.textColor);
    Store_WriteNumber(L"TextSize", gSettings.textSize);
    Store_WriteNumber(L"jpgPng", gSettings.imageFormat);
    Store_WriteNumber(L"SnapshotAsShown", gSettings.snapshotAsShown);
    Store_WriteNumber(L"ScaleBar", gSettings.showScaleBar);
    Store_WriteNumber(L"ItemNumbers", gSettings.itemNumbers);
    Store_WriteNumber(L"wmvMp4", gSettings.videoFormat);
    Store_WriteNumber(L"MaxRecordTime", gSettings.maxRecordTime);
    Store_WriteNumber(L"FirstUse", gSettings.firstUse);
    Store_WriteNumber(L"ShowCtrlPanel", gSettings.showCtrlPanel);
    Calibrations_Format();
    Store_WriteText(L"Calibrations", gSettings.calibrationsText);
    Store_WriteText(L"ReportTitle", gSettings.reportTitle);
    Store_WriteNumber(L"AppliedCalibration", gSettings.appliedCalibration);
    Store_WriteNumber(L"TimeLapseSeconds", gSettings.timeLapseSeconds);
    Store_WriteNumber(L"TimeLapseCount", gSettings.timeLapseCount);
    Store_WriteText(L"TimeLapseFolder", gSettings.timeLapseFolder);
    Store_WriteNumber(L"TimeLapseFormat", gSettings.timeLapseFormat);
    Store_WriteNumber(L"TimeLapseVideo", gSettings.timeLapseVideo);
    Store_WriteNumber(L"TimeLapseRate", gSettings.timeLapseRate);
    CameraMemory_Write();
    if (opened)
        Store_Close();
    EnsureThumbnailFolder();
    return true;
}
