#include "state/calibrations.h"

#include "state/app_state.h"
#include "base/clock.h"
#include "base/commands.h"
#include "base/numbers.h"
#include "state/settings.h"
#include "base/text.h"
#include "state/view_api.h"

#include <cmath>
#include <cstring>
#include <cwchar>

Calibration gCalibrations[CALIBRATION_SLOTS];

// The longest record the program writes: a 19-character name, five numbers of
// up to 11 characters, the separators and the terminator.
enum { RECORD_CAPACITY = 80 };
static_assert(CALIBRATION_SLOTS * (RECORD_CAPACITY - 1) < CALIBRATIONS_TEXT_CAPACITY,
              "ten records of the longest form must fit the packed text");

// A record that could not be read leaves its slot empty but is kept as it was
// read (without its ';'), so that a save writes it back instead of losing it,
// until the user stores, renames or deletes that slot. A damaged record longer
// than any the program writes is not kept.
static wchar_t gUnreadRecords[CALIBRATION_SLOTS][RECORD_CAPACITY - 1];

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

// A length so small that the ratio overflows (a few bits above zero) makes no
// calibration either.
float Calibration_PixelsPerUnit(int32_t lineLength, float realLength)
{
    float ratio = realLength > 0 ? (float)lineLength / realLength : -1.0f;
    return std::isfinite(ratio) ? ratio : -1.0f;
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
    c->pixelsPerUnit = Calibration_PixelsPerUnit(c->lineLength, c->realLength);
    return true;
}

static void ForgetUnreadRecord(int slot)
{
    gUnreadRecords[slot][0] = 0;
}

// A damaged record is skipped: the records after it keep their slots.
void Calibrations_Parse()
{
    for (int slot = 0; slot < CALIBRATION_SLOTS; slot++) {
        ClearSlot(&gCalibrations[slot]);
        ForgetUnreadRecord(slot);
    }
    wchar_t work[CALIBRATIONS_TEXT_CAPACITY];
    Text_Copy(work, CALIBRATIONS_TEXT_CAPACITY, gSettings.calibrationsText);
    wchar_t *at = work;
    for (int slot = 0; slot < CALIBRATION_SLOTS; slot++) {
        wchar_t *end = wcschr(at, L';');
        if (!end)
            return;
        *end = 0;
        if (!ParseRecord(at, &gCalibrations[slot]) &&
            !Text_Copy(gUnreadRecords[slot], RECORD_CAPACITY - 1, at))
            ForgetUnreadRecord(slot);
        at = end + 1;
    }
}

void Calibrations_Format()
{
    wchar_t *text = gSettings.calibrationsText;
    text[0] = 0;
    for (int slot = 0; slot < CALIBRATION_SLOTS; slot++) {
        const Calibration &c = gCalibrations[slot];
        uint32_t bits;
        memcpy(&bits, &c.realLength, sizeof bits);
        wchar_t record[RECORD_CAPACITY];
        if (gUnreadRecords[slot][0])
            Text_Format(record, RECORD_CAPACITY, L"%ls;", gUnreadRecords[slot]);
        else
            Text_Format(record, RECORD_CAPACITY, L"%ls,%d,%d,%lu,%d,%d;", c.name, c.unit, c.lineLength,
                        (unsigned long)bits, c.captureSize, c.calibratedOn);
        Text_Append(text, CALIBRATIONS_TEXT_CAPACITY, record);
    }
}

static void SendToView(const Calibration *c)
{
    View_SetCalibration(c->pixelsPerUnit, c->unit);
}

CalibrationFit Calibration_Fit(int slot, int width, int height)
{
    if (slot < 0 || slot >= CALIBRATION_SLOTS || !Calibration_IsUsable(&gCalibrations[slot]))
        return CALIBRATION_NONE;
    const Calibration *c = &gCalibrations[slot];
    return Calibration_Width(c) == width && Calibration_Height(c) == height ? CALIBRATION_FITS
                                                                            : CALIBRATION_OTHER_SIZE;
}

static void ChooseApplied(int slot)
{
    gApp.calibrationNotApplied = -1;
    if (gSettings.appliedCalibration != slot) {
        gSettings.appliedCalibration = slot;
        Settings_Save();
    }
}

void Calibration_Apply(int slot)
{
    if (slot < 0 || slot >= CALIBRATION_SLOTS)
        return;
    ChooseApplied(slot);
    gApp.activeCalibration = slot;
    SendToView(&gCalibrations[slot]);
    View_SetZoom(100);
    MainWnd_PostCommand(CMD_CALIBRATION_CHANGED);
}

void Calibration_ApplyPicture(float pixelsPerUnit, int32_t unit)
{
    gApp.calibrationNotApplied = -1;
    gApp.activeCalibration = CALIBRATION_PICTURE;
    View_SetCalibration(pixelsPerUnit, unit);
    MainWnd_PostCommand(CMD_CALIBRATION_CHANGED);
}

void Calibration_Remove()
{
    ChooseApplied(-1);
    gApp.activeCalibration = -1;
    View_SetCalibration(-1.0f, 0);
    MainWnd_PostCommand(CMD_CALIBRATION_CHANGED);
}

void Calibration_ApplyKept(int width, int height)
{
    int slot = gSettings.appliedCalibration;
    CalibrationFit fit = Calibration_Fit(slot, width, height);
    gApp.calibrationNotApplied = fit == CALIBRATION_OTHER_SIZE ? slot : -1;
    gApp.activeCalibration = fit == CALIBRATION_FITS ? slot : -1;
    if (fit == CALIBRATION_FITS)
        SendToView(&gCalibrations[slot]);
    else
        View_SetCalibration(-1.0f, 0);
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
    float ratio = Calibration_PixelsPerUnit(lineLength, realLength);
    if (!(ratio > 0))
        return false;
    Calibration *c = &gCalibrations[slot];
    ForgetUnreadRecord(slot);
    c->unit = unit;
    c->lineLength = lineLength;
    c->realLength = realLength;
    c->pixelsPerUnit = ratio;
    c->calibratedOn = TodayAsNumber();
    c->captureSize = Calibration_PackSize(captureWidth, captureHeight);
    Settings_Save();
    // The applied slot shows its new record; the one only the picture's size
    // kept from being applied is made at this size now.
    if (slot == gApp.activeCalibration || slot == gApp.calibrationNotApplied)
        Calibration_Apply(slot);
    return true;
}

void Calibration_Delete(int slot)
{
    if (slot < 0 || slot >= CALIBRATION_SLOTS)
        return;
    ClearSlot(&gCalibrations[slot]);
    ForgetUnreadRecord(slot);
    if (slot == gSettings.appliedCalibration)
        gSettings.appliedCalibration = -1;
    Settings_Save();
    if (slot == gApp.activeCalibration)
        View_SetCalibration(-1.0f, 0);
    if (slot == gApp.activeCalibration || slot == gApp.calibrationNotApplied) {
        gApp.calibrationNotApplied = -1;
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
    ForgetUnreadRecord(slot);
    Settings_Save();
    if (slot == gApp.activeCalibration || slot == gApp.calibrationNotApplied) // the name is shown
        MainWnd_PostCommand(CMD_CALIBRATION_CHANGED);
}
