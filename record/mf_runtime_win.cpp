#include "record/mf_runtime_win.h"

MediaFoundation gMediaFoundation;

// From the system folder only: a DLL of the same name beside the program or
// in the current folder is never taken.
static HMODULE LoadSystemLibrary(const wchar_t *name)
{
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

template <typename Function> static bool Resolve(HMODULE module, const char *name, Function *function)
{
    *function = module ? (Function)(void *)GetProcAddress(module, name) : nullptr;
    return *function != nullptr;
}

static bool ResolveAll()
{
    MediaFoundation &mf = gMediaFoundation;
    HMODULE platform = LoadSystemLibrary(L"mfplat.dll");
    HMODULE readWrite = LoadSystemLibrary(L"mfreadwrite.dll");
    bool all = Resolve(platform, "MFStartup", &mf.startup) && Resolve(platform, "MFShutdown", &mf.shutdown) &&
               Resolve(readWrite, "MFCreateSinkWriterFromURL", &mf.createSinkWriterFromURL) &&
               Resolve(platform, "MFCreateMediaType", &mf.createMediaType) &&
               Resolve(platform, "MFCreateMemoryBuffer", &mf.createMemoryBuffer) &&
               Resolve(platform, "MFCreateSample", &mf.createSample) &&
               Resolve(platform, "MFCopyImage", &mf.copyImage);
    if (!all)
        mf = {};
    return all;
}

bool MediaFoundation_Start()
{
    if (!gMediaFoundation.started && ResolveAll())
        gMediaFoundation.started = SUCCEEDED(gMediaFoundation.startup(MF_VERSION, MFSTARTUP_FULL));
    return gMediaFoundation.started;
}

void MediaFoundation_Stop()
{
    if (gMediaFoundation.started)
        gMediaFoundation.shutdown();
    gMediaFoundation.started = false;
}

bool MediaFoundation_Available()
{
    return gMediaFoundation.started;
}
