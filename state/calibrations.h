// Calibration records: ten slots tying image pixels to millimetres or
// micrometres, kept packed in the "Calibrations" setting.
#pragma once
#include <cstdint>

enum {
    CALIBRATION_SLOTS = 10,
    CALIBRATION_NAME_CAPACITY = 20, // 19 characters and the terminator
    // gApp.activeCalibration while the scale an opened picture carries is
    // applied (no slot: the ten stay as they are).
    CALIBRATION_PICTURE = -2,
    PICTURE_SCALE_TEXT = 1373, // "Picture's scale"
};

struct Calibration {
    wchar_t name[CALIBRATION_NAME_CAPACITY];
    int32_t unit;         // 0 millimetres, anything else micrometres
    int32_t lineLength;   // calibration line in image pixels
    float realLength;     // the typed length of that line, in the unit
    int32_t captureSize;  // low 16 bits width, high 16 bits height
    int32_t calibratedOn; // year * 10000 + month * 100 + day
    float pixelsPerUnit;  // lineLength / realLength, -1.0 when not made
};

extern Calibration gCalibrations[CALIBRATION_SLOTS];

// "mm" for unit 0, "μm" for every other unit.
const wchar_t *Unit_Name(int32_t unit);

bool Calibration_IsUsable(const Calibration *calibration);
// lineLength / realLength; -1.0 when realLength is not positive or the
// ratio overflows.
float Calibration_PixelsPerUnit(int32_t lineLength, float realLength);
int32_t Calibration_PackSize(int width, int height);
int Calibration_Width(const Calibration *calibration);
int Calibration_Height(const Calibration *calibration);

// Rebuilds gCalibrations from gSettings.calibrationsText, and back. A damaged
// record leaves its slot empty and is written back as it was read until that
// slot is stored, renamed or deleted.
void Calibrations_Parse();
void Calibrations_Format();

// Whether a slot's calibration measures a picture of this size: it must be
// usable and made at that size.
enum CalibrationFit { CALIBRATION_NONE, CALIBRATION_FITS, CALIBRATION_OTHER_SIZE };
CalibrationFit Calibration_Fit(int slot, int width, int height);

// The operations of the calibration menu and dialogs. Each tells the camera
// view and the main window what changed, as the applied calibration needs.
// Applying and removing are the user's choice, kept in the settings.
void Calibration_Apply(int slot);
void Calibration_Remove();
// At a camera's start: applies the slot the user applied last when the
// picture has the size it was made at, else none (gApp.calibrationNotApplied
// then names the slot when only the size kept it from being applied). Tells
// the view; the caller tells the main window.
void Calibration_ApplyKept(int width, int height);
// Applies a still picture's own scale (pixels per unit; unit 0 mm, else µm)
// for as long as it is shown, without choosing a slot.
void Calibration_ApplyPicture(float pixelsPerUnit, int32_t unit);
bool Calibration_Store(int slot, int32_t unit, int32_t lineLength, float realLength,
                       int captureWidth, int captureHeight);
void Calibration_Delete(int slot);
void Calibration_Rename(int slot, const wchar_t *name);

// Copies a user-typed name into a slot's name field: cut to 19 characters,
// and ',' and ';' (which the packed text cannot carry) replaced by their
// full-width look-alikes.
void Calibration_SetName(Calibration *calibration, const wchar_t *name);
