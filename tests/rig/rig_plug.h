// A microscope's entry under the video-input category, without announcement.
#pragma once
#include <windows.h>

HRESULT Rig_RegisterInstance(int device);
HRESULT Rig_UnregisterInstance(int device);
