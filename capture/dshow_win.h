// DirectShow helpers shared by the Win32 capture code.
#pragma once
#include "base/guid.h"

#include <windows.h>
#include <dshow.h>
#include <cstring>

// In strmiids, though MinGW's qedit.h does not declare them.
EXTERN_C const CLSID CLSID_SampleGrabber;
EXTERN_C const CLSID CLSID_NullRenderer;

// Releases a COM pointer and nulls it.
template <typename T> void Com_Release(T *&p)
{
    if (p) {
        p->Release();
        p = nullptr;
    }
}

inline ClassId ClassId_From(const GUID &guid)
{
    ClassId id;
    static_assert(sizeof id == sizeof guid, "GUID layout");
    memcpy(&id, &guid, sizeof id);
    return id;
}

inline GUID Guid_From(const ClassId &id)
{
    GUID guid;
    memcpy(&guid, &id, sizeof guid);
    return guid;
}

// Frees a media type's format block and its interface (FreeMediaType).
void MediaType_FreeContent(AM_MEDIA_TYPE *type);
// Frees a media type the platform allocated with CoTaskMemAlloc (DeleteMediaType).
void MediaType_Delete(AM_MEDIA_TYPE *type);
