#include "capture/camera_graph.h"
#include "capture/devices.h"

std::vector<DeviceEntry> gDevices;
int32_t gDeviceIndex = -1;

bool Device_NameIsListed(const std::wstring &friendlyName)
{
    // Built-in cameras (laptop lids, Microsoft's own) are not microscopes.
    return !friendlyName.empty() && friendlyName.find(L"Integrated") == std::wstring::npos &&
           friendlyName.find(L"Microsoft") == std::wstring::npos;
}
