// What every fuzz target shares: property checks that end the run, and the
// fuzzer's bytes read as the Windows build's 16-bit wide text.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// A violated property prints itself and aborts, which libFuzzer reports as a
// crash with the input that caused it.
#define FUZZ_CHECK(condition) ((condition) ? (void)0 : Fuzz_Fail(#condition, __FILE__, __LINE__))
[[noreturn]] void Fuzz_Fail(const char *condition, const char *file, int line);

// UTF-16LE code units, one wchar_t each (an odd last byte is dropped); zero
// units are kept, so callers that need a C string cut at the first one.
std::wstring Fuzz_Utf16(const uint8_t *data, size_t size);
std::wstring Fuzz_Utf16(const std::string &bytes);
