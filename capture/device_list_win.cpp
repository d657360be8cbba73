// The list of video-input devices: refreshed from the system device
// enumerator, keeping the place of every device that is still present.
#include "capture/camera_graph.h"
#include "capture/devices.h"
#include "capture/dshow_win.h"
#include "base/scoped_win.h"
#include "base/platform.h"

static void ReleaseEntry(DeviceEntry *entry)
{
    Com_Release(entry->filter);
    Com_Release(entry->moniker);
    entry->yuy2Formats.clear();
    entry->mjpgFormats.clear();
}

void Camera_FreeDevices()
{
    for (DeviceEntry &entry : gDevices)
        ReleaseEntry(&entry);
    gDevices.clear();
}

// False when the device's property bag cannot be opened.
static bool ReadFriendlyName(IMoniker *moniker, std::wstring *name)
{
    ComPtr<IPropertyBag> bag;
    if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.PutVoid())) || !bag)
        return false;
    VARIANT value;
    VariantInit(&value);
    if (SUCCEEDED(bag->Read(L"FriendlyName", &value, nullptr)) && value.vt == VT_BSTR && value.bstrVal)
        *name = value.bstrVal;
    VariantClear(&value);
    return true;
}

std::wstring Camera_DisplayName(IMoniker *moniker)
{
    ComPtr<IBindCtx> context;
    CreateBindCtx(0, context.Put());
    LPOLESTR name = nullptr;
    std::wstring path;
    if (SUCCEEDED(moniker->GetDisplayName(context.Get(), nullptr, &name)) && name)
        path = name;
    CoTaskMemFree(name);
    return path;
}

// Takes over the reference of the moniker.
static void ConsiderMoniker(IMoniker *moniker)
{
    std::wstring friendlyName, devicePath;
    if (ReadFriendlyName(moniker, &friendlyName) && Device_NameIsListed(friendlyName))
        devicePath = Camera_DisplayName(moniker);
    if (devicePath.empty()) {
        moniker->Release();
        return;
    }
    for (DeviceEntry &entry : gDevices) {
        if (entry.moniker && entry.moniker->IsEqual(moniker) == S_OK) {
            entry.stale = 0;
            moniker->Release();
            return;
        }
    }
    gDevices.push_back({moniker, nullptr, devicePath, friendlyName, {}, {}, 0});
}

void Camera_EnumDevices()
{
    for (DeviceEntry &entry : gDevices)
        entry.stale = 1;

    ComPtr<ICreateDevEnum> devices;
    ComPtr<IEnumMoniker> category;
    CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                     devices.PutVoid());
    if (!devices || devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, category.Put(), 0) != S_OK) {
        Camera_FreeDevices();
        return;
    }
    IMoniker *moniker = nullptr;
    while (category->Next(1, &moniker, nullptr) == S_OK)
        ConsiderMoniker(moniker);

    for (size_t i = gDevices.size(); i-- > 0;) {
        if (gDevices[i].stale) {
            ReleaseEntry(&gDevices[i]);
            gDevices.erase(gDevices.begin() + (ptrdiff_t)i);
        }
    }
}

void Camera_BindDevice(DeviceEntry *device)
{
    if (!device->moniker || device->filter)
        return;
    ComPtr<IBindCtx> context;
    CreateBindCtx(0, context.Put());
    HRESULT hr = device->moniker->BindToObject(context.Get(), nullptr, IID_IBaseFilter, (void **)&device->filter);
    if (FAILED(hr)) {
        device->filter = nullptr;
        Debug_Printf(L"%x %x %x %x %x %x %x %x\r\n", (unsigned)hr, (unsigned)MK_E_NOOBJECT,
                     (unsigned)MK_E_EXCEEDEDDEADLINE, (unsigned)MK_E_CONNECTMANUALLY,
                     (unsigned)MK_E_INTERMEDIATEINTERFACENOTSUPPORTED, (unsigned)E_UNEXPECTED,
                     (unsigned)E_OUTOFMEMORY, (unsigned)STG_E_ACCESSDENIED);
    } else {
        Debug_Print(L"moniker->BindToObject -- OK\r\n");
    }
}
