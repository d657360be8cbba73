// User-visible texts by numeric id, read from a language file beside the
// program (UTF-16LE lines "id=text" ended by CR LF).
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

enum { LANGUAGE_FILE_LIMIT = 524288000 };
// Not an enumerator: the language menu's command ids, another enumeration,
// are counted with it.
constexpr int32_t SHIPPED_LANGUAGES = 10;

extern std::map<int32_t, std::wstring> gLanguageTexts;

// The file of a language index: "English.ini" for 0, 10, 11 and anything unknown.
const wchar_t *Language_FileName(int32_t language);
// The name of language 0 to SHIPPED_LANGUAGES - 1 in that language, as the
// language menu offers it.
const wchar_t *Language_Name(int32_t language);

// Fills gLanguageTexts from file content (the table is not emptied first).
// A byte-order mark at the start is skipped.
void Language_Parse(const unsigned char *content, size_t size);

// Empties the table and reloads it from the file of gSettings.language.
void Language_Load();

// The text of an id; an id the table lacks yields "" (and is added as such).
const wchar_t *Language_Text(int32_t id);
// A message: the text of id with value in place of its %s, or the English
// pattern where the table lacks the text, so that the message still gets
// across. False when it was cut to capacity.
bool Language_Message(wchar_t *text, size_t capacity, int32_t id, const wchar_t *english, const wchar_t *value);
// The same with count values for the text's "%s" marks, in their order.
bool Language_MessageAll(wchar_t *text, size_t capacity, int32_t id, const wchar_t *english,
                         const wchar_t *const *values, int count);

// Switches to another language: saves the choice, reloads the table and
// passes the new texts to the control panel and the camera view.
void Language_Select(int32_t language);
