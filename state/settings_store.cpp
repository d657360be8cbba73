// The rules that decide whether a stored value can be read, apart from where
// it is stored.
#include "state/settings_store.h"

bool Store_DecodeNumber(uint32_t type, const uint8_t *data, size_t size, int32_t *value)
{
    if (type != STORE_TYPE_NUMBER || size != 4)
        return false;
    *value = (int32_t)((uint32_t)data[0] | (uint32_t)data[1] << 8 | (uint32_t)data[2] << 16 | (uint32_t)data[3] << 24);
    return true;
}

bool Store_DecodeText(uint32_t type, const uint8_t *data, size_t size, wchar_t *text, size_t capacity)
{
    if (capacity == 0)
        return false;
    text[0] = 0;
    // A stored string need not carry its terminator; one that fills the whole
    // field without one does not fit. An odd last byte is no character.
    size_t chars = size / 2;
    if (chars > 0 && data[2 * chars - 2] == 0 && data[2 * chars - 1] == 0)
        chars--;
    if (type != STORE_TYPE_TEXT || chars >= capacity)
        return false;
    for (size_t i = 0; i < chars; i++)
        text[i] = (wchar_t)(data[2 * i] | data[2 * i + 1] << 8);
    text[chars] = 0;
    return true;
}
