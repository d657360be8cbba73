// The screen's resolution. The program declares itself aware of the system
// DPI only: Windows tells it the real DPI at start and does not stretch its
// windows, and the DPI stays fixed while it runs.
#pragma once

// Pixels per logical inch of the screen (96 at 100 %, 144 at 150 %).
int Dpi_Screen();

// A length designed in pixels at 96 DPI, in pixels at the screen's DPI.
int Dpi_Scale(int pixelsAt96);
