#include "capture/camera_state.h"

#include "capture/camera_graph.h"

Camera gCamera;
std::vector<DeviceEntry> gDevices;
int32_t gDeviceIndex = -1;
