// Where a report goes: the save dialog, and a file that is either written
// whole or left as it was.
#pragma once
#include "base/clock.h"

#include <windows.h>
#include <commdlg.h>

// The save dialog (GetSaveFileNameW); tests point it elsewhere to answer
// for the user.
extern BOOL(WINAPI *Report_GetSaveFileName)(OPENFILENAMEW *dialog);

// A file dialog over the main window, opening in the image folder, for a
// path of PATH_CAPACITY characters (what it holds is proposed).
OPENFILENAMEW File_DialogSetup(const wchar_t *filter, wchar_t *path);

// Asks where to save a report of that extension ("xlsx", "rtf"), proposing
// a new file in the image folder named by the moment; false on Cancel.
bool Report_ChooseFile(const LocalTime &now, const wchar_t *filter, const wchar_t *extension, wchar_t *path);

// Writes the report through write into a new file beside path, which then
// replaces path; the old file stays untouched when anything fails, and the
// user is told. write gets the file's name and returns whether it wrote it all.
using ReportWriter = bool (*)(const wchar_t *file, const void *context);
bool Report_WriteFile(const wchar_t *path, ReportWriter write, const void *context);

// Writes size bytes as the whole of a new or emptied file; false when it
// cannot be opened, written whole or closed.
bool Report_WriteBytes(const wchar_t *file, const void *data, size_t size);
