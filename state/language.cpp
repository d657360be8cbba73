#include "state/language.h"

#include "state/app_state.h"
#include "base/commands.h"
#include "base/numbers.h"
#include "base/platform.h"
#include "state/settings.h"
#include "base/text.h"
#include "state/view_api.h"

#include <vector>

std::map<int32_t, std::wstring> gLanguageTexts;

// Each language's file and its name in its own language, by index.
static const struct {
    const wchar_t *file;
    const wchar_t *name;
} kLanguages[SHIPPED_LANGUAGES] = {
    {L"English.ini", L"English"},
    {L"Chinese.ini", L"\u7b80\u4f53\u4e2d\u6587"},
    {L"Russian.ini", L"\u0420\u0443\u0441\u0441\u043a\u0438\u0439"},
    {L"Ukrainian.ini", L"\u0423\u043a\u0440\u0430\u0457\u043d\u0441\u044c\u043a\u0430 \u043c\u043e\u0432\u0430"},
    {L"French.ini", L"Fran\u00e7ais"},
    {L"German.ini", L"Deutsch"},
    {L"Italian.ini", L"Italiano"},
    {L"Spanish.ini", L"Espa\u00f1ol"},
    {L"Portuguese.ini", L"Portugu\u00eas"},
    {L"Korean.ini", L"\ud55c\uad6d\uc5b4"},
};

const wchar_t *Language_FileName(int32_t language)
{
    if (language >= 1 && language < SHIPPED_LANGUAGES)
        return kLanguages[language].file;
    return kLanguages[0].file;
}

const wchar_t *Language_Name(int32_t language)
{
    return kLanguages[language].name;
}

static void AddLine(const std::wstring &line)
{
    size_t equals = line.find(L'=');
    if (equals == std::wstring::npos)
        return;
    std::wstring id = line.substr(0, equals);
    // insert() keeps the first line of an id.
    gLanguageTexts.insert({Number_ReadLong(id.c_str()), line.substr(equals + 1)});
}

void Language_Parse(const unsigned char *content, size_t size)
{
    std::wstring text;
    text.reserve(size / 2);
    for (size_t i = 0; i + 1 < size; i += 2)
        text.push_back((wchar_t)(content[i] | (content[i + 1] << 8)));
    size_t at = 0;
    if (!text.empty() && text[0] == 0xFEFF)
        at = 1;
    for (;;) {
        size_t end = text.find(L"\r\n", at);
        if (end == std::wstring::npos)
            break; // a last line without CR LF is not read
        AddLine(text.substr(at, end - at));
        at = end + 2;
    }
}

void Language_Load()
{
    gLanguageTexts.clear();
    wchar_t path[PATH_CAPACITY];
    bool whole = Text_Format(path, PATH_CAPACITY, L"%ls\\%ls", gApp.moduleFolder,
                             Language_FileName(gSettings.language));
    std::vector<unsigned char> content;
    if (!whole || !File_ReadAll(path, LANGUAGE_FILE_LIMIT, &content))
        return;
    Language_Parse(content.data(), content.size());
    Debug_Printf(L"read: %d, %d\r\n", (int)gLanguageTexts.size(), gSettings.language);
}

const wchar_t *Language_Text(int32_t id)
{
    return gLanguageTexts[id].c_str();
}

bool Language_Message(wchar_t *text, size_t capacity, int32_t id, const wchar_t *english, const wchar_t *value)
{
    return Language_MessageAll(text, capacity, id, english, &value, 1);
}

bool Language_MessageAll(wchar_t *text, size_t capacity, int32_t id, const wchar_t *english,
                         const wchar_t *const *values, int count)
{
    const wchar_t *pattern = Language_Text(id);
    return Text_SubstituteAll(text, capacity, pattern[0] ? pattern : english, values, count);
}

void Language_Select(int32_t language)
{
    if (language == gSettings.language)
        return;
    gSettings.language = language;
    Settings_Save();
    Language_Load();
    Panel_PostCommand(CMD_PANEL_TEXTS);
    View_SetTexts(Language_Text(1229), Language_Text(1228));
}
