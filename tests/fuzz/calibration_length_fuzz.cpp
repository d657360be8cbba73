// The length typed in the Calibration dialog (its field holds 64 characters):
// read as the C library reads the same decimal span, and a length the
// dialog passes on is stored only as a finite, positive scale.
#include "fuzz_support.h"

#include "state/calibrations.h"
#include "dialogs/calibration_table.h"
#include "support/fake_platform.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cwchar>
#include <cwctype>

enum { FIELD_CHARACTERS = 64 };

// The C library's reading of the text cut at the first character that no
// decimal number holds (which leaves out hexadecimal, "inf" and "nan").
static double Reference(const std::wstring &text)
{
    size_t start = 0;
    while (start < text.size() && iswspace(text[start]))
        start++;
    size_t end = text.find_first_not_of(L"0123456789+-.eE", start);
    std::wstring span = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    return wcstod(span.c_str(), nullptr);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    int32_t lineLength = input.ConsumeIntegralInRange<int32_t>(1, 65535);
    std::wstring text = Fuzz_Utf16(input.ConsumeRemainingBytesAsString());
    text = text.substr(0, text.find(L'\0')).substr(0, FIELD_CHARACTERS);

    double length = CalibrationLength_Parse(text.c_str());
    double expected = Reference(text);
    FUZZ_CHECK(length == expected || (std::isnan(length) && std::isnan(expected)));
    FUZZ_CHECK(!std::isnan(length));

    // What the dialog does with a positive length.
    if (!(length > 0))
        return 0;
    FakePlatform_Reset();
    if (Calibration_Store(0, 0, lineLength, (float)length, 640, 480)) {
        FUZZ_CHECK(std::isfinite(gCalibrations[0].pixelsPerUnit) && gCalibrations[0].pixelsPerUnit > 0);
        FUZZ_CHECK(Calibration_IsUsable(&gCalibrations[0]));
    }
    return 0;
}
