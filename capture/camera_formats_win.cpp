// Pins of a filter, its capture formats, and applying one format.
#include "capture/camera_graph.h"
#include "capture/dshow_win.h"
#include "capture/media_format.h"
#include "base/scoped_win.h"

void MediaType_FreeContent(AM_MEDIA_TYPE *type)
{
    if (type->cbFormat != 0)
        CoTaskMemFree(type->pbFormat);
    type->cbFormat = 0;
    type->pbFormat = nullptr;
    Com_Release(type->pUnk);
}

void MediaType_Delete(AM_MEDIA_TYPE *type)
{
    if (type) {
        MediaType_FreeContent(type);
        CoTaskMemFree(type);
    }
}

static bool PinIsUnconnected(IPin *pin)
{
    ComPtr<IPin> peer;
    return pin->ConnectedTo(peer.Put()) == VFW_E_NOT_CONNECTED;
}

IPin *Camera_FindPin(IBaseFilter *filter, int direction, bool unconnectedOnly)
{
    ComPtr<IEnumPins> pins;
    if (!filter || FAILED(filter->EnumPins(pins.Put())))
        return nullptr;
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
        PIN_DIRECTION pinDirection;
        if (SUCCEEDED(pin->QueryDirection(&pinDirection)) && pinDirection == direction &&
            (!unconnectedOnly || PinIsUnconnected(pin.Get())))
            return pin.Detach();
    }
    return nullptr;
}

IPin *Camera_FindStillPin(IBaseFilter *filter)
{
    ComPtr<IEnumPins> pins;
    if (!filter || FAILED(filter->EnumPins(pins.Put())))
        return nullptr;
    bool passedFirstOutput = false;
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
        PIN_DIRECTION pinDirection;
        bool output = SUCCEEDED(pin->QueryDirection(&pinDirection)) && pinDirection == PINDIR_OUTPUT;
        if (output && passedFirstOutput && PinIsUnconnected(pin.Get()))
            return pin.Detach();
        passedFirstOutput = passedFirstOutput || output;
    }
    return nullptr;
}

// Calls visit(format, config, type) for every accepted capability of the
// filter's first output pin, until visit returns false; none without a
// stream-config interface.
template <typename Visit> static void WalkCapabilities(IBaseFilter *filter, Visit visit)
{
    ComPtr<IPin> pin(Camera_FindPin(filter, PINDIR_OUTPUT, false));
    ComPtr<IAMStreamConfig> config;
    if (!pin || FAILED(pin->QueryInterface(IID_IAMStreamConfig, config.PutVoid())) || !config)
        return;
    int count = 0, size = 0;
    if (SUCCEEDED(config->GetNumberOfCapabilities(&count, &size)) &&
        size == sizeof(VIDEO_STREAM_CONFIG_CAPS)) {
        for (int i = 0; i < count; i++) {
            AM_MEDIA_TYPE *type = nullptr;
            VIDEO_STREAM_CONFIG_CAPS caps;
            if (FAILED(config->GetStreamCaps(i, &type, (BYTE *)&caps)) || !type)
                break;
            VideoFormat format;
            bool more = true;
            if (MediaFormat_Read(ClassId_From(type->majortype), ClassId_From(type->subtype),
                                 ClassId_From(type->formattype), type->pbFormat, type->cbFormat,
                                 &format))
                more = visit(format, config.Get(), type);
            MediaType_Delete(type);
            if (!more)
                break;
        }
    }
}

void Camera_EnumFormats(IBaseFilter *filter, FormatMap *yuy2, FormatMap *mjpg)
{
    WalkCapabilities(filter, [&](const VideoFormat &format, IAMStreamConfig *, AM_MEDIA_TYPE *) {
        if (Format_IsListed(format.width, format.height))
            FormatMap_Add(ClassId_Equal(format.subtype, kSubtypeMjpg) ? mjpg : yuy2, format);
        return true;
    });
}

void Camera_EnsureFormats()
{
    if (gCamera.yuy2Formats.empty() && gCamera.mjpgFormats.empty())
        Camera_EnumFormats(gCamera.captureFilter, &gCamera.yuy2Formats, &gCamera.mjpgFormats);
}

void Camera_ChooseDefaultFormat()
{
    VideoFormat chosen;
    if (Formats_ChooseDefault(gCamera.mjpgFormats, gCamera.yuy2Formats, &chosen))
        gRequestedFormat = chosen;
}

int32_t Camera_SetFormat(const VideoFormat &requested)
{
    bool applied = false;
    WalkCapabilities(gCamera.captureFilter, [&](const VideoFormat &format, IAMStreamConfig *config,
                                                AM_MEDIA_TYPE *type) {
        if (!ClassId_Equal(format.subtype, requested.subtype) || format.width != requested.width ||
            format.height != requested.height)
            return true;
        // The capability's own type, with the frame interval the device lists
        // first. A device may list a format and then refuse it, keeping the
        // one it had: only a format it took becomes the current one.
        applied = SUCCEEDED(config->SetFormat(type));
        if (applied)
            gCamera.currentFormat = format;
        return false;
    });
    return applied ? 1 : 0;
}
