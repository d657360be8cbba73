// Fixed-size wide text buffers: copying and formatting that always terminate
// and never write past the buffer.
#pragma once
#include <cstddef>
#include <cstdarg>

// Copies at most capacity - 1 characters of src and terminates dst.
void Text_Copy(wchar_t *dst, size_t capacity, const wchar_t *src);

// vswprintf into dst; formats use %ls for wide strings. On overflow the text
// is cut at the buffer's end. Returns the length written.
int Text_Format(wchar_t *dst, size_t capacity, const wchar_t *format, ...);
int Text_FormatV(wchar_t *dst, size_t capacity, const wchar_t *format, va_list args);

// Appends src to the text in dst, within capacity.
void Text_Append(wchar_t *dst, size_t capacity, const wchar_t *src);

size_t Text_Length(const wchar_t *text);
bool Text_Equal(const wchar_t *a, const wchar_t *b);
