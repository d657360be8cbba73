// OutputDebugString raises a DBG_PRINTEXCEPTION that the system handles
// itself when no debugger is attached; a vectored handler sees it first.
#include "debug_capture.h"

#include <windows.h>
#include <mutex>

#ifndef DBG_PRINTEXCEPTION_WIDE_C
#define DBG_PRINTEXCEPTION_WIDE_C 0x4001000AL
#endif

static std::mutex gCaptureLock;
static std::vector<std::wstring> gCaptured;
static void *gHandler;

static LONG CALLBACK CaptureDebugText(EXCEPTION_POINTERS *info)
{
    const EXCEPTION_RECORD *record = info->ExceptionRecord;
    if (record->NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    std::wstring text;
    if (record->ExceptionCode == DBG_PRINTEXCEPTION_WIDE_C) {
        text = (const wchar_t *)record->ExceptionInformation[1];
    } else if (record->ExceptionCode == DBG_PRINTEXCEPTION_C) {
        const char *narrow = (const char *)record->ExceptionInformation[1];
        int n = MultiByteToWideChar(CP_ACP, 0, narrow, -1, nullptr, 0);
        text.resize(n > 0 ? n - 1 : 0);
        if (n > 1)
            MultiByteToWideChar(CP_ACP, 0, narrow, -1, text.data(), n);
    } else {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    std::lock_guard<std::mutex> hold(gCaptureLock);
    // A wide print may be followed by its narrow copy; keep one.
    if (gCaptured.empty() || gCaptured.back() != text || record->ExceptionCode == DBG_PRINTEXCEPTION_WIDE_C)
        gCaptured.push_back(text);
    return EXCEPTION_CONTINUE_SEARCH;
}

DebugCapture::DebugCapture()
{
    std::lock_guard<std::mutex> hold(gCaptureLock);
    gCaptured.clear();
    gHandler = AddVectoredExceptionHandler(1, CaptureDebugText);
}

DebugCapture::~DebugCapture()
{
    RemoveVectoredExceptionHandler(gHandler);
}

std::vector<std::wstring> DebugCapture::Lines() const
{
    std::lock_guard<std::mutex> hold(gCaptureLock);
    return gCaptured;
}

bool DebugCapture::Contains(const std::wstring &line) const
{
    for (const std::wstring &captured : Lines())
        if (captured == line)
            return true;
    return false;
}
