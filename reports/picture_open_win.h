// Opening a saved picture (JPG, PNG, BMP, TIFF) in the view in place of the
// camera's picture.
#pragma once
#include <windows.h>
#include <commdlg.h>

// The Open dialog; the Wine tests point it at their own answer.
extern BOOL(WINAPI *Picture_GetOpenFileName)(OPENFILENAMEW *dialog);

// Command 3095 while the camera's picture is shown: asks for a picture and
// opens it.
void Picture_Choose();
// Reads, checks and decodes the file and shows it (View_ShowStill) with the
// scale a TIFF carries. A file that cannot be shown is named in a prompt
// with the reason (texts 1376 to 1380), and the view stays as it was.
bool Picture_Open(const wchar_t *path);
