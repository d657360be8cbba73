// The little COM and DirectShow plumbing the rig's filters share: media type
// helpers, pin and media-type enumerators, and the count of live objects that
// decides whether the DLL may unload.
#pragma once
#include <windows.h>
#include <dshow.h>
#include <vector>

extern LONG gRigObjects; // live COM objects and server locks

// IUnknown of an object with one interface: reference counted from 1, counted
// in gRigObjects while it lives, deleted when the last reference goes.
template <class Itf, const IID &kIid> class ComObject : public Itf {
public:
    ComObject() { InterlockedIncrement(&gRigObjects); }
    virtual ~ComObject() { InterlockedDecrement(&gRigObjects); }
    STDMETHODIMP QueryInterface(REFIID iid, void **out) override
    {
        if (iid == IID_IUnknown || iid == kIid) {
            *out = static_cast<Itf *>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs); }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG n = InterlockedDecrement(&refs);
        if (!n)
            delete this;
        return n;
    }

private:
    LONG refs = 1;
};

// Media types. A type owned by the rig frees its format block with
// MediaType_Clear; one handed to a caller is CoTaskMemAlloc'd whole.
void MediaType_Clear(AM_MEDIA_TYPE *mt);
HRESULT MediaType_Copy(AM_MEDIA_TYPE *dst, const AM_MEDIA_TYPE &src);
AM_MEDIA_TYPE *MediaType_Duplicate(const AM_MEDIA_TYPE &src);
// A VIDEOINFOHEADER type: subtype MJPG, YUY2 or RGB24 (bottom-up rows).
AM_MEDIA_TYPE MediaType_Video(const GUID &subtype, LONG width, LONG height, REFERENCE_TIME interval);
// The bitmap header of a video type with FORMAT_VideoInfo, or null.
const BITMAPINFOHEADER *MediaType_Bitmap(const AM_MEDIA_TYPE &mt);
REFERENCE_TIME MediaType_Interval(const AM_MEDIA_TYPE &mt);
// Whether `wanted` (whose GUID_NULL fields match anything) admits `mt`.
bool MediaType_Matches(const AM_MEDIA_TYPE &wanted, const AM_MEDIA_TYPE &mt);
LONG Rgb24_Stride(LONG width);

// An IEnumPins over a snapshot of pins (each held with a reference).
IEnumPins *EnumPins_Create(const std::vector<IPin *> &pins);
// An IEnumMediaTypes over copies of the given types.
IEnumMediaTypes *EnumMediaTypes_Create(const std::vector<AM_MEDIA_TYPE> &types);

// Copies `text` into a fixed wide buffer, truncating.
void Text_CopyTo(wchar_t *dst, size_t capacity, const wchar_t *text);
