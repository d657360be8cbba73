// The few platform services the portable shell code needs. The Windows build
// implements them in platform_win.cpp; the host tests supply their own.
#pragma once
#include <cstddef>
#include <vector>

// Full path of the program file (GetModuleFileNameW); false when unknown.
bool Platform_ModulePath(wchar_t *path, size_t capacity);

// The user's Documents folder; false when the shell cannot tell.
bool Platform_DocumentsFolder(wchar_t *path, size_t capacity);

// Whether a folder (not a file) exists at path.
bool Folder_Exists(const wchar_t *path);

// Creates one folder; true when it exists as a folder afterwards.
bool Folder_Create(const wchar_t *path);

// Whether a file or a folder is at path (its attributes can be read).
bool Path_Exists(const wchar_t *path);

// The most "-N" suffixes File_MakeNameFree tries: "-2" to "-99".
enum { FREE_NAME_LAST_SUFFIX = 99 };

// Makes path the name of a new file that replaces nothing: left as it is
// when nothing is there, else with the first free "-2", "-3", ... put before
// its extension. False, with path unchanged, when every suffix up to
// FREE_NAME_LAST_SUFFIX is taken or the longer name does not fit.
bool File_MakeNameFree(wchar_t *path, size_t capacity);

// Reads a whole file of at most maxBytes; false when it cannot be opened,
// its size cannot be had, it is larger than maxBytes or is not read whole.
bool File_ReadAll(const wchar_t *path, size_t maxBytes, std::vector<unsigned char> *content);

// One line to the debugger output (OutputDebugStringW).
void Debug_Print(const wchar_t *line);
void Debug_Printf(const wchar_t *format, ...);
