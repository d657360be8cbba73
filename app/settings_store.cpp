#include "app/settings_store.h"

#include <cstring>

bool StoreValue_Number(uint32_t type, const void *data, size_t size, int32_t *value)
{
    if (type != STORE_TYPE_NUMBER || size != sizeof *value)
        return false;
    memcpy(value, data, sizeof *value);
    return true;
}

bool StoreValue_Text(uint32_t type, size_t size, wchar_t *text, size_t capacity)
{
    // A stored string need not carry its terminator; one that fills the whole
    // field without one does not fit.
    size_t chars = size / sizeof(wchar_t);
    if (chars > capacity)
        chars = capacity;
    if (chars > 0 && text[chars - 1] == 0)
        chars--;
    if (type != STORE_TYPE_TEXT || chars >= capacity) {
        text[0] = 0;
        return false;
    }
    text[chars] = 0;
    return true;
}
