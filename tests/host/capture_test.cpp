// Capture logic that needs no device: reading capabilities, the device-name
// filter, control write patterns, and the view's device countdown.
#include "capture/camera_controls.h"
#include "capture/camera_graph.h"
#include "capture/devices.h"
#include "capture/media_format.h"
#include "view/device_events.h"
#include "view/view_state.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> FormatBlock(size_t headerOffset, int32_t width, int32_t height)
{
    std::vector<uint8_t> block(headerOffset + sizeof(BitmapHeader), 0xCD);
    BitmapHeader header = {};
    header.biSize = 40;
    header.biWidth = width;
    header.biHeight = height;
    memcpy(block.data() + headerOffset, &header, sizeof header);
    return block;
}

TEST(MediaFormats, TakeTheSizeFromTheHeaderOfEitherVideoInfoLayout)
{
    VideoFormat format;
    auto v1 = FormatBlock(48, 1280, 720);
    ASSERT_TRUE(MediaFormat_Read(kMediaTypeVideo, kSubtypeMjpg, kFormatVideoInfo, v1.data(), v1.size(), &format));
    EXPECT_EQ(format.width, 1280);
    EXPECT_EQ(format.height, 720);
    auto v2 = FormatBlock(72, 640, 480);
    ASSERT_TRUE(MediaFormat_Read(kMediaTypeVideo, kSubtypeYuy2, kFormatVideoInfo2, v2.data(), v2.size(), &format));
    EXPECT_TRUE(ClassId_Equal(format.subtype, kSubtypeYuy2));
    EXPECT_EQ(format.width, 640);
}

TEST(MediaFormats, RejectOtherTypesSubtypesLayoutsAndShortBlocks)
{
    VideoFormat format;
    auto block = FormatBlock(48, 640, 480);
    EXPECT_FALSE(MediaFormat_Read(kSubtypeMjpg, kSubtypeMjpg, kFormatVideoInfo, block.data(), block.size(), &format));
    EXPECT_FALSE(MediaFormat_Read(kMediaTypeVideo, kSubtypeRgb24, kFormatVideoInfo, block.data(), block.size(), &format));
    EXPECT_FALSE(MediaFormat_Read(kMediaTypeVideo, kSubtypeMjpg, kMediaTypeVideo, block.data(), block.size(), &format));
    EXPECT_FALSE(MediaFormat_Read(kMediaTypeVideo, kSubtypeMjpg, kFormatVideoInfo2, block.data(), block.size(), &format));
    EXPECT_FALSE(MediaFormat_Read(kMediaTypeVideo, kSubtypeMjpg, kFormatVideoInfo, nullptr, 0, &format));
}

TEST(DeviceNames, BuiltInCamerasAreLeftOutCaseSensitively)
{
    EXPECT_TRUE(Device_NameIsListed(L"USB Microscope"));
    EXPECT_FALSE(Device_NameIsListed(L"Integrated Camera"));
    EXPECT_FALSE(Device_NameIsListed(L"HD Webcam (Microsoft LifeCam)"));
    EXPECT_TRUE(Device_NameIsListed(L"integrated lens microscope"));
    EXPECT_FALSE(Device_NameIsListed(L""));
}

TEST(ControlWrites, ManualStoresAndSendsTheValue)
{
    gCamera.brightness = {-64, 64, 1, 0, 2, 0, 1, 0};
    ControlWrite w = Control_ManualChange(CONTROL_BRIGHTNESS, -13);
    EXPECT_EQ(gCamera.brightness.value, -13);
    EXPECT_EQ(w.value, -13);
    EXPECT_EQ(w.flags, CONTROL_FLAG_MANUAL);
    EXPECT_EQ(Control_PropertyId(CONTROL_BRIGHTNESS), 0);
    EXPECT_EQ(Control_PropertyId(CONTROL_EXPOSURE), 4);
    EXPECT_EQ(Control_PropertyId(CONTROL_GAIN), 9);
}

// Automatic mode on and off again: the slider takes what automatic mode
// arrived at (within the range), and the value set by hand before is offered
// back until the user sets one again.
TEST(ControlWrites, AutomaticOffKeepsTheCamerasValueAndOffersTheManualOneBack)
{
    Camera_ClearControls();
    gCamera.exposure = {-13, -1, 1, -6, 2, -6, 1, 0};
    Controls_NoteManualValues();
    Control_ManualChange(CONTROL_EXPOSURE, -8);
    ControlWrite on = Control_AutoChange(CONTROL_EXPOSURE, true, 0);
    EXPECT_EQ(on.value, 0);
    EXPECT_EQ(on.flags, CONTROL_FLAG_AUTO);
    int32_t offered = 0;
    EXPECT_FALSE(Control_Offer(gCamera.exposure, &offered)) << "nothing to offer while automatic";

    ControlWrite off = Control_AutoChange(CONTROL_EXPOSURE, false, -5);
    EXPECT_EQ(gCamera.exposure.autoOn, 0);
    EXPECT_EQ(gCamera.exposure.value, -5);
    EXPECT_EQ(off.value, -5);
    EXPECT_EQ(off.flags, CONTROL_FLAG_MANUAL);
    ASSERT_TRUE(Control_Offer(gCamera.exposure, &offered));
    EXPECT_EQ(offered, -8);
    Control_ManualChange(CONTROL_EXPOSURE, offered);
    EXPECT_FALSE(Control_Offer(gCamera.exposure, &offered)) << "taken back";

    Control_AutoChange(CONTROL_EXPOSURE, true, 0);
    EXPECT_EQ(Control_AutoChange(CONTROL_EXPOSURE, false, 40).value, -1) << "a camera value beyond the range";
    // A camera that starts automatic has no manual value to offer.
    gCamera.whiteBalance = {2800, 6500, 1, 4600, 1, 5200, 1, 1};
    Controls_NoteManualValues();
    Control_AutoChange(CONTROL_WHITE_BALANCE, false, 5200);
    EXPECT_FALSE(Control_Offer(gCamera.whiteBalance, &offered));
    Camera_ClearControls();
}

// "id:value/flags " for each write, in order.
std::wstring Described(const std::vector<KeptWrite> &writes)
{
    std::wstring text;
    for (const KeptWrite &w : writes)
        text += std::to_wstring(w.id) + L":" + std::to_wstring(w.write.value) + L"/" + std::to_wstring(w.write.flags) + L" ";
    return text;
}

// What was kept is set again only as far as the device allows, and the
// device's defaults put automatic mode on where it is offered.
TEST(ControlWrites, KeptSettingsAndDefaultsStayWithinTheDevicesRanges)
{
    Camera_ClearControls();
    gCamera.exposure = {-13, -1, 1, -6, 2, -6, 1, 0};
    gCamera.gain = {0, 100, 1, 0, 2, 0, 0, 0};    // manual only
    gCamera.whiteBalance = {2800, 6500, 1, 4600, 1, 4600, 1, 1};
    gCamera.powerLineFrequency = {1, 2, 1, 1, 2, 0, 0, 0};
    CameraMemory kept = {};
    kept.properties[CONTROL_EXPOSURE] = {KEPT_AUTO_AFTER_MANUAL, -20};
    kept.properties[CONTROL_GAIN] = {KEPT_AUTO, 0};
    kept.properties[CONTROL_WHITE_BALANCE] = {KEPT_MANUAL, 9000};
    kept.properties[CONTROL_HUE] = {KEPT_MANUAL, 5}; // the device does not report hue
    kept.powerLine = 2;
    EXPECT_EQ(Described(Controls_KeptWrites(kept)), L"0:0/1 2:6500/2 9:2/2 ");
    int32_t offered = 0;
    Control_AutoChange(CONTROL_EXPOSURE, false, -5);
    ASSERT_TRUE(Control_Offer(gCamera.exposure, &offered));
    EXPECT_EQ(offered, -13) << "the kept manual value, within the range";
    gCamera.powerLineFrequency.max = 1;
    kept.properties[CONTROL_WHITE_BALANCE] = {KEPT_NONE, 0};
    EXPECT_EQ(Described(Controls_KeptWrites(kept)), L"0:0/1 ") << "60 Hz is not offered";

    EXPECT_EQ(Described(Controls_DefaultWrites()), L"0:0/1 1:0/2 2:0/1 9:1/2 ");
    EXPECT_EQ(gCamera.exposure.value, -6);
    Camera_ClearControls();
}

TEST(DeviceCountdown, FiresAtTheFirstTickAfterCreationAndTheEighthAfterArrival)
{
    gView.deviceDelay = DEVICE_DELAY_AT_CREATION;
    EXPECT_TRUE(View_DeviceDelayTick());
    EXPECT_EQ(gView.deviceDelay, 0);
    EXPECT_FALSE(View_DeviceDelayTick());

    gView.deviceDelay = DEVICE_DELAY_AT_ARRIVAL;
    int ticks = 1;
    while (!View_DeviceDelayTick())
        ticks++;
    EXPECT_EQ(ticks, 8);
}

TEST(DeviceChanges, OnlyCaptureInterfacesCount)
{
    uint8_t record[32] = {};
    uint32_t size = 32, type = 5;
    memcpy(record, &size, 4);
    memcpy(record + 4, &type, 4);
    const uint8_t capture[16] = {0x3D, 0x77, 0xE8, 0x65, 0x56, 0x8F, 0xD0, 0x11,
                                 0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96};
    memcpy(record + 12, capture, 16);
    EXPECT_TRUE(DeviceChange_IsCaptureInterface(record, sizeof record));
    record[4] = 2; // a volume, not a device interface
    EXPECT_FALSE(DeviceChange_IsCaptureInterface(record, sizeof record));
    record[4] = 5;
    record[20] ^= 1; // another category
    EXPECT_FALSE(DeviceChange_IsCaptureInterface(record, sizeof record));
    EXPECT_FALSE(DeviceChange_IsCaptureInterface(record, 20));
}

} // namespace
