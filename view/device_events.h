// The camera view's device countdown and the device-change messages it
// listens to.
#pragma once
#include <cstddef>
#include <cstdint>

enum {
    DEVICE_DELAY_AT_CREATION = 718, // fires at the first 100 ms tick
    DEVICE_DELAY_AT_ARRIVAL = 1,    // fires at the eighth tick
};

// One tick of timer 16: true when the countdown has run out and a camera
// should be opened now.
bool View_DeviceDelayTick();

// Whether a WM_DEVICECHANGE broadcast record (DEV_BROADCAST_HDR and what
// follows) is a device interface of the capture category.
bool DeviceChange_IsCaptureInterface(const uint8_t *record, size_t size);
