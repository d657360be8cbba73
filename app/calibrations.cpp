#include "app/calibrations.h"

#include "app/app_state.h"
#include "base/clock.h"
#include "base/commands.h"
#include "base/numbers.h"
#include "app/settings.h"
#include "base/text.h"
#include "view/view_api.h"

#include <cstring>
#include <cwchar>

Calibration gCalibrations[CALIBRATION_SLOTS];

const wchar_t *Unit_Name(int32_t unit)
{
    return unit == 0 ? L"mm" : L"\u03BCm";
}

bool Calibration_IsUsable(const Calibration *c)
{
    return c->pixelsPerUnit > 0 && c->calibratedOn > 0 && c->captureSize > 0;
}

int32_t Calibration_PackSize(int width, int height)
{
    return (int32_t)(((uint32_t)(height & 0xFFFF) << 16) | (uint32_t)(width & 0xFFFF));
}

int Calibration_Width(const Calibration *c)
{
    return (int)((uint32_t)c->captureSize & 0xFFFF);
}

int Calibration_Height(const Calibration *c)
{
    return (int)((uint32_t)c->captureSize >> 16);
}

static float DerivePixelsPerUnit(int32_t lineLength, float realLength)
{
    return realLength > 0 ? (float)lineLength / realLength : -1.0f;
}

static void ClearSlot(Calibration *c)
{
    memset(c, 0, sizeof *c);
    c->pixelsPerUnit = -1.0f;
}

// Parses one record "name,unit,line,bits,size,date" (without its ';').
// Returns false when one of the five commas is missing.
static bool ParseRecord(const wchar_t *record, Calibration *c)
{
    const wchar_t *commas[5];
    const wchar_t *at = record;
    for (auto &comma : commas) {
        comma = wcschr(at, L',');
        if (!comma)
            return false;
        at = comma + 1;
    }
    size_t nameLength = (size_t)(commas[0] - record);
    if (nameLength > CALIBRATION_NAME_CAPACITY - 1)
        nameLength = CALIBRATION_NAME_CAPACITY - 1;
    wmemcpy(c->name, record, nameLength);
    c->name[nameLength] = 0;
    c->unit = Number_ReadLong(commas[0] + 1);
    c->lineLength = Number_ReadLong(commas[1] + 1);
    uint32_t bits = Number_ReadUnsignedLong(commas[2] + 1);
    memcpy(&c->realLength, &bits, sizeof bits);
    c->captureSize = Number_ReadLong(commas[3] + 1);
    c->calibratedOn = Number_ReadLong(commas[4] + 1);
    c->pixelsPerUnit = DerivePixelsPerUnit(c->lineLength, c->realLength);
    return true;
}

void Calibrations_Parse()
{
    for (auto &c : gCalibrations)
        ClearSlot(&c);
    wchar_t work[CALIBRATIONS_TEXT_CAPACITY];
    Text_Copy(work, CALIBRATIONS_TEXT_CAPACITY, gSettings.calibrationsText);
    wchar_t *at = work;
    for (auto &c : gCalibrations) {
        wchar_t *end = wcschr(at, L';');
        if (!end)
            return;
        *end = 0;
        if (!ParseRecord(at, &c)) {
            ClearSlot(&c);
            return;
        }
        at = end + 1;
    }
}

void Calibrations_Format()
{
    wchar_t *text = gSettings.calibrationsText;
    size_t used = 0;
    text[0] = 0;
    for (const auto &c : gCalibrations) {
        uint32_t bits;
        memcpy(&bits, &c.realLength, sizeof bits);
        wchar_t record[128];
        int n = Text_Format(record, 128, L"%ls,%d,%d,%lu,%d,%d;", c.name, c.unit, c.lineLength,
                            (unsigned long)bits, c.captureSize, c.calibratedOn);
        // Ten records of the longest form (about 80 characters) fit the text;
        // should one not, it is left out whole rather than written cut.
        if (used + (size_t)n + 1 > CALIBRATIONS_TEXT_CAPACITY)
            break;
        wmemcpy(text + used, record, (size_t)n + 1);
        used += (size_t)n;
    }
}

static void SendToView(const Calibration *c)
{
    View_SetCalibration(c->pixelsPerUnit, c->unit);
}

void Calibration_Apply(int slot)
{
    if (slot < 0 || slot >= CALIBRATION_SLOTS)
        return;
    gApp.activeCalibration = slot;
    SendToView(&gCalibrations[slot]);
    View_SetZoom(100);
    MainWnd_PostCommand(CMD_CALIBRATION_CHANGED);
}

void Calibration_Remove()
{
    gApp.activeCalibration = -1;
    View_SetCalibration(-1.0f, 0);
    MainWnd_PostCommand(CMD_CALIBRATION_CHANGED);
}

static int TodayAsNumber()
{
    LocalTime now;
    Clock_LocalTime(&now);
    return now.year * 10000 + now.month * 100 + now.day;
}

bool Calibration_Store(int slot, int32_t unit, int32_t lineLength, float realLength,
                       int captureWidth, int captureHeight)
{
    if (slot < 0 || slot >= CALIBRATION_SLOTS)
        return false;
    if (!(realLength > 0))
        return false;
    float ratio = (float)lineLength / realLength;
    if (!(ratio > 0))
        return false;
    Calibration *c = &gCalibrations[slot];
    c->unit = unit;
    c->lineLength = lineLength;
    c->realLength = realLength;
    c->pixelsPerUnit = ratio;
    c->calibratedOn = TodayAsNumber();
    c->captureSize = Calibration_PackSize(captureWidth, captureHeight);
    Settings_Save();
    if (slot == gApp.activeCalibration) {
        SendToView(c);
        View_SetZoom(100);
        MainWnd_PostCommand(CMD_CALIBRATION_CHANGED);
    }
    return true;
}

void Calibration_Delete(int slot)
{
    if (slot < 0 || slot >= CALIBRATION_SLOTS)
        return;
    ClearSlot(&gCalibrations[slot]);
    Settings_Save();
    if (slot == gApp.activeCalibration) {
        View_SetCalibration(-1.0f, 0);
        MainWnd_PostCommand(CMD_CALIBRATION_CHANGED);
    }
}

void Calibration_SetName(Calibration *c, const wchar_t *name)
{
    Text_Copy(c->name, CALIBRATION_NAME_CAPACITY, name);
    // Never keep half of a UTF-16 surrogate pair at the cut.
    size_t length = Text_Length(c->name);
    if (length > 0 && c->name[length - 1] >= 0xD800 && c->name[length - 1] <= 0xDBFF)
        c->name[length - 1] = 0;
    for (wchar_t *p = c->name; *p; p++) {
        if (*p == L',')
            *p = L'\uFF0C';
        else if (*p == L';')
            *p = L'\uFF1B';
    }
}

void Calibration_Rename(int slot, const wchar_t *name)
{
    if (slot < 0 || slot >= CALIBRATION_SLOTS)
        return;
    Calibration_SetName(&gCalibrations[slot], name);
    Settings_Save();
    if (slot == gApp.activeCalibration)
        MainWnd_PostCommand(CMD_CALIBRATION_CHANGED);
}
