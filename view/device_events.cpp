#include "view/device_events.h"

#include "base/guid.h"
#include "view/view_state.h"

#include <cstring>

// KSCATEGORY_CAPTURE {65E8773D-8F56-11D0-A3B9-00A0C9223196}
static const ClassId kCaptureCategory = {0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

bool View_DeviceDelayTick()
{
    if (gView.deviceDelay == 0)
        return false;
    gView.deviceDelay += 100;
    if (gView.deviceDelay <= 800)
        return false;
    gView.deviceDelay = 0;
    return true;
}

bool DeviceChange_IsCaptureInterface(const uint8_t *record, size_t size)
{
    // dbch_size, dbch_devicetype (5 = device interface), dbch_reserved, then the class GUID.
    if (!record || size < 12 + sizeof(ClassId))
        return false;
    uint32_t deviceType;
    memcpy(&deviceType, record + 4, sizeof deviceType);
    ClassId category;
    memcpy(&category, record + 12, sizeof category);
    return deviceType == 5 && ClassId_Equal(category, kCaptureCategory);
}
