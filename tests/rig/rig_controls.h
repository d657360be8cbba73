// The virtual microscope's camera controls: IAMCameraControl (exposure),
// IAMVideoProcAmp (the picture amplifier) and IKsTopologyInfo, whose
// processing-unit node gives an IVideoProcAmp (also power-line frequency).
// All of them read and write the device's shared control state (rig_shared.h),
// so a value set through one interface is seen through the others.
#pragma once
#include "capture/ks_interfaces_win.h"

#include <dshow.h>

// Forwards IUnknown to the filter that holds the interface as a member.
template <class Itf>
class RigTearOff : public Itf {
public:
    explicit RigTearOff(IUnknown *outer) : outer(outer) {}
    STDMETHODIMP QueryInterface(REFIID iid, void **out) override { return outer->QueryInterface(iid, out); }
    STDMETHODIMP_(ULONG) AddRef() override { return outer->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return outer->Release(); }

protected:
    IUnknown *outer;
};

class RigCameraControl : public RigTearOff<IAMCameraControl> {
public:
    RigCameraControl(IUnknown *outer, int device) : RigTearOff(outer), device(device) {}
    STDMETHODIMP GetRange(long property, long *min, long *max, long *step, long *def, long *caps) override;
    STDMETHODIMP Set(long property, long value, long flags) override;
    STDMETHODIMP Get(long property, long *value, long *flags) override;

private:
    int device;
};

class RigProcAmp : public RigTearOff<IAMVideoProcAmp> {
public:
    RigProcAmp(IUnknown *outer, int device) : RigTearOff(outer), device(device) {}
    STDMETHODIMP GetRange(long property, long *min, long *max, long *step, long *def, long *caps) override;
    STDMETHODIMP Set(long property, long value, long flags) override;
    STDMETHODIMP Get(long property, long *value, long *flags) override;

private:
    int device;
};

// Three nodes in a chain to the pins: 0 the camera terminal, 1 the
// processing unit (KSNODETYPE_VIDEO_PROCESSING), 2 an extension unit; four
// connections.
class RigTopology : public RigTearOff<IKsTopologyInfo> {
public:
    RigTopology(IUnknown *outer, int device) : RigTearOff(outer), device(device) {}
    STDMETHODIMP get_NumCategories(DWORD *count) override;
    STDMETHODIMP get_Category(DWORD index, GUID *category) override;
    STDMETHODIMP get_NumConnections(DWORD *count) override;
    STDMETHODIMP get_ConnectionInfo(DWORD index, KSTOPOLOGY_CONNECTION *connection) override;
    STDMETHODIMP get_NodeName(DWORD nodeId, WCHAR *name, DWORD bufferSize, DWORD *nameLength) override;
    STDMETHODIMP get_NumNodes(DWORD *count) override;
    STDMETHODIMP get_NodeType(DWORD nodeId, GUID *nodeType) override;
    STDMETHODIMP CreateNodeInstance(DWORD nodeId, REFIID iid, void **object) override;

private:
    int device;
};

struct RigControls {
    RigControls(IUnknown *outer, int device) : camera(outer, device), procAmp(outer, device), topology(outer, device) {}
    // The control interface for `iid`, without a reference, or null.
    void *Find(REFIID iid);

    RigCameraControl camera;
    RigProcAmp procAmp;
    RigTopology topology;
};
