// The rig's state shared by every process: one named shared-memory section
// holding each microscope's controls and counters, and one named event per
// microscope that wakes its still pins.
#pragma once
#include "rig_api.h"

struct RigControlShared {
    LONG value, flags;         // current state
    LONG lastValue, lastFlags; // as last passed to Set/put
    LONG writes;
};

struct RigDeviceShared {
    RigControlShared control[RigControl_Count];
    LONG toneVersion; // changes with every accepted write: the picture is re-toned
    LONG frames, stillRequests, stillFrames;
    LONG plugged; // 0 after Rig_Unplug until Rig_Plug
    LONG refuse;  // RigRefuse flags
    LONG unusualFormats; // Rig_OfferUnusualFormats
    LONG frameInterval;  // Rig_SetFrameInterval; 0: the connected type's
    LONG stall;          // Rig_Stall's milliseconds, until a streaming thread takes them
    LONG numbering;      // Rig_NumberFrames
    LONG relief;         // Rig_ShowRelief
    LONG captures;       // capture frames numbered so far
    RigCapture log[RIG_CAPTURE_LOG]; // frame n in slot n % RIG_CAPTURE_LOG
};

struct RigShared {
    LONG ready; // 0 while the creator initialises, 1 after
    RigDeviceShared device[RIG_DEVICE_COUNT];
};

extern const CLSID CLSID_QuorellRigMicroscope1;
extern const CLSID CLSID_QuorellRigMicroscope2;
extern const CLSID CLSID_QuorellRigYuy2Converter;
extern const CLSID CLSID_QuorellRigMjpgDecoder; // the system MJPEG decompressor's class id

// Mapped on first use and kept for the life of the process.
RigShared *Rig_Shared();
RigDeviceShared *Rig_Device(int device);
// The named auto-reset event Rig_TriggerStill sets; opened once per process.
HANDLE Rig_StillEvent(int device);

// The control semantics every interface of a microscope goes through.
// Set: automatic mode needs the automatic capability and takes the value it
// arrives at (RigRange::automatic);
// manual mode needs a value inside the range. Every call is recorded.
HRESULT Rig_SetControl(int device, RigControl control, LONG value, LONG flags);
HRESULT Rig_GetControl(int device, RigControl control, LONG *value, LONG *flags);
HRESULT Rig_GetControlRange(RigControl control, LONG *min, LONG *max, LONG *step, LONG *def, LONG *caps);
