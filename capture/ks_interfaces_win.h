// Kernel-streaming topology and the processing unit's video amplifier, which
// MinGW-w64 does not declare. The declarations follow vidcap.idl of the
// Windows SDK (vidcap.h): the method order is the binary contract of the
// interfaces and must not change.
//   IKsTopologyInfo: get_NumCategories, get_Category, get_NumConnections,
//     get_ConnectionInfo, get_NodeName, get_NumNodes, get_NodeType,
//     CreateNodeInstance.
//   IVideoProcAmp: a get, put and getRange triple for each of, in order,
//     BacklightCompensation, Brightness, ColorEnable, Contrast, Gamma,
//     Saturation, Sharpness, WhiteBalance, Gain, Hue, DigitalMultiplier,
//     PowerlineFrequency (put_PowerlineFrequency is vtable slot 37), then
//     WhiteBalanceComponent with two values.
#pragma once
#include <windows.h>
#include <unknwn.h>
#include <ks.h>

// {720D4AC0-7533-11D0-A5D6-28DB04C10000}
inline constexpr GUID IID_IKsTopologyInfo = {0x720d4ac0, 0x7533, 0x11d0, {0xa5, 0xd6, 0x28, 0xdb, 0x04, 0xc1, 0x00, 0x00}};
// {4050560E-42A7-413A-85C2-09269A2D0F44}
inline constexpr GUID IID_IVideoProcAmp = {0x4050560e, 0x42a7, 0x413a, {0x85, 0xc2, 0x09, 0x26, 0x9a, 0x2d, 0x0f, 0x44}};
#ifndef STATIC_KSNODETYPE_VIDEO_PROCESSING // else ksmedia.h declares it
// {DFF229E5-F70F-11D0-B917-00A0C9223196}: the processing unit of a UVC camera.
inline constexpr GUID KSNODETYPE_VIDEO_PROCESSING = {0xdff229e5, 0xf70f, 0x11d0, {0xb9, 0x17, 0x00, 0xa0, 0xc9, 0x22, 0x31, 0x96}};
#endif

struct IKsTopologyInfo : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_NumCategories(DWORD *count) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Category(DWORD index, GUID *category) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NumConnections(DWORD *count) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ConnectionInfo(DWORD index, KSTOPOLOGY_CONNECTION *connection) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NodeName(DWORD nodeId, WCHAR *name, DWORD bufferSize, DWORD *nameLength) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NumNodes(DWORD *count) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NodeType(DWORD nodeId, GUID *nodeType) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateNodeInstance(DWORD nodeId, REFIID iid, void **object) = 0;
};

#define KS_VIDEOPROCAMP_PROPERTY(name)                                                             \
    virtual HRESULT STDMETHODCALLTYPE get_##name(long *value, long *flags) = 0;                    \
    virtual HRESULT STDMETHODCALLTYPE put_##name(long value, long flags) = 0;                      \
    virtual HRESULT STDMETHODCALLTYPE getRange_##name(long *min, long *max, long *step, long *def, \
                                                      long *capsFlags) = 0;

struct IVideoProcAmp : public IUnknown {
    KS_VIDEOPROCAMP_PROPERTY(BacklightCompensation)
    KS_VIDEOPROCAMP_PROPERTY(Brightness)
    KS_VIDEOPROCAMP_PROPERTY(ColorEnable)
    KS_VIDEOPROCAMP_PROPERTY(Contrast)
    KS_VIDEOPROCAMP_PROPERTY(Gamma)
    KS_VIDEOPROCAMP_PROPERTY(Saturation)
    KS_VIDEOPROCAMP_PROPERTY(Sharpness)
    KS_VIDEOPROCAMP_PROPERTY(WhiteBalance)
    KS_VIDEOPROCAMP_PROPERTY(Gain)
    KS_VIDEOPROCAMP_PROPERTY(Hue)
    KS_VIDEOPROCAMP_PROPERTY(DigitalMultiplier)
    KS_VIDEOPROCAMP_PROPERTY(PowerlineFrequency)
    virtual HRESULT STDMETHODCALLTYPE get_WhiteBalanceComponent(long *value1, long *value2, long *flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_WhiteBalanceComponent(long value1, long value2, long flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE getRange_WhiteBalanceComponent(long *min, long *max, long *step, long *def,
                                                                     long *capsFlags) = 0;
};

#undef KS_VIDEOPROCAMP_PROPERTY
