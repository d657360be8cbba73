// Media Foundation, loaded at run time rather than imported: the program
// starts also where its DLLs are missing (the N editions of Windows), and
// recording is then unavailable.
#pragma once
#include <windows.h>
#include <mfapi.h>
#include <mfidl.h>
#include <mfreadwrite.h>

// The functions the recorder calls, resolved from mfplat.dll and
// mfreadwrite.dll; all set or all null.
struct MediaFoundation {
    decltype(&MFStartup) startup;
    decltype(&MFShutdown) shutdown;
    decltype(&MFCreateSinkWriterFromURL) createSinkWriterFromURL;
    decltype(&MFCreateMediaType) createMediaType;
    decltype(&MFCreateMemoryBuffer) createMemoryBuffer;
    decltype(&MFCreateSample) createSample;
    decltype(&MFCopyImage) copyImage;
    bool started; // MFStartup succeeded
};

extern MediaFoundation gMediaFoundation;

// Loads the DLLs, resolves every function and starts Media Foundation (full
// start-up). False when a DLL or a function is missing or the start fails.
bool MediaFoundation_Start();
// Shuts down what MediaFoundation_Start started.
void MediaFoundation_Stop();
// Whether Media Foundation runs: recording is possible.
bool MediaFoundation_Available();
