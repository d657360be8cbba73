// Plugging and unplugging a virtual microscope: its entry under the
// video-input category, and the device-change announcement.
//
// Wine sends WM_DEVICECHANGE for device interfaces only when its plug-and-play
// service sees a real device appear; a filter registered in the category is
// no such device, so nothing reaches a window that called
// RegisterDeviceNotificationW. A broadcast reaches only top-level windows, and
// the program's camera view is a child window, so the announcement is also
// sent straight to every window of class CameraWndClass.
#include "rig_plug.h"
#include "rig_shared.h"

#include <dbt.h>
#include <dshow.h>
#include <ks.h>
#include <algorithm>
#include <vector>

namespace {

// COM for the length of one call, whatever apartment the caller has.
struct ComScope {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ~ComScope()
    {
        if (SUCCEEDED(hr))
            CoUninitialize();
    }
};

IFilterMapper2 *Mapper_Create()
{
    IFilterMapper2 *mapper = nullptr;
    CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2, (void **)&mapper);
    return mapper;
}

void Send(HWND window, WPARAM event, const DEV_BROADCAST_DEVICEINTERFACE_W *db)
{
    DWORD_PTR result;
    SendMessageTimeoutW(window, WM_DEVICECHANGE, event, (LPARAM)db, SMTO_ABORTIFHUNG, 2000, &result);
}

BOOL CALLBACK Views_Collect(HWND window, LPARAM list)
{
    wchar_t name[64];
    if (GetClassNameW(window, name, 64) && lstrcmpW(name, L"CameraWndClass") == 0)
        ((std::vector<HWND> *)list)->push_back(window);
    return TRUE;
}

BOOL CALLBACK TopLevel_Collect(HWND window, LPARAM list)
{
    Views_Collect(window, list);
    EnumChildWindows(window, Views_Collect, list);
    return TRUE;
}

} // namespace

HRESULT Rig_RegisterInstance(int device)
{
    ComScope com;
    IFilterMapper2 *mapper = Mapper_Create();
    if (!mapper)
        return REGDB_E_CLASSNOTREG;
    REGPINTYPES types[2] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_MJPG}, {&MEDIATYPE_Video, &MEDIASUBTYPE_YUY2}};
    REGFILTERPINS2 pins[2] = {};
    for (auto &pin : pins) {
        pin.dwFlags = REG_PINFLAG_B_OUTPUT;
        pin.cInstances = 1;
        pin.nMediaTypes = 2;
        pin.lpMediaType = types;
    }
    pins[0].clsPinCategory = &PIN_CATEGORY_CAPTURE;
    pins[1].clsPinCategory = &PIN_CATEGORY_STILL;
    REGFILTER2 info = {};
    info.dwVersion = 2;
    info.dwMerit = MERIT_DO_NOT_USE;
    info.cPins2 = 2;
    info.rgPins2 = pins;
    HRESULT hr = mapper->RegisterFilter(Rig_DeviceClsid(device), Rig_DeviceName(device), nullptr,
                                        &CLSID_VideoInputDeviceCategory, Rig_DeviceInstance(device), &info);
    mapper->Release();
    return hr;
}

HRESULT Rig_UnregisterInstance(int device)
{
    ComScope com;
    IFilterMapper2 *mapper = Mapper_Create();
    if (!mapper)
        return REGDB_E_CLASSNOTREG;
    HRESULT hr = mapper->UnregisterFilter(&CLSID_VideoInputDeviceCategory, Rig_DeviceInstance(device),
                                          Rig_DeviceClsid(device));
    mapper->Release();
    return hr;
}

void Rig_Announce(bool arrival, HWND extra)
{
    static const wchar_t kPath[] = L"\\\\?\\SWD#QuorellRig#Microscope#{65e8773d-8f56-11d0-a3b9-00a0c9223196}";
    std::vector<BYTE> buffer(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + sizeof kPath);
    auto *db = (DEV_BROADCAST_DEVICEINTERFACE_W *)buffer.data();
    db->dbcc_size = (DWORD)buffer.size();
    db->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    db->dbcc_classguid = KSCATEGORY_CAPTURE;
    memcpy(db->dbcc_name, kPath, sizeof kPath);
    WPARAM event = arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;

    Send(HWND_BROADCAST, event, db);
    std::vector<HWND> views;
    EnumWindows(TopLevel_Collect, (LPARAM)&views);
    if (extra && std::find(views.begin(), views.end(), extra) == views.end())
        views.push_back(extra);
    for (HWND view : views)
        Send(view, event, db);
}

HRESULT Rig_Plug(int device, HWND extra)
{
    HRESULT hr = Rig_RegisterInstance(device);
    InterlockedExchange(&Rig_Device(device)->plugged, 1);
    Rig_Announce(true, extra);
    return hr;
}

HRESULT Rig_Unplug(int device, HWND extra)
{
    HRESULT hr = Rig_UnregisterInstance(device);
    InterlockedExchange(&Rig_Device(device)->plugged, 0);
    Rig_Announce(false, extra);
    return hr;
}
