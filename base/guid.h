// A 16-byte class or type id with the layout of the platform's GUID.
#pragma once
#include <cstdint>
#include <cstring>

struct ClassId {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
};

inline bool ClassId_Equal(const ClassId &a, const ClassId &b)
{
    return memcmp(&a, &b, sizeof a) == 0;
}
