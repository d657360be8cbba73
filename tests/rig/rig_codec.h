// Pixel formats the rig produces and converts: 24-bit BGR, YUY2 (BT.601,
// studio range) and JPEG through WIC.
#pragma once
#include <windows.h>
#include <wincodec.h>

// `rows` rows of `width` BGR pixels (tightly packed) to YUY2; width is even.
void Bgr_ToYuy2(const BYTE *bgr, int width, int rows, BYTE *yuy2);
// A top-down YUY2 frame to a bottom-up RGB24 DIB with the given row stride.
void Yuy2_ToDib(const BYTE *yuy2, int width, int height, BYTE *dib, LONG stride);

// Encodes a top-down BGR frame as baseline JPEG into `out`; returns the byte
// count, 0 when it did not fit or failed.
long Jpeg_Encode(IWICImagingFactory *wic, const BYTE *bgr, int width, int height, BYTE *out, long capacity);
// Decodes a JPEG of the given size into a bottom-up RGB24 DIB.
HRESULT Jpeg_DecodeToDib(IWICImagingFactory *wic, const BYTE *jpeg, long size, int width, int height, BYTE *dib,
                         LONG stride);

// A WIC factory (free-threaded); COM must be initialised on the thread.
IWICImagingFactory *Wic_Create();
