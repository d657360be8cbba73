#pragma once

// Makes sure that every folder along a full path exists, creating the missing
// ones from the root down. Returns true when all exist afterwards. A file that
// stands where a folder belongs is left alone and makes the result false; a
// path longer than PATH_CAPACITY - 1 characters creates nothing.
bool Folder_Ensure(const wchar_t *path);
