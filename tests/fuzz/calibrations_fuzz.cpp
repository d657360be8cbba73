// The "Calibrations" setting as any text: every slot comes out well-formed,
// and what is written back reads again into the same slots and text.
#include "fuzz_support.h"

#include "state/calibrations.h"
#include "state/settings.h"
#include "base/text.h"

#include <cmath>
#include <cstring>
#include <cwchar>

static void CheckSlots()
{
    for (const Calibration &c : gCalibrations) {
        FUZZ_CHECK(wmemchr(c.name, 0, CALIBRATION_NAME_CAPACITY) != nullptr);
        FUZZ_CHECK(wcspbrk(c.name, L",;") == nullptr);
        // A slot without a positive length is not made, whatever its line.
        FUZZ_CHECK(std::isfinite(c.pixelsPerUnit));
        FUZZ_CHECK(c.realLength > 0 || c.pixelsPerUnit == -1.0f);
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::wstring input = Fuzz_Utf16(data, size);
    Text_Copy(gSettings.calibrationsText, CALIBRATIONS_TEXT_CAPACITY, input.c_str());
    Calibrations_Parse();
    CheckSlots();

    Calibrations_Format();
    FUZZ_CHECK(wmemchr(gSettings.calibrationsText, 0, CALIBRATIONS_TEXT_CAPACITY) != nullptr);
    size_t records = 0;
    for (const wchar_t *p = gSettings.calibrationsText; *p; p++)
        records += *p == L';';
    FUZZ_CHECK(records == CALIBRATION_SLOTS);

    static Calibration first[CALIBRATION_SLOTS];
    static wchar_t written[CALIBRATIONS_TEXT_CAPACITY];
    memcpy(first, gCalibrations, sizeof first);
    memcpy(written, gSettings.calibrationsText, sizeof written);
    Calibrations_Parse();
    FUZZ_CHECK(memcmp(first, gCalibrations, sizeof first) == 0);
    Calibrations_Format();
    FUZZ_CHECK(wcscmp(written, gSettings.calibrationsText) == 0);
    return 0;
}
