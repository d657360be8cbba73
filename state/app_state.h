// gApp: the application shell's own record (window handles, layout metrics,
// image encoders, the last saved file and the applied calibration).
#pragma once
#include "base/guid.h"
#include "base/handles.h"
#include <cstdint>

enum { PATH_CAPACITY = 260 };

struct App {
    HINSTANCE__ *instance;
    wchar_t moduleFolder[PATH_CAPACITY];
    HWND__ *mainWindow;
    HWND__ *toolbar;
    HWND__ *statusBar;
    HWND__ *zoomSlider;
    HWND__ *cameraView;
    HWND__ *controlPanel;
    HWND__ *calibrationDialog;
    HWND__ *textInputDialog;
    int32_t toolbarHeight;
    int32_t statusBarHeight;
    int32_t panelWidth;
    int32_t statusPartWidth;
    ClassId bmpEncoder;
    ClassId jpegEncoder;
    ClassId pngEncoder;
    HFONT__ *promptFont;
    wchar_t lastSavedFile[PATH_CAPACITY];
    int32_t activeCalibration;
    // The slot the user applied last while the picture has another size than
    // it was made at (so it is not applied), -1 otherwise.
    int32_t calibrationNotApplied;
};

extern App gApp;
