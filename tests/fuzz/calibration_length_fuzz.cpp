// The length typed in the Calibration dialog (its field holds 64 characters):
// read as the C library reads the same text with its comma made a point, and
// a length the dialog passes on is stored only as a finite, positive scale.
#include "fuzz_support.h"

#include "state/calibrations.h"
#include "dialogs/calibration_table.h"
#include "support/fake_platform.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cfloat>
#include <cmath>
#include <cwchar>
#include <cwctype>

// The C library's reading of the text without its blanks around, with a
// comma taken for the point; false unless it reads all of it as a decimal
// number (not hexadecimal, "inf" or "nan").
static bool Reference(const std::wstring &text, double *value)
{
    size_t start = 0, end = text.size();
    while (start < end && iswspace(text[start]))
        start++;
    while (end > start && iswspace(text[end - 1]))
        end--;
    std::wstring span = text.substr(start, end - start);
    if (span.empty() || span.find_first_not_of(L"0123456789+-.,eE") != std::wstring::npos)
        return false;
    for (wchar_t &c : span)
        c = c == L',' ? L'.' : c;
    wchar_t *stop = nullptr;
    *value = wcstod(span.c_str(), &stop);
    return *stop == 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    int32_t lineLength = input.ConsumeIntegralInRange<int32_t>(1, 65535);
    std::wstring text = Fuzz_Utf16(input.ConsumeRemainingBytesAsString());
    text = text.substr(0, text.find(L'\0')).substr(0, LENGTH_TEXT_CAPACITY - 1);

    float length = -1;
    LengthVerdict verdict = CalibrationLength_Read(text.c_str(), lineLength, &length);
    double expected = 0;
    bool number = Reference(text, &expected);
    FUZZ_CHECK(number == (verdict != LENGTH_EMPTY && verdict != LENGTH_NOT_A_NUMBER));
    FUZZ_CHECK(verdict == LENGTH_READ || CalibrationLength_RefusalText(verdict) != 0);
    if (number && expected < 0)
        FUZZ_CHECK(verdict == LENGTH_NOT_POSITIVE);
    if (number && expected > FLT_MAX)
        FUZZ_CHECK(verdict == LENGTH_TOO_LARGE);
    if (number && expected >= 1e-30 && expected <= FLT_MAX) // a scale of at most 6.6e34
        FUZZ_CHECK(verdict == LENGTH_READ);
    if (verdict != LENGTH_READ) {
        FUZZ_CHECK(length == -1);
        return 0;
    }
    FUZZ_CHECK(length == (float)expected && length > 0);

    // What the dialog does with it.
    FakePlatform_Reset();
    FUZZ_CHECK(Calibration_Store(0, 0, lineLength, length, 640, 480));
    FUZZ_CHECK(std::isfinite(gCalibrations[0].pixelsPerUnit) && gCalibrations[0].pixelsPerUnit > 0);
    FUZZ_CHECK(Calibration_IsUsable(&gCalibrations[0]));
    return 0;
}
