// QuorellRig.dll: the COM server of the rig's filters and its registration.
//   regsvr32 QuorellRig.dll                     microscope 1 (and the class of 2)
//   regsvr32 /n /i:converters QuorellRig.dll    the MJPEG decompressor and the
//                                               YUY2 converter, for Wine only
//   regsvr32 /u [/n /i:converters] ...          the reverse
#include "rig_com.h"
#include "rig_plug.h"
#include "rig_shared.h"
#include "rig_source.h"
#include "rig_transform.h"

#include <cwchar>

static HMODULE gModule;

namespace {

const wchar_t *const kYuy2Name = L"Quorell Rig YUY2 to RGB24";
const wchar_t *const kMjpgName = L"MJPEG Decompressor";

IBaseFilter *Filter_Create(const CLSID &clsid)
{
    if (clsid == CLSID_QuorellRigMicroscope1)
        return new RigSource(0);
    if (clsid == CLSID_QuorellRigMicroscope2)
        return new RigSource(1);
    if (clsid == CLSID_QuorellRigYuy2Converter)
        return new RigTransform(clsid, MEDIASUBTYPE_YUY2);
    if (clsid == CLSID_QuorellRigMjpgDecoder)
        return new RigTransform(clsid, MEDIASUBTYPE_MJPG);
    return nullptr;
}

class ClassFactory : public ComObject<IClassFactory, IID_IClassFactory> {
public:
    explicit ClassFactory(const CLSID &clsid) : clsid(clsid) {}
    STDMETHODIMP CreateInstance(IUnknown *outer, REFIID iid, void **out) override
    {
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        IBaseFilter *filter = Filter_Create(clsid);
        if (!filter)
            return E_OUTOFMEMORY;
        HRESULT hr = filter->QueryInterface(iid, out);
        filter->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override
    {
        lock ? InterlockedIncrement(&gRigObjects) : InterlockedDecrement(&gRigObjects);
        return S_OK;
    }

private:
    CLSID clsid;
};

// HKCR\CLSID\{clsid} with its in-process server, this DLL.
HRESULT Class_Register(const CLSID &clsid, const wchar_t *name)
{
    wchar_t guid[40], key[96], path[MAX_PATH];
    StringFromGUID2(clsid, guid, 40);
    swprintf(key, 96, L"CLSID\\%ls\\InprocServer32", guid);
    GetModuleFileNameW(gModule, path, MAX_PATH);
    LONG status = RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, path, (lstrlenW(path) + 1) * 2);
    if (status == ERROR_SUCCESS)
        status = RegSetKeyValueW(HKEY_CLASSES_ROOT, key, L"ThreadingModel", REG_SZ, L"Both", sizeof L"Both");
    key[lstrlenW(key) - lstrlenW(L"\\InprocServer32")] = 0;
    if (status == ERROR_SUCCESS)
        status = RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, name, (lstrlenW(name) + 1) * 2);
    return HRESULT_FROM_WIN32(status);
}

void Class_Unregister(const CLSID &clsid)
{
    wchar_t guid[40], key[64];
    StringFromGUID2(clsid, guid, 40);
    swprintf(key, 64, L"CLSID\\%ls", guid);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
}

// A converter in the legacy filter category with normal merit, so that
// intelligent connect puts it between a pin of `input` and an RGB24 one.
HRESULT Converter_Register(IFilterMapper2 *mapper, const CLSID &clsid, const wchar_t *name, const GUID &input)
{
    HRESULT hr = Class_Register(clsid, name);
    if (FAILED(hr))
        return hr;
    REGPINTYPES in = {&MEDIATYPE_Video, &input}, out = {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB24};
    REGFILTERPINS2 pins[2] = {};
    pins[0].cInstances = pins[1].cInstances = 1;
    pins[0].nMediaTypes = pins[1].nMediaTypes = 1;
    pins[0].lpMediaType = &in;
    pins[1].dwFlags = REG_PINFLAG_B_OUTPUT;
    pins[1].lpMediaType = &out;
    REGFILTER2 info = {};
    info.dwVersion = 2;
    info.dwMerit = MERIT_NORMAL;
    info.cPins2 = 2;
    info.rgPins2 = pins;
    return mapper->RegisterFilter(clsid, name, nullptr, &CLSID_LegacyAmFilterCategory, nullptr, &info);
}

HRESULT Converters_Install(bool install)
{
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IFilterMapper2 *mapper = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                  (void **)&mapper);
    if (SUCCEEDED(hr) && install) {
        hr = Converter_Register(mapper, CLSID_QuorellRigMjpgDecoder, kMjpgName, MEDIASUBTYPE_MJPG);
        if (SUCCEEDED(hr))
            hr = Converter_Register(mapper, CLSID_QuorellRigYuy2Converter, kYuy2Name, MEDIASUBTYPE_YUY2);
    } else if (SUCCEEDED(hr)) {
        for (const CLSID *clsid : {&CLSID_QuorellRigMjpgDecoder, &CLSID_QuorellRigYuy2Converter}) {
            mapper->UnregisterFilter(&CLSID_LegacyAmFilterCategory, nullptr, *clsid);
            Class_Unregister(*clsid);
        }
    }
    if (mapper)
        mapper->Release();
    if (SUCCEEDED(com))
        CoUninitialize();
    return hr;
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void *)
{
    if (reason == DLL_PROCESS_ATTACH) {
        gModule = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void **out)
{
    *out = nullptr;
    if (clsid != CLSID_QuorellRigMicroscope1 && clsid != CLSID_QuorellRigMicroscope2 &&
        clsid != CLSID_QuorellRigYuy2Converter && clsid != CLSID_QuorellRigMjpgDecoder)
        return CLASS_E_CLASSNOTAVAILABLE;
    auto *factory = new ClassFactory(clsid);
    HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

STDAPI DllCanUnloadNow() { return gRigObjects == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer()
{
    HRESULT hr = S_OK;
    for (int device = 0; device < RIG_DEVICE_COUNT && SUCCEEDED(hr); device++)
        hr = Class_Register(Rig_DeviceClsid(device), Rig_DeviceName(device));
    return SUCCEEDED(hr) ? Rig_RegisterInstance(0) : hr;
}

STDAPI DllUnregisterServer()
{
    for (int device = 0; device < RIG_DEVICE_COUNT; device++) {
        Rig_UnregisterInstance(device);
        Class_Unregister(Rig_DeviceClsid(device));
    }
    return S_OK;
}

STDAPI DllInstall(BOOL install, LPCWSTR command)
{
    if (!command || lstrcmpiW(command, L"converters") != 0)
        return E_INVALIDARG;
    return Converters_Install(install);
}
