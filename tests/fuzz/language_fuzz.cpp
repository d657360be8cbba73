// A language file of any content, read through the file seam as the program
// reads it at start: every text kept is one whole line's, and looking texts
// up afterwards is safe.
#include "fuzz_support.h"

#include "state/app_state.h"
#include "state/language.h"
#include "state/settings.h"
#include "base/text.h"
#include "support/fake_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FakePlatform_Reset();
    Text_Copy(gApp.moduleFolder, PATH_CAPACITY, L"C:\\Quorell");
    gSettings.language = 0;
    gFake.files[L"C:\\Quorell\\English.ini"].assign(data, data + size);
    Language_Load();

    std::wstring content = Fuzz_Utf16(data, size);
    size_t lines = 0;
    for (size_t at = 0; (at = content.find(L"\r\n", at)) != std::wstring::npos; at += 2)
        lines++;
    FUZZ_CHECK(gLanguageTexts.size() <= lines);
    int searched = 0;
    for (const auto &[id, text] : gLanguageTexts) {
        FUZZ_CHECK(text.find(L"\r\n") == std::wstring::npos);
        if (searched++ < 16) // each search is a scan of the whole file
            FUZZ_CHECK(content.find(text + L"\r\n") != std::wstring::npos);
    }
    // The ids the program asks for, including those a file may lack.
    for (int32_t id : {0, 1229, 1600, 1700, INT32_MIN, INT32_MAX})
        FUZZ_CHECK(Language_Text(id) != nullptr);
    return 0;
}
