// A picture file's header and ImageJ's calibration in a TIFF, read before
// anything is decoded: every read stays within the bytes (AddressSanitizer
// holds it), a readable picture has a size the view takes, and a scale read
// is a finite, positive number of pixels per millimetre or micrometre.
#include "fuzz_support.h"

#include "reports/picture_reader.h"
#include "view/view_source.h"

#include <cmath>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A copy of exactly the fuzzer's length, so that a read past it is caught.
    std::vector<uint8_t> bytes(data, data + size);
    PictureFacts facts;
    PictureVerdict verdict = Picture_Inspect(bytes.data(), bytes.size(), &facts);
    FUZZ_CHECK(verdict != PICTURE_EMPTY || size == 0);
    if (verdict == PICTURE_READABLE)
        FUZZ_CHECK(facts.format != PICTURE_UNKNOWN && Still_SizeAllowed(facts.width, facts.height));
    PictureScale scale;
    if (Tiff_ReadScale(bytes.data(), bytes.size(), &scale))
        FUZZ_CHECK(std::isfinite(scale.x) && scale.x > 0 && (scale.unit == 0 || scale.unit == 1));
    else
        FUZZ_CHECK(scale.x < 0);
    return 0;
}
