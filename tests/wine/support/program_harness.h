// The whole program in the test process: settings from a fresh registry key,
// the real main window with its toolbar, view and status bar, and the
// virtual microscope opened by the view as at start-up.
#pragma once
#include "wine_support.h"

#include <windows.h>
#include <string>

struct ProgramHarness {
    ScopedRegistryKey key;
    ScratchFolder images{L"program-images"};
    HWND main = nullptr;

    // Loads the settings (image folder: the scratch folder) and creates the
    // main window shown maximised.
    ProgramHarness();
    ~ProgramHarness();
    // Closes the main window, as the program ends, and opens it again from
    // the stored settings, as the next start does.
    void Restart();

    // Pumps messages until the view shows frames of the open camera.
    bool WaitForCamera(DWORD timeout = 5000);
    // Plugs the virtual microscope in unless it is there, then waits for
    // its frames.
    bool StartCamera();
    // Pumps messages for a while, as the program's main loop does.
    void Run(DWORD milliseconds) const;
    // Pumps messages until the condition holds; false when it did not in time.
    template <typename Condition> bool RunUntil(Condition condition, DWORD timeout = 5000) const
    {
        for (DWORD waited = 0; waited < timeout; waited += 20) {
            if (condition())
                return true;
            Run(20);
        }
        return condition();
    }

    // A toolbar button pressed with the mouse, as a person would.
    void Click(int command) const;
    bool Checked(int command) const;
    // The text of a status-bar part.
    std::wstring StatusText(int part) const;

    // A press, two moves and a release in the camera view, at image points.
    void Drag(int imageX1, int imageY1, int imageX2, int imageY2) const;
    // The camera view's client point over an image point.
    POINT ViewPoint(int imageX, int imageY) const;

    // The main window as it is on the screen, as a PNG in screenshots/.
    bool Screenshot(const wchar_t *name) const;

private:
    void Open();
};

// Any top-level window (of this process or another) as it is on the screen;
// needs the image encoders found (Encoders_Find).
bool Window_Screenshot(HWND window, const wchar_t *name);
