#include "record/writer.h"

#include "capture/frame_layout.h"

#include <cstdlib>

// The bit rate steps with the frame width; the nominal rate, progressive scan
// and square pixels never change: the samples' own times and durations tell
// the real rate.
WriterSetup Recorder_WriterSetup(const BitmapHeader &header, int32_t useH264)
{
    WriterSetup setup = {};
    setup.width = header.biWidth & ~1;
    setup.height = std::abs(header.biHeight) & ~1;
    setup.stride = Frame_RowBytes(header.biWidth);
    setup.bitRate = header.biWidth <= 720 ? 1800000 : header.biWidth <= 1280 ? 3500000 : 8500000;
    setup.useH264 = useH264;
    setup.frameRateNumerator = 30;
    setup.frameRateDenominator = 1;
    setup.interlaceMode = 2;
    setup.pixelAspectNumerator = 1;
    setup.pixelAspectDenominator = 1;
    return setup;
}
