// The rich-text report with any title, font names and column labels: the
// document stays 7-bit, its groups balance, every special character of the
// texts is escaped, and the escapes of a text run decode to that text.
#include "fuzz_support.h"

#include "state/language.h"
#include "state/settings.h"
#include "base/text.h"
#include "reports/report_values.h"
#include "reports/rtf_report.h"
#include "reports/rtf_writer.h"
#include "view/view_state.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstdlib>

static std::wstring Take(FuzzedDataProvider &input)
{
    std::wstring text = Fuzz_Utf16(input.ConsumeRandomLengthString(300));
    return text.substr(0, text.find(L'\0'));
}

// One group holding the whole document; after "\" comes a control word, an
// escaped special or a hex byte.
static void CheckWellFormed(const std::string &rtf)
{
    int depth = 0;
    bool closed = false;
    for (size_t i = 0; i < rtf.size(); i++) {
        unsigned char c = (unsigned char)rtf[i];
        FUZZ_CHECK(c < 0x80 && (c >= 0x20 || c == '\n'));
        FUZZ_CHECK(!closed || c == '\n');
        if (c == '\\') {
            FUZZ_CHECK(i + 1 < rtf.size());
            char next = rtf[++i];
            if (next == '\'') {
                FUZZ_CHECK(i + 2 < rtf.size() && isxdigit((unsigned char)rtf[i + 1]) &&
                           isxdigit((unsigned char)rtf[i + 2]));
                i += 2;
            } else {
                FUZZ_CHECK(isalpha((unsigned char)next) || next == '\\' || next == '{' || next == '}');
            }
        } else if (c == '{') {
            depth++;
        } else if (c == '}') {
            FUZZ_CHECK(--depth >= 0);
            closed = depth == 0;
        }
    }
    FUZZ_CHECK(depth == 0 && closed);
}

// The text of a run that Rtf_Text wrote.
static std::wstring Decode(const std::string &rtf)
{
    std::wstring text;
    for (size_t i = 0; i < rtf.size();) {
        if (rtf[i] != '\\') {
            text.push_back((wchar_t)(unsigned char)rtf[i++]);
            continue;
        }
        char next = rtf[i + 1];
        if (next == '\\' || next == '{' || next == '}') {
            text.push_back((wchar_t)next);
            i += 2;
        } else if (rtf.compare(i, 5, "\\tab ") == 0) {
            text.push_back(L'\t');
            i += 5;
        } else {
            FUZZ_CHECK(next == 'u');
            char *end;
            long unit = strtol(rtf.c_str() + i + 2, &end, 10);
            FUZZ_CHECK(unit >= -32768 && unit <= 32767);
            i = (size_t)(end - rtf.c_str());
            FUZZ_CHECK(rtf.compare(i, 2, "\\'") == 0 && i + 4 <= rtf.size()); // the fallback byte
            text.push_back((wchar_t)(uint16_t)unit);
            i += 4;
        }
    }
    return text;
}

// A run holds every character but the control characters other than tab.
static std::wstring Printable(const std::wstring &text)
{
    std::wstring kept;
    for (wchar_t c : text)
        if ((c >= 0x20 && c != 0x7f) || c == L'\t')
            kept.push_back(c);
    return kept;
}

static void CheckRun(const std::wstring &text)
{
    std::string run;
    Rtf_Text(&run, text.c_str());
    CheckWellFormed("{" + run + "}");
    FUZZ_CHECK(Decode(run) == Printable(text));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    gLanguageTexts.clear();
    gLanguageTexts[REPORT_TEXT_FACE_TEXT] = Take(input);
    gLanguageTexts[REPORT_TITLE_FACE_TEXT] = Take(input);
    gLanguageTexts[REPORT_DEFAULT_TITLE_TEXT] = Take(input);
    for (int column = 0; column < REPORT_COLUMNS; column++)
        gLanguageTexts[REPORT_LABEL_TEXT + column] = Take(input);
    std::wstring title = Take(input);
    Text_Copy(gSettings.reportTitle, REPORT_TITLE_CAPACITY, title.c_str());

    gView.scale = -1.0f;
    gView.items.assign(1, MeasureItem{});
    MeasureItem &item = gView.items[0];
    item.kind = input.ConsumeIntegralInRange<int32_t>(ITEM_LINE, ITEM_ANGLE);
    item.x1 = input.ConsumeIntegral<int16_t>();
    item.y1 = input.ConsumeIntegral<int16_t>();
    item.x2 = input.ConsumeIntegral<int16_t>();
    item.y2 = input.ConsumeIntegral<int16_t>();
    item.x3 = input.ConsumeIntegral<int16_t>();
    item.y3 = input.ConsumeIntegral<int16_t>();

    static const uint8_t kPixels[2 * 4] = {1, 2, 3, 0, 4, 5, 6, 0};
    RtfPicture picture = {2, 1, kPixels, 8};
    LocalTime when = {2026, 12, 8, 18, 30, 5, 0};
    std::string rtf;
    Report_ComposeRtf(when, input.ConsumeBool() ? &picture : nullptr, &rtf);
    CheckWellFormed(rtf);

    for (int id : {(int)REPORT_TEXT_FACE_TEXT, (int)REPORT_TITLE_FACE_TEXT, (int)REPORT_LABEL_TEXT})
        CheckRun(gLanguageTexts[id]);
    CheckRun(title);
    return 0;
}
