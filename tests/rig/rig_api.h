// The test rig seen from a test or the control program: the virtual
// microscopes' identities, their picture geometry and the operations that
// stand in for a person at the bench (plug, unplug, press the snapshot
// button) and for a look at the device (which control values reached it).
//
// Everything here works across processes: the rig filters keep their state in
// a named shared-memory section and wait on named events, so a test can drive
// a microscope that lives inside another process (Quorell.exe).
#pragma once
#include <windows.h>

enum { RIG_DEVICE_COUNT = 2 }; // microscopes 1 and 2 (index 0 and 1)

// Friendly names: microscope 1 is "Quorell Virtual Microscope", microscope 2
// "Quorell Virtual Microscope 2".
const wchar_t *Rig_DeviceName(int device);
const CLSID &Rig_DeviceClsid(int device);
// The instance name under the video-input category; the moniker's display
// name is "@device:sw:{860BB310-5D01-11D0-BD3B-00A0C911CE86}\" + this.
const wchar_t *Rig_DeviceInstance(int device);

// The controls a microscope keeps. The first ten are numbered like the
// VideoProcAmp_ properties (brightness 0 ... gain 9).
enum RigControl {
    RigControl_Brightness = 0,
    RigControl_Contrast,
    RigControl_Hue,
    RigControl_Saturation,
    RigControl_Sharpness,
    RigControl_Gamma,
    RigControl_ColorEnable, // not supported
    RigControl_WhiteBalance,
    RigControl_Backlight, // not supported
    RigControl_Gain,
    RigControl_Exposure,  // IAMCameraControl, CameraControl_Exposure
    RigControl_PowerLine, // the processing node's IVideoProcAmp, 1 = 50 Hz, 2 = 60 Hz
    RigControl_Focus,     // IAMCameraControl, CameraControl_Focus (absolute); rig_depth.h
    RigControl_Count
};

struct RigRange {
    LONG supported, min, max, step, def, caps, flags; // flags: the current flags after a reset
    LONG automatic; // the value automatic mode arrives at (and Get then reports)
};
const RigRange &Rig_ControlRange(RigControl control);

// Ruler scene: Rig_PixelsPerMm(width) = width / 32 pixels per millimetre
// (20 at 640, 40 at 1280, 60 at 1920). Ticks every millimetre from x = one
// millimetre on, starting at the ruler's top edge y = height / 4; see
// rig_scene.h for the full layout.
int Rig_PixelsPerMm(int width);

// Registers microscope `device` under the video-input category (it appears in
// the system device enumerator) and announces its arrival: DBT_DEVICEARRIVAL
// with a DEV_BROADCAST_DEVICEINTERFACE_W of KSCATEGORY_CAPTURE, broadcast to
// top-level windows and sent directly to every camera view (window class
// CameraWndClass, at any depth under a top-level window) and to `extra` when
// given. Returns an HRESULT of the registration.
HRESULT Rig_Plug(int device, HWND extra = nullptr);
// Removes it from the enumerator, marks it unplugged (a running graph stops
// receiving frames and gets EC_DEVICE_LOST) and announces
// DBT_DEVICEREMOVECOMPLETE the same way.
HRESULT Rig_Unplug(int device, HWND extra = nullptr);
// Only the announcement, without changing the registration.
void Rig_Announce(bool arrival, HWND extra = nullptr);

// Presses the snapshot button: the still pin of every running graph of the
// microscope delivers one frame. Returns at once.
void Rig_TriggerStill(int device);

// What the device last received through Set/put for a control: the value and
// flags as passed and how many writes there were (0: never written).
// The current state (what the picture follows) is in `current`.
struct RigWrite {
    LONG value, flags, writes;
    LONG currentValue, currentFlags;
};
RigWrite Rig_LastWrite(int device, RigControl control);
// Puts every control of the device back to its default, hides the relief
// and clears the counts.
void Rig_ResetControls(int device);

// Failures a microscope shows until told otherwise (0), for the program's
// failure paths: its capture pin, or its still pin, connects to nothing; or
// its capture pin's SetFormat refuses the formats it lists above 1280 x 720
// (as a camera short of USB bandwidth may), keeping the format it had.
enum RigRefuse { RigRefuse_Capture = 1, RigRefuse_Still = 2, RigRefuse_LargeFormats = 4 };
void Rig_Refuse(int device, LONG what);
// Until told otherwise, the capture pin lists after its usual capabilities
// an odd-sized one (MJPG 1365 x 767) and some that a faulty driver could
// give: a format block shorter than the header it claims, 0 x 0, a negative
// width and 65535 x 65535. Choosing a malformed one fails like any unlisted
// format.
enum { RIG_MALFORMED_FORMATS = 4 };
void Rig_OfferUnusualFormats(int device, bool on);

// Until told otherwise (0), the capture pin of a running stream sends a frame
// every `interval` (100-ns units) from its next frame on, as a camera that
// lowers its rate in dim light; the media type keeps its rate.
void Rig_SetFrameInterval(int device, LONG interval);
// Holds the capture pin's streaming thread up for about `milliseconds` from
// its next frame: the frames captured meanwhile are kept, each stamped with
// its own capture time, and delivered late in a burst, as a camera's driver
// buffers them while its streaming thread is stalled.
void Rig_Stall(int device, LONG milliseconds);

// Until told otherwise, every capture frame carries its number (counted over
// the microscope's frames) in the picture, as a row of 16 black (1) or white
// (0) blocks, least significant bit first (rig_scene.h: Scene_NumberBlock),
// and the rig keeps the capture time of the last RIG_CAPTURE_LOG numbered
// frames: a video of them can be held against real time.
enum { RIG_NUMBER_BITS = 16, RIG_CAPTURE_LOG = 4096 };
struct RigCapture {
    LONG number;
    LONG stamped;        // 0: the frame went out without a time stamp
    LONGLONG time;       // its sample's start time: the stream time it was captured at, 100-ns units
};
void Rig_NumberFrames(int device, bool on);

// Until told otherwise, the picture shows the relief of rig_depth.h: textured
// parts at other depths than the ruler's, blurred by their distance from the
// focus position (RigControl_Focus).
void Rig_ShowRelief(int device, bool on);
// The kept capture times, oldest first; returns how many were written.
int Rig_CaptureLog(int device, RigCapture *captures, int capacity);

struct RigCounters {
    LONG frames;         // capture frames delivered since the section was created
    LONG stillRequests;  // Rig_TriggerStill calls
    LONG stillFrames;    // still frames delivered
};
RigCounters Rig_Counters(int device);
