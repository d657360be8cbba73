// Fixed-size wide text buffers: copying and formatting that always terminate
// and never write past the buffer. Each reports whether the whole text fit:
// false means it was cut, and a cut path must not be used to make anything.
#pragma once
#include <cstddef>
#include <cstdarg>

// Copies at most capacity - 1 characters of src and terminates dst.
bool Text_Copy(wchar_t *dst, size_t capacity, const wchar_t *src);

// vswprintf into dst; formats use %ls for wide strings. On overflow the text
// is cut at the buffer's end.
bool Text_Format(wchar_t *dst, size_t capacity, const wchar_t *format, ...);
bool Text_FormatV(wchar_t *dst, size_t capacity, const wchar_t *format, va_list args);

// Appends src to the text in dst, within capacity.
bool Text_Append(wchar_t *dst, size_t capacity, const wchar_t *src);

// Copies pattern with its first "%s" replaced by value. Nothing else in the
// pattern is interpreted, so texts from a language file are safe here.
bool Text_Substitute(wchar_t *dst, size_t capacity, const wchar_t *pattern, const wchar_t *value);
// The same for count values, in the order of the pattern's "%s" marks; a
// value is never searched for marks, and marks beyond count stay.
bool Text_SubstituteAll(wchar_t *dst, size_t capacity, const wchar_t *pattern, const wchar_t *const *values,
                        int count);

size_t Text_Length(const wchar_t *text);
// The file's name after its folders (the part after the last backslash).
const wchar_t *Text_FileName(const wchar_t *path);
bool Text_Equal(const wchar_t *a, const wchar_t *b);
