// QuorellRigCtl.exe: the bench hand for the virtual microscopes.
//   QuorellRigCtl plug N [HWND]     register microscope N (1 or 2) and announce it
//   QuorellRigCtl unplug N [HWND]   remove it and announce the removal
//   QuorellRigCtl still N           press microscope N's snapshot button
//   QuorellRigCtl values N          print what reached microscope N's controls
//   QuorellRigCtl relief on|off N   show or hide microscope N's relief
// HWND (hexadecimal) is a window that gets WM_DEVICECHANGE directly, besides
// the broadcast and every camera view.
#include "rig_api.h"

#include <cstdio>
#include <cwchar>

static const wchar_t *const kControlNames[RigControl_Count] = {
    L"brightness", L"contrast", L"hue", L"saturation", L"sharpness", L"gamma", L"colorenable",
    L"whitebalance", L"backlight", L"gain", L"exposure", L"powerline", L"focus"};

static int Usage()
{
    fwprintf(stderr, L"usage: QuorellRigCtl plug|unplug N [HWND] | still N | values N | relief on|off N\n");
    return 2;
}

int wmain(int argc, wchar_t **argv)
{
    if (argc == 4 && !wcscmp(argv[1], L"relief")) {
        int device = _wtoi(argv[3]) - 1;
        if (device < 0 || device >= RIG_DEVICE_COUNT)
            return Usage();
        Rig_ShowRelief(device, !wcscmp(argv[2], L"on"));
        return 0;
    }
    if (argc < 3)
        return Usage();
    int device = _wtoi(argv[2]) - 1;
    if (device < 0 || device >= RIG_DEVICE_COUNT)
        return Usage();
    HWND extra = argc > 3 ? (HWND)(ULONG_PTR)wcstoull(argv[3], nullptr, 16) : nullptr;
    const wchar_t *verb = argv[1];
    HRESULT hr = S_OK;
    if (!wcscmp(verb, L"plug"))
        hr = Rig_Plug(device, extra);
    else if (!wcscmp(verb, L"unplug"))
        hr = Rig_Unplug(device, extra);
    else if (!wcscmp(verb, L"still"))
        Rig_TriggerStill(device);
    else if (!wcscmp(verb, L"values")) {
        for (int c = 0; c < RigControl_Count; c++) {
            RigWrite w = Rig_LastWrite(device, (RigControl)c);
            wprintf(L"%ls value %ld flags %ld writes %ld current %ld flags %ld\n", kControlNames[c], w.value,
                    w.flags, w.writes, w.currentValue, w.currentFlags);
        }
        RigCounters n = Rig_Counters(device);
        wprintf(L"frames %ld stills %ld of %ld\n", n.frames, n.stillFrames, n.stillRequests);
    } else
        return Usage();
    if (FAILED(hr))
        fwprintf(stderr, L"QuorellRigCtl: %ls failed: 0x%08lx\n", verb, (unsigned long)hr);
    return FAILED(hr) ? 1 : 0;
}
