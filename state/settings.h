// The user preferences: one record loaded at start-up from the per-user store
// and written back whole whenever a preference changes.
#pragma once
#include "state/app_state.h"
#include <cstdint>

enum {
    IMAGE_FOLDER_CAPACITY = 260,
    // Ten calibration records of up to ~65 characters each must fit whole.
    CALIBRATIONS_TEXT_CAPACITY = 1024,
    REPORT_TITLE_CAPACITY = 64,
    PALETTE_SIZE = 12,
    LANGUAGE_COUNT = 12,
    MAX_RECORD_SECONDS = 28800,
    TIME_LAPSE_MAX_SECONDS = 86400, // the longest interval: a day
    TIME_LAPSE_MAX_PICTURES = 99999,
    TIME_LAPSE_MAX_RATE = 60,       // pictures per second of the series' video
};

struct Settings {
    int32_t language;
    int32_t captureWidth;
    int32_t captureHeight;
    uint32_t gridColor;
    uint32_t lineColor;
    uint32_t textColor;
    int32_t lineWidth;
    int32_t textSize;
    wchar_t imageFolder[IMAGE_FOLDER_CAPACITY];
    int32_t imageFormat;   // 0 JPG, 1 PNG, 2 TIFF
    // 0: snapshots at the picture's own size, items and overlays drawn at
    // picture scale, whatever the zoom; 1: as shown on the screen.
    int32_t snapshotAsShown;
    int32_t showScaleBar; // the scale bar over the calibrated picture
    // 1: the view and snapshots show each measuring item's number, as the
    // reports number their lines; 0 (the default): no numbers.
    int32_t itemNumbers;
    int32_t videoFormat;   // 0 WMV, 1 MP4
    int32_t maxRecordTime; // seconds, 0 = no limit
    int32_t recordSplit;   // seconds, kept only in memory
    int32_t firstUse;
    int32_t showCtrlPanel;
    wchar_t calibrationsText[CALIBRATIONS_TEXT_CAPACITY];
    wchar_t reportTitle[REPORT_TITLE_CAPACITY];
    // The calibration slot the user applied last, -1 for none: applied again
    // when a camera opens with the picture size it was made at.
    int32_t appliedCalibration;
    // The time-lapse series: seconds between pictures (1 to a day), their
    // number (0: until stopped), the folder its subfolders go in (empty: the
    // image folder), the pictures' format (as imageFormat) and whether a
    // video of it is made at the end, at timeLapseRate pictures per second.
    int32_t timeLapseSeconds;
    int32_t timeLapseCount;
    wchar_t timeLapseFolder[IMAGE_FOLDER_CAPACITY];
    int32_t timeLapseFormat;
    int32_t timeLapseVideo;
    int32_t timeLapseRate;
};

extern Settings gSettings;

// The colours offered for overlays, lines and texts (0x00BBGGRR).
extern const uint32_t kPalette[PALETTE_SIZE];
bool Palette_Contains(uint32_t color);

// Fills gSettings and gApp.moduleFolder, loads the language file and the
// calibrations, and makes sure the image folder and its Thumbnails exist.
bool Settings_Load();

// Writes every stored field, then makes sure the Thumbnails folder exists.
bool Settings_Save();

// Steps of the load, exposed for tests.
void Settings_SetPresets();
void Settings_CheckRanges();
