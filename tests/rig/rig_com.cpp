#include "rig_com.h"

#include <dvdmedia.h>

LONG gRigObjects;

void MediaType_Clear(AM_MEDIA_TYPE *mt)
{
    if (mt->cbFormat)
        CoTaskMemFree(mt->pbFormat);
    if (mt->pUnk)
        mt->pUnk->Release();
    *mt = {};
}

HRESULT MediaType_Copy(AM_MEDIA_TYPE *dst, const AM_MEDIA_TYPE &src)
{
    *dst = src;
    if (src.cbFormat) {
        dst->pbFormat = (BYTE *)CoTaskMemAlloc(src.cbFormat);
        if (!dst->pbFormat) {
            dst->cbFormat = 0;
            return E_OUTOFMEMORY;
        }
        memcpy(dst->pbFormat, src.pbFormat, src.cbFormat);
    }
    if (dst->pUnk)
        dst->pUnk->AddRef();
    return S_OK;
}

AM_MEDIA_TYPE *MediaType_Duplicate(const AM_MEDIA_TYPE &src)
{
    auto *mt = (AM_MEDIA_TYPE *)CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE));
    if (mt && FAILED(MediaType_Copy(mt, src))) {
        CoTaskMemFree(mt);
        return nullptr;
    }
    return mt;
}

LONG Rgb24_Stride(LONG width) { return (width * 3 + 3) & ~3; }

AM_MEDIA_TYPE MediaType_Video(const GUID &subtype, LONG width, LONG height, REFERENCE_TIME interval)
{
    auto *vih = (VIDEOINFOHEADER *)CoTaskMemAlloc(sizeof(VIDEOINFOHEADER));
    *vih = {};
    BITMAPINFOHEADER &bmi = vih->bmiHeader;
    bmi.biSize = sizeof bmi;
    bmi.biWidth = width;
    bmi.biHeight = height;
    bmi.biPlanes = 1;
    if (subtype == MEDIASUBTYPE_MJPG) {
        bmi.biCompression = MAKEFOURCC('M', 'J', 'P', 'G');
        bmi.biBitCount = 24;
        bmi.biSizeImage = width * height * 3; // the largest frame the device sends
    } else if (subtype == MEDIASUBTYPE_YUY2) {
        bmi.biCompression = MAKEFOURCC('Y', 'U', 'Y', '2');
        bmi.biBitCount = 16;
        bmi.biSizeImage = width * height * 2;
    } else {
        bmi.biCompression = BI_RGB;
        bmi.biBitCount = 24;
        bmi.biSizeImage = Rgb24_Stride(width) * height;
    }
    vih->AvgTimePerFrame = interval;
    if (interval > 0)
        vih->dwBitRate = (DWORD)((ULONGLONG)bmi.biSizeImage * 8 * 10000000 / interval);

    AM_MEDIA_TYPE mt = {};
    mt.majortype = MEDIATYPE_Video;
    mt.subtype = subtype;
    mt.bFixedSizeSamples = subtype != MEDIASUBTYPE_MJPG;
    mt.bTemporalCompression = FALSE;
    mt.lSampleSize = bmi.biSizeImage;
    mt.formattype = FORMAT_VideoInfo;
    mt.cbFormat = sizeof(VIDEOINFOHEADER);
    mt.pbFormat = (BYTE *)vih;
    return mt;
}

const BITMAPINFOHEADER *MediaType_Bitmap(const AM_MEDIA_TYPE &mt)
{
    if (mt.majortype != MEDIATYPE_Video || mt.formattype != FORMAT_VideoInfo || mt.cbFormat < sizeof(VIDEOINFOHEADER) ||
        !mt.pbFormat)
        return nullptr;
    return &((const VIDEOINFOHEADER *)mt.pbFormat)->bmiHeader;
}

REFERENCE_TIME MediaType_Interval(const AM_MEDIA_TYPE &mt)
{
    return MediaType_Bitmap(mt) ? ((const VIDEOINFOHEADER *)mt.pbFormat)->AvgTimePerFrame : 0;
}

bool MediaType_Matches(const AM_MEDIA_TYPE &wanted, const AM_MEDIA_TYPE &mt)
{
    if (wanted.majortype != GUID_NULL && wanted.majortype != mt.majortype)
        return false;
    if (wanted.subtype != GUID_NULL && wanted.subtype != mt.subtype)
        return false;
    if (wanted.formattype != GUID_NULL && wanted.formattype != mt.formattype)
        return false;
    const BITMAPINFOHEADER *w = MediaType_Bitmap(wanted), *m = MediaType_Bitmap(mt);
    if (w && m && w->biWidth && (w->biWidth != m->biWidth || w->biHeight != m->biHeight))
        return false;
    return true;
}

void Text_CopyTo(wchar_t *dst, size_t capacity, const wchar_t *text)
{
    lstrcpynW(dst, text, (int)capacity);
}

namespace {

// What an enumerator does with its items: hold one, drop one, hand one out.
void Item_Hold(IPin *&dst, IPin *src)
{
    dst = src;
    src->AddRef();
}
void Item_Drop(IPin *pin) { pin->Release(); }
IPin *Item_Out(IPin *pin)
{
    pin->AddRef();
    return pin;
}
void Item_Hold(AM_MEDIA_TYPE &dst, const AM_MEDIA_TYPE &src) { MediaType_Copy(&dst, src); }
void Item_Drop(AM_MEDIA_TYPE &mt) { MediaType_Clear(&mt); }
AM_MEDIA_TYPE *Item_Out(const AM_MEDIA_TYPE &mt) { return MediaType_Duplicate(mt); }

template <class Itf, const IID &kIid, class Item, class Out>
class ComEnum : public ComObject<Itf, kIid> {
public:
    ComEnum(const std::vector<Item> &source, ULONG position) : items(source.size()), position(position)
    {
        for (size_t i = 0; i < source.size(); i++)
            Item_Hold(items[i], source[i]);
    }
    ~ComEnum() override
    {
        for (auto &item : items)
            Item_Drop(item);
    }
    STDMETHODIMP Next(ULONG count, Out *out, ULONG *fetched) override
    {
        ULONG n = 0;
        while (n < count && position < items.size())
            out[n++] = Item_Out(items[position++]);
        if (fetched)
            *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override
    {
        position += count;
        if (position > items.size()) {
            position = (ULONG)items.size();
            return S_FALSE;
        }
        return S_OK;
    }
    STDMETHODIMP Reset() override
    {
        position = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(Itf **out) override
    {
        *out = new ComEnum(items, position);
        return S_OK;
    }

private:
    std::vector<Item> items;
    ULONG position;
};

using PinEnum = ComEnum<IEnumPins, IID_IEnumPins, IPin *, IPin *>;
using TypeEnum = ComEnum<IEnumMediaTypes, IID_IEnumMediaTypes, AM_MEDIA_TYPE, AM_MEDIA_TYPE *>;

} // namespace

IEnumPins *EnumPins_Create(const std::vector<IPin *> &pins) { return new PinEnum(pins, 0); }

IEnumMediaTypes *EnumMediaTypes_Create(const std::vector<AM_MEDIA_TYPE> &types) { return new TypeEnum(types, 0); }
