#include "rig_codec.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

BYTE Clamp(int v) { return (BYTE)std::clamp(v, 0, 255); }

// BT.601 studio range in 8-bit fixed point.
BYTE Luma(const BYTE *p) { return Clamp(((66 * p[2] + 129 * p[1] + 25 * p[0] + 128) >> 8) + 16); }

template <class T>
void Release(T *&p)
{
    if (p)
        p->Release();
    p = nullptr;
}

} // namespace

void Bgr_ToYuy2(const BYTE *bgr, int width, int rows, BYTE *yuy2)
{
    for (int y = 0; y < rows; y++) {
        for (int x = 0; x < width; x += 2, bgr += 6, yuy2 += 4) {
            int b = bgr[0] + bgr[3], g = bgr[1] + bgr[4], r = bgr[2] + bgr[5]; // two pixels share chroma
            yuy2[0] = Luma(bgr);
            yuy2[2] = Luma(bgr + 3);
            yuy2[1] = Clamp(((-38 * r - 74 * g + 112 * b + 256) >> 9) + 128);
            yuy2[3] = Clamp(((112 * r - 94 * g - 18 * b + 256) >> 9) + 128);
        }
    }
}

void Yuy2_ToDib(const BYTE *yuy2, int width, int height, BYTE *dib, LONG stride)
{
    for (int y = 0; y < height; y++) {
        BYTE *row = dib + (size_t)(height - 1 - y) * stride;
        for (int x = 0; x < width; x += 2, yuy2 += 4, row += 6) {
            int u = yuy2[1] - 128, v = yuy2[3] - 128;
            for (int i = 0; i < 2; i++) {
                int c = 298 * (yuy2[i * 2] - 16);
                row[i * 3 + 0] = Clamp((c + 516 * u + 128) >> 8);
                row[i * 3 + 1] = Clamp((c - 100 * u - 208 * v + 128) >> 8);
                row[i * 3 + 2] = Clamp((c + 409 * v + 128) >> 8);
            }
        }
    }
}

IWICImagingFactory *Wic_Create()
{
    IWICImagingFactory *wic = nullptr;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory, (void **)&wic);
    return wic;
}

long Jpeg_Encode(IWICImagingFactory *wic, const BYTE *bgr, int width, int height, BYTE *out, long capacity)
{
    IWICStream *stream = nullptr;
    IWICBitmapEncoder *encoder = nullptr;
    IWICBitmapFrameEncode *frame = nullptr;
    IPropertyBag2 *options = nullptr;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    UINT stride = (UINT)width * 3;
    ULARGE_INTEGER end = {};
    HRESULT hr = wic ? wic->CreateStream(&stream) : E_POINTER;
    if (SUCCEEDED(hr))
        hr = stream->InitializeFromMemory(out, (DWORD)capacity);
    if (SUCCEEDED(hr))
        hr = wic->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder);
    if (SUCCEEDED(hr))
        hr = encoder->Initialize(stream, WICBitmapEncoderNoCache);
    if (SUCCEEDED(hr))
        hr = encoder->CreateNewFrame(&frame, &options);
    if (SUCCEEDED(hr))
        hr = frame->Initialize(options);
    if (SUCCEEDED(hr))
        hr = frame->SetSize(width, height);
    if (SUCCEEDED(hr))
        hr = frame->SetPixelFormat(&format);
    if (SUCCEEDED(hr) && format != GUID_WICPixelFormat24bppBGR)
        hr = WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
    if (SUCCEEDED(hr))
        hr = frame->WritePixels(height, stride, stride * height, (BYTE *)bgr);
    if (SUCCEEDED(hr))
        hr = frame->Commit();
    if (SUCCEEDED(hr))
        hr = encoder->Commit();
    if (SUCCEEDED(hr))
        hr = stream->Seek({}, STREAM_SEEK_CUR, &end);
    Release(options);
    Release(frame);
    Release(encoder);
    Release(stream);
    return SUCCEEDED(hr) ? (long)end.QuadPart : 0;
}

HRESULT Jpeg_DecodeToDib(IWICImagingFactory *wic, const BYTE *jpeg, long size, int width, int height, BYTE *dib,
                         LONG stride)
{
    IWICStream *stream = nullptr;
    IWICBitmapDecoder *decoder = nullptr;
    IWICBitmapFrameDecode *frame = nullptr;
    IWICFormatConverter *converter = nullptr;
    UINT w = 0, h = 0;
    HRESULT hr = wic ? wic->CreateStream(&stream) : E_POINTER;
    if (SUCCEEDED(hr))
        hr = stream->InitializeFromMemory((BYTE *)jpeg, (DWORD)size);
    if (SUCCEEDED(hr))
        hr = wic->CreateDecoder(GUID_ContainerFormatJpeg, nullptr, &decoder);
    if (SUCCEEDED(hr))
        hr = decoder->Initialize(stream, WICDecodeMetadataCacheOnDemand);
    if (SUCCEEDED(hr))
        hr = decoder->GetFrame(0, &frame);
    if (SUCCEEDED(hr))
        hr = frame->GetSize(&w, &h);
    if (SUCCEEDED(hr) && ((int)w != width || (int)h != height))
        hr = E_INVALIDARG;
    if (SUCCEEDED(hr))
        hr = wic->CreateFormatConverter(&converter);
    if (SUCCEEDED(hr))
        hr = converter->Initialize(frame, GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom);
    if (SUCCEEDED(hr)) {
        // WIC hands rows top-down; a DIB wants them bottom-up.
        std::vector<BYTE> topDown((size_t)stride * height);
        hr = converter->CopyPixels(nullptr, stride, (UINT)topDown.size(), topDown.data());
        for (int y = 0; SUCCEEDED(hr) && y < height; y++)
            memcpy(dib + (size_t)(height - 1 - y) * stride, &topDown[(size_t)y * stride], (size_t)width * 3);
    }
    Release(converter);
    Release(frame);
    Release(decoder);
    Release(stream);
    return hr;
}
