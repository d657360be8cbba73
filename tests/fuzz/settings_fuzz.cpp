// The settings load with any registry values: the input decides, for every
// value name the program reads, whether it exists, its type and its bytes.
// Afterwards every setting must be one the rest of the program can take.
#include "fuzz_support.h"

#include "state/calibrations.h"
#include "state/settings.h"
#include "state/settings_cameras.h"
#include "support/fake_platform.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <cwchar>
#include <vector>

// REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_DWORD_BIG_ENDIAN,
// REG_MULTI_SZ, REG_QWORD.
static const uint32_t kTypes[] = {0, 1, 2, 3, 4, 5, 7, 11};

// The names the load asks for, learnt from one load of an empty store, so
// that a setting added later is fuzzed too.
static const std::vector<std::wstring> &ReadNames()
{
    static std::vector<std::wstring> names;
    if (names.empty()) {
        FakePlatform_Reset();
        Settings_Load();
        names = gFake.storeReads;
    }
    return names;
}

static bool Terminated(const wchar_t *text, size_t capacity)
{
    return wmemchr(text, 0, capacity) != nullptr;
}

static bool InRange(int32_t value, int32_t low, int32_t high)
{
    return value >= low && value <= high;
}

static void CheckSettings()
{
    const Settings &s = gSettings;
    FUZZ_CHECK(InRange(s.language, 0, LANGUAGE_COUNT - 1));
    FUZZ_CHECK(Palette_Contains(s.gridColor) && Palette_Contains(s.lineColor) && Palette_Contains(s.textColor));
    FUZZ_CHECK(InRange(s.lineWidth, 1, 2));
    FUZZ_CHECK(InRange(s.textSize, 8, 24));
    FUZZ_CHECK(InRange(s.imageFormat, 0, 2) && InRange(s.videoFormat, 0, 1));
    FUZZ_CHECK(InRange(s.maxRecordTime, 0, MAX_RECORD_SECONDS));
    // The menu toggles the panel as 1 - showCtrlPanel.
    FUZZ_CHECK(InRange(s.showCtrlPanel, 0, 1));
    FUZZ_CHECK(Terminated(s.imageFolder, IMAGE_FOLDER_CAPACITY) && s.imageFolder[0] != 0);
    FUZZ_CHECK(Terminated(s.calibrationsText, CALIBRATIONS_TEXT_CAPACITY));
    FUZZ_CHECK(Terminated(s.reportTitle, REPORT_TITLE_CAPACITY));
    for (const Calibration &c : gCalibrations)
        FUZZ_CHECK(Terminated(c.name, CALIBRATION_NAME_CAPACITY));
    FUZZ_CHECK(InRange(s.appliedCalibration, -1, CALIBRATION_SLOTS - 1));
    FUZZ_CHECK(InRange(s.timeLapseSeconds, 1, TIME_LAPSE_MAX_SECONDS) &&
               InRange(s.timeLapseCount, 0, TIME_LAPSE_MAX_PICTURES) && InRange(s.timeLapseFormat, 0, 2) &&
               InRange(s.timeLapseVideo, 0, 1) && InRange(s.timeLapseRate, 1, TIME_LAPSE_MAX_RATE));
    FUZZ_CHECK(Terminated(s.timeLapseFolder, IMAGE_FOLDER_CAPACITY));
    // The cameras read are whole, close up, each once, and write back as read.
    bool freeBefore = false;
    for (const CameraMemory &m : gCameraMemory) {
        FUZZ_CHECK(Terminated(m.devicePath, CAMERA_PATH_CAPACITY));
        FUZZ_CHECK(!(freeBefore && m.devicePath[0]));
        freeBefore = freeBefore || !m.devicePath[0];
        if (!m.devicePath[0])
            continue;
        FUZZ_CHECK(CameraMemory_Find(m.devicePath) == &m);
        for (const KeptProperty &p : m.properties)
            FUZZ_CHECK(InRange(p.mode, KEPT_NONE, KEPT_AUTO_AFTER_MANUAL));
        FUZZ_CHECK(InRange(m.powerLine, 0, 2));
        wchar_t text[CAMERA_MEMORY_TEXT_CAPACITY];
        CameraMemory again;
        FUZZ_CHECK(CameraMemory_Format(m, text, CAMERA_MEMORY_TEXT_CAPACITY) && CameraMemory_Parse(text, &again) &&
                   memcmp(&again, &m, sizeof m) == 0);
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::vector<std::wstring> &names = ReadNames();
    FakePlatform_Reset();
    FuzzedDataProvider input(data, size);
    for (const std::wstring &name : names) {
        if (!input.ConsumeBool())
            continue;
        FakePlatform::StoredValue &value = gFake.stored[name];
        value.type = input.PickValueInArray(kTypes);
        // Up to a little beyond the longest text field, in UTF-16 bytes.
        value.bytes = input.ConsumeBytes<unsigned char>(input.ConsumeIntegralInRange<size_t>(0, 2100));
    }
    Settings_Load();
    CheckSettings();
    return 0;
}
