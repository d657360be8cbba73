#include "app/mainwnd_logic.h"
#include "capture/camera_state.h"
#include "reports/picture_files.h"
#include "reports/picture_reader.h"
#include "state/app_state.h"
#include "state/calibrations.h"
#include "state/language.h"
#include "state/view_api.h"
#include "support/view_fixture.h"
#include "view/view_source.h"
#include "view/view_state.h"

#include <cstring>
#include <string>

namespace {

using Bytes = std::vector<uint8_t>;

PictureVerdict Inspect(const Bytes &file, PictureFacts *facts)
{
    return Picture_Inspect(file.data(), file.size(), facts);
}

Bytes WrittenTiff(const PictureScale &scale)
{
    const uint32_t pixels[6] = {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x010203};
    Bytes file;
    EXPECT_TRUE(Tiff_Write(pixels, 3, 2, scale, &file));
    return file;
}

void PutBig(Bytes *file, uint32_t value, int size)
{
    for (int i = size - 1; i >= 0; i--)
        file->push_back((uint8_t)(value >> (8 * i)));
}

// A big-endian TIFF of one 1 x 1 strip with this description and an X
// resolution of 3/2 pixels per unit, laid out as another writer would.
Bytes BigEndianTiff(const std::string &description)
{
    Bytes file = {'M', 'M', 0, 42};
    PutBig(&file, 8, 4);
    const uint32_t entries = 6, data = 8 + 2 + entries * 12 + 4;
    uint32_t text = data + 3, rational = text + (uint32_t)description.size() + 1;
    PutBig(&file, entries, 2);
    auto entry = [&](uint32_t tag, uint32_t type, uint32_t count, uint32_t value, bool shortValue) {
        PutBig(&file, tag, 2);
        PutBig(&file, type, 2);
        PutBig(&file, count, 4);
        PutBig(&file, value, shortValue ? 2 : 4);
        if (shortValue)
            PutBig(&file, 0, 2);
    };
    entry(256, 3, 1, 1, true);
    entry(257, 3, 1, 1, true);
    entry(270, 2, (uint32_t)description.size() + 1, text, false);
    entry(273, 4, 1, data, false);
    entry(279, 4, 1, 3, false);
    entry(282, 5, 1, rational, false);
    PutBig(&file, 0, 4);
    file.insert(file.end(), {1, 2, 3});
    file.insert(file.end(), description.begin(), description.end());
    file.push_back(0);
    PutBig(&file, 3, 4);
    PutBig(&file, 2, 4);
    return file;
}

TEST(PictureReader, ReadsTheScaleThisProgramAndImageJWrite)
{
    PictureScale scale;
    Bytes ours = WrittenTiff({40, 40, 0});
    ASSERT_TRUE(Tiff_ReadScale(ours.data(), ours.size(), &scale));
    EXPECT_DOUBLE_EQ(scale.x, 40.0);
    EXPECT_EQ(scale.unit, 0);
    ours = WrittenTiff({2.5, 2.5, 1});
    ASSERT_TRUE(Tiff_ReadScale(ours.data(), ours.size(), &scale));
    EXPECT_DOUBLE_EQ(scale.x, 2.5);
    EXPECT_EQ(scale.unit, 1);
    ours = WrittenTiff({-1, -1, 0});
    EXPECT_FALSE(Tiff_ReadScale(ours.data(), ours.size(), &scale));

    const struct {
        const char *description;
        bool read;
        double perUnit;
        int unit;
    } cases[] = {
        {"ImageJ=1.54f\nunit=micron\n", true, 1.5, 1},
        {"ImageJ=1.54f\nunit=um\n", true, 1.5, 1},
        {"ImageJ=1.54f\nunit=\xC2\xB5m\n", true, 1.5, 1},
        {"ImageJ=1.54f\nunit=cm\n", true, 0.15, 0},
        {"ImageJ=1.54f\nunit=inch\n", false, -1, 0},
        {"ImageJ=1.54f\nxunit=mm\n", false, -1, 0},
    };
    for (const auto &c : cases) {
        Bytes file = BigEndianTiff(c.description);
        PictureFacts facts;
        EXPECT_EQ(Inspect(file, &facts), PICTURE_READABLE) << c.description;
        EXPECT_EQ(Tiff_ReadScale(file.data(), file.size(), &scale), c.read) << c.description;
        EXPECT_DOUBLE_EQ(scale.x, c.perUnit) << c.description;
        EXPECT_EQ(scale.unit, c.unit) << c.description;
    }
}

Bytes Png(uint32_t width, uint32_t height, bool complete)
{
    Bytes file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutBig(&file, 13, 4);
    file.insert(file.end(), {'I', 'H', 'D', 'R'});
    PutBig(&file, width, 4);
    PutBig(&file, height, 4);
    file.insert(file.end(), {8, 2, 0, 0, 0, 0, 0, 0, 0}); // depth, colour type, ..., CRC
    if (complete) {
        PutBig(&file, 0, 4);
        file.insert(file.end(), {'I', 'E', 'N', 'D', 0, 0, 0, 0});
    }
    return file;
}

TEST(PictureReader, TellsEachKindOfBadFileApart)
{
    PictureFacts facts;
    EXPECT_EQ(Inspect({}, &facts), PICTURE_EMPTY);
    EXPECT_EQ(Inspect(Bytes{'h', 'e', 'l', 'l', 'o'}, &facts), PICTURE_NOT_ONE);

    EXPECT_EQ(Inspect(Png(640, 480, true), &facts), PICTURE_READABLE);
    EXPECT_EQ(facts.format, PICTURE_PNG);
    EXPECT_EQ(facts.width, 640);
    EXPECT_EQ(facts.height, 480);
    EXPECT_EQ(Inspect(Png(640, 480, false), &facts), PICTURE_DAMAGED);
    EXPECT_EQ(Inspect(Png(20000, 20000, true), &facts), PICTURE_TOO_LARGE);
    EXPECT_EQ(Inspect(Png(12000, 9000, true), &facts), PICTURE_TOO_LARGE); // 108 megapixels
    EXPECT_EQ(Inspect(Png(0, 480, true), &facts), PICTURE_DAMAGED);

    Bytes tiff = WrittenTiff({40, 40, 0});
    EXPECT_EQ(Inspect(tiff, &facts), PICTURE_READABLE);
    tiff.resize(tiff.size() - 1);
    EXPECT_EQ(Inspect(tiff, &facts), PICTURE_DAMAGED);

    // Start of image, a frame of 3 x 2, start of scan, data with a stuffed
    // 0xFF, end of image.
    Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xC0, 0, 11, 8, 0, 2, 0, 3, 1, 1, 0x11, 0,
                  0xFF, 0xDA, 0, 8, 1, 1, 0, 0, 63, 0, 0x12, 0xFF, 0x00, 0x34, 0xFF, 0xD9};
    EXPECT_EQ(Inspect(jpeg, &facts), PICTURE_READABLE);
    EXPECT_EQ(facts.format, PICTURE_JPEG);
    EXPECT_EQ(facts.width, 3);
    EXPECT_EQ(facts.height, 2);
    jpeg.resize(jpeg.size() - 2);
    EXPECT_EQ(Inspect(jpeg, &facts), PICTURE_DAMAGED);

    // A 2 x 2 24-bit bottom-up BMP: rows of 8 bytes after 54 bytes of headers.
    Bytes bmp(54 + 16, 0);
    const uint8_t header[] = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0};
    memcpy(bmp.data(), header, sizeof header);
    EXPECT_EQ(Inspect(bmp, &facts), PICTURE_READABLE);
    EXPECT_EQ(facts.format, PICTURE_BMP);
    bmp.resize(bmp.size() - 1);
    EXPECT_EQ(Inspect(bmp, &facts), PICTURE_DAMAGED);
}

struct StillTest : ViewTest {
    void TearDown() override
    {
        gCamera.gray = 0;
        View_Reset();
    }
};

// Rows of 3 x 2 pixels, top row first, each pixel's bytes distinct.
const uint8_t kRows[2][9] = {{10, 20, 30, 40, 50, 60, 70, 80, 90}, {15, 25, 35, 45, 55, 65, 75, 85, 95}};

TEST_F(StillTest, TakesThePictureBottomUpAndAppliesTheChosenEffectFromTheOriginal)
{
    StillPicture picture = {3, 2, &kRows[0][0], 9, true, -1.0f, 0, L"a.png"};
    ASSERT_TRUE(View_TakeStill(picture));
    EXPECT_EQ(gView.source, VIEW_PICTURE);
    EXPECT_EQ(gView.imageWidth, 3);
    EXPECT_EQ(gView.imageHeight, 2);
    EXPECT_STREQ(gView.stillName, L"a.png");
    ASSERT_EQ(gView.frameBits.size(), 24u); // two rows of 9 bytes padded to 12
    EXPECT_EQ(0, memcmp(&gView.frameBits[0], kRows[1], 9)); // the bottom row first
    EXPECT_EQ(0, memcmp(&gView.frameBits[12], kRows[0], 9));
    EXPECT_TRUE(View_HasPicture()); // without a camera

    gCamera.gray = 1;
    EXPECT_TRUE(View_RefreshStillEffect());
    EXPECT_EQ(gView.frameBits[0], gView.frameBits[2]); // gray: B = G = R
    EXPECT_FALSE(View_RefreshStillEffect()); // nothing changed since
    gCamera.gray = 0;
    EXPECT_TRUE(View_RefreshStillEffect());
    EXPECT_EQ(0, memcmp(&gView.frameBits[0], kRows[1], 9));

    View_Reset(); // a camera's picture again: the still ends
    EXPECT_EQ(gView.source, VIEW_LIVE);
    EXPECT_TRUE(gView.stillOriginal.empty());
}

TEST_F(StillTest, RefusesAPictureBeyondTheLimitsAndKeepsTheView)
{
    std::vector<uint8_t> frame = gView.frameBits;
    StillPicture huge = {20000, 20000, &kRows[0][0], 60000, true, -1.0f, 0, L"huge.png"};
    EXPECT_FALSE(View_TakeStill(huge));
    EXPECT_EQ(gView.source, VIEW_LIVE);
    EXPECT_EQ(gView.imageWidth, 640);
    EXPECT_EQ(gView.frameBits, frame);
    EXPECT_TRUE(Still_SizeAllowed(10000, 10000));
    EXPECT_FALSE(Still_SizeAllowed(10001, 10000));
    EXPECT_FALSE(Still_SizeAllowed(16385, 100));
}

TEST_F(StillTest, HoldNeedsARunningCameraAndTheStatusSaysWhatIsShown)
{
    gLanguageTexts = {{1373, L"own scale"}, {1374, L"held"}, {1375, L"file %s"}};
    wchar_t note[CALIBRATION_REASON_CAPACITY];
    EXPECT_FALSE(View_ToggleHold()); // no camera runs
    EXPECT_EQ(gView.source, VIEW_LIVE);
    int running = 0;
    gCamera.grabber = reinterpret_cast<ISampleGrabber *>(&running); // only its presence is asked
    EXPECT_TRUE(View_ToggleHold());
    EXPECT_TRUE(gCamera.viewHeld) << "new frames would recompose the held one";
    Status_NoteText(note, CALIBRATION_REASON_CAPACITY, true);
    EXPECT_STREQ(note, L"held");
    EXPECT_FALSE(View_ToggleHold());
    EXPECT_FALSE(gCamera.viewHeld);
    Status_NoteText(note, CALIBRATION_REASON_CAPACITY, true);
    EXPECT_STREQ(note, L"");
    gCamera.grabber = nullptr;

    StillPicture picture = {3, 2, &kRows[0][0], 9, true, 40.0f, 0, L"ruler.tif"};
    ASSERT_TRUE(View_TakeStill(picture));
    gApp.activeCalibration = CALIBRATION_PICTURE;
    gView.scale = 40.0f;
    Status_NoteText(note, CALIBRATION_REASON_CAPACITY, true);
    EXPECT_STREQ(note, L"file ruler.tif \u2013 own scale");
    wchar_t button[BUTTON_TEXT_CAPACITY];
    Toolbar_CalibrationText(button, BUTTON_TEXT_CAPACITY, true);
    EXPECT_STREQ(button, L"own scale");
    gApp.activeCalibration = -1;
    gLanguageTexts.clear();
}

TEST(CommandLine, NamesTheFileWithoutQuotesOrBlanks)
{
    wchar_t path[16];
    EXPECT_TRUE(CommandLine_Path(L"  \"C:\\a b.tif\" ", path, 16));
    EXPECT_STREQ(path, L"C:\\a b.tif");
    EXPECT_TRUE(CommandLine_Path(L"x.png", path, 16));
    EXPECT_STREQ(path, L"x.png");
    EXPECT_FALSE(CommandLine_Path(L"   ", path, 16));
    EXPECT_FALSE(CommandLine_Path(L"\"\"", path, 16));
    EXPECT_FALSE(CommandLine_Path(L"C:\\far\\too\\long.tif", path, 16));
}

} // namespace
