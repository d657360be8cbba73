// The platform's writer: Media Foundation's sink writer, RGB24 frames in and
// H.264 in MP4 or WMV3 out, the container chosen by the file's extension;
// where Media Foundation cannot make one (no encoder: the N editions of
// Windows, Wine), the fallback writer on FFmpeg with the same setup.
#include "record/writer.h"

#include "base/platform.h"
#include "base/scoped_win.h"
#include "base/text.h"
#include "capture/camera_state.h"
#include "capture/frame_layout.h"
#include "record/fallback_writer_win.h"
#include "record/mf_runtime_win.h"

#include <mferror.h>

// The open fallback writer; null while Media Foundation writes or none does.
static FallbackWriter *gFallbackWriter;
// When the room on the file's volume was last looked at (GetTickCount64).
static ULONGLONG gRoomCheckedAt;
// Whether the recording thread joined COM's multithreaded apartment, which
// it leaves at its end.
static bool gThreadInApartment;

// What the input and output types share: size, nominal rate, scan, pixels.
static HRESULT DescribeVideo(IMFMediaType *type, const GUID &subtype, const WriterSetup &setup)
{
    HRESULT hr = type->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
    if (SUCCEEDED(hr))
        hr = type->SetGUID(MF_MT_SUBTYPE, subtype);
    if (SUCCEEDED(hr))
        hr = type->SetUINT32(MF_MT_INTERLACE_MODE, (UINT32)setup.interlaceMode);
    if (SUCCEEDED(hr))
        hr = MFSetAttributeSize(type, MF_MT_FRAME_SIZE, (UINT32)setup.width, (UINT32)setup.height);
    if (SUCCEEDED(hr))
        hr = MFSetAttributeRatio(type, MF_MT_FRAME_RATE, (UINT32)setup.frameRateNumerator,
                                 (UINT32)setup.frameRateDenominator);
    if (SUCCEEDED(hr))
        hr = MFSetAttributeRatio(type, MF_MT_PIXEL_ASPECT_RATIO, (UINT32)setup.pixelAspectNumerator,
                                 (UINT32)setup.pixelAspectDenominator);
    return hr;
}

// A sink writer for the path, its stream set up and writing begun; on
// failure nothing is kept (the file the writer may have made stays, see
// OpenWriter).
static HRESULT OpenSinkWriter(const wchar_t *path, const WriterSetup &setup, IMFSinkWriter **result, DWORD *stream)
{
    const MediaFoundation &mf = gMediaFoundation;
    ComPtr<IMFSinkWriter> writer;
    ComPtr<IMFMediaType> output, input;
    HRESULT hr = mf.createSinkWriterFromURL(path, nullptr, nullptr, writer.Put());
    if (SUCCEEDED(hr))
        hr = mf.createMediaType(output.Put());
    if (SUCCEEDED(hr))
        hr = DescribeVideo(output.Get(), setup.useH264 ? MFVideoFormat_H264 : MFVideoFormat_WMV3, setup);
    if (SUCCEEDED(hr))
        hr = output->SetUINT32(MF_MT_AVG_BITRATE, (UINT32)setup.bitRate);
    if (SUCCEEDED(hr))
        hr = writer->AddStream(output.Get(), stream);
    if (SUCCEEDED(hr))
        hr = mf.createMediaType(input.Put());
    if (SUCCEEDED(hr))
        hr = DescribeVideo(input.Get(), MFVideoFormat_RGB24, setup);
    if (SUCCEEDED(hr))
        hr = writer->SetInputMediaType(*stream, input.Get(), nullptr);
    if (SUCCEEDED(hr))
        hr = writer->BeginWriting();
    if (SUCCEEDED(hr))
        *result = writer.Detach();
    return hr;
}

// Media Foundation's sink writer for the path, else the fallback writer;
// a sink writer that failed after making its file leaves nothing behind.
static HRESULT OpenWriter(const wchar_t *path, const WriterSetup &setup, IMFSinkWriter **sink, DWORD *stream,
                          FallbackWriter **fallback)
{
    bool existed = GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
    HRESULT hr = MF_E_NOT_INITIALIZED;
    if (MediaFoundation_Available())
        hr = OpenSinkWriter(path, setup, sink, stream);
    if (SUCCEEDED(hr))
        return hr;
    if (!existed)
        DeleteFileW(path);
    Debug_Printf(L"OpenWriter: Media Foundation failed (0x%08X), the fallback writer takes over\r\n", (unsigned)hr);
    return FallbackWriter_Open(path, setup, fallback);
}

// Whether the file's folder is still there with the room to finish the file:
// an MP4 writes its index at the end (a few bytes a frame, under 1 MB for an
// hour) and the encoder still holds packets; without that room the file would
// never play, so the recording ends while it is there. A folder that is gone
// (a drive taken out, a folder deleted or renamed) ends it too. Other answers
// leave it to the writes themselves. Returns the status to end with, or 0.
static HRESULT RoomToFinish(const WriterSetup &setup)
{
    wchar_t folder[PATH_CAPACITY];
    Text_Copy(folder, PATH_CAPACITY, gRecorder.path);
    wchar_t *name = wcsrchr(folder, L'\\');
    if (!name)
        return S_OK;
    name[1] = 0;
    ULARGE_INTEGER available = {};
    if (!GetDiskFreeSpaceExW(folder, &available, nullptr, nullptr)) {
        DWORD error = GetLastError();
        bool gone = error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND;
        return gone ? HRESULT_FROM_WIN32(error) : S_OK;
    }
    const uint64_t reserve = 4 * 1024 * 1024 + (uint64_t)setup.bitRate / 4; // 4 MB and two seconds of video
    return available.QuadPart >= reserve ? S_OK : HRESULT_FROM_WIN32(ERROR_DISK_FULL);
}

int32_t Camera_CreateWriter()
{
    WriterSetup setup = Recorder_WriterSetup(gCamera.frameHeader, gRecorder.useH264);
    // A file that could never be finished is not begun.
    HRESULT room = RoomToFinish(setup);
    if (FAILED(room))
        return room;
    gRoomCheckedAt = GetTickCount64();
    DWORD stream = 0;
    HRESULT hr = OpenWriter(gRecorder.path, setup, &gRecorder.writer, &stream, &gFallbackWriter);
    gRecorder.streamIndex = stream;
    return hr;
}

// One frame into a memory buffer, rows in the order they came, at the
// video's width (an odd frame's last column left out) and its own stride.
static HRESULT FillBuffer(const uint8_t *frame, const WriterSetup &setup, IMFMediaBuffer **result)
{
    int32_t stride = Frame_RowBytes(setup.width);
    DWORD size = (DWORD)stride * (DWORD)setup.height;
    ComPtr<IMFMediaBuffer> buffer;
    HRESULT hr = gMediaFoundation.createMemoryBuffer(size, buffer.Put());
    BYTE *bytes = nullptr;
    if (SUCCEEDED(hr))
        hr = buffer->Lock(&bytes, nullptr, nullptr);
    if (SUCCEEDED(hr)) {
        hr = gMediaFoundation.copyImage(bytes, stride, frame, setup.stride, (DWORD)setup.width * 3,
                                        (DWORD)setup.height);
        buffer->Unlock(); // also after a failed copy
    }
    if (SUCCEEDED(hr))
        hr = buffer->SetCurrentLength(size);
    if (SUCCEEDED(hr))
        *result = buffer.Detach();
    return hr;
}

// One frame into the open writer: the fallback writer's, or a sample of
// Media Foundation's.
static HRESULT WriteFrame(IMFSinkWriter *sink, DWORD stream, FallbackWriter *fallback, const WriterSetup &setup,
                          const uint8_t *frame, int64_t time, int64_t duration)
{
    if (fallback)
        return FallbackWriter_Write(fallback, frame, time, duration);
    ComPtr<IMFMediaBuffer> buffer;
    ComPtr<IMFSample> sample;
    HRESULT hr = FillBuffer(frame, setup, buffer.Put());
    if (SUCCEEDED(hr))
        hr = gMediaFoundation.createSample(sample.Put());
    if (SUCCEEDED(hr))
        hr = sample->AddBuffer(buffer.Get());
    if (SUCCEEDED(hr))
        hr = sample->SetSampleTime(time);
    if (SUCCEEDED(hr))
        hr = sample->SetSampleDuration(duration);
    if (SUCCEEDED(hr))
        hr = sink->WriteSample(stream, sample.Get());
    return hr;
}

int32_t Camera_WriteFrame(const FrameCopy &frame, int64_t time, int64_t duration)
{
    WriterSetup setup = Recorder_WriterSetup(gCamera.frameHeader, gRecorder.useH264);
    // Twice a second is soon enough for a reserve of two seconds, and spares
    // the volume a query at every frame.
    ULONGLONG now = GetTickCount64();
    if (now - gRoomCheckedAt >= 500) {
        gRoomCheckedAt = now;
        HRESULT room = RoomToFinish(setup);
        if (FAILED(room))
            return room;
    }
    return WriteFrame(gRecorder.writer, gRecorder.streamIndex, gFallbackWriter, setup, frame.data, time, duration);
}

// Finishes the file and lets its writer go.
static int32_t CloseWriter(IMFSinkWriter **sink, FallbackWriter **fallback)
{
    int32_t status = 0;
    if (*fallback) {
        status = FallbackWriter_Close(*fallback);
        *fallback = nullptr;
    }
    if (*sink) {
        // Finalize drains the encoder into the file; a Flush before it would
        // drop the samples the encoder still holds, the end of the video.
        status = (*sink)->Finalize();
        (*sink)->Release();
        *sink = nullptr;
    }
    return status;
}

int32_t Camera_CloseWriter()
{
    return CloseWriter(&gRecorder.writer, &gFallbackWriter);
}

struct VideoFile {
    WriterSetup setup;
    IMFSinkWriter *sink;
    DWORD stream;
    FallbackWriter *fallback;
};

int32_t VideoFile_Open(const wchar_t *path, const WriterSetup &setup, VideoFile **file)
{
    auto *video = new VideoFile{setup, nullptr, 0, nullptr};
    HRESULT hr = OpenWriter(path, setup, &video->sink, &video->stream, &video->fallback);
    if (FAILED(hr)) {
        delete video;
        video = nullptr;
    }
    *file = video;
    return hr;
}

int32_t VideoFile_Write(VideoFile *file, const uint8_t *rows, int64_t time, int64_t duration)
{
    return WriteFrame(file->sink, file->stream, file->fallback, file->setup, rows, time, duration);
}

int32_t VideoFile_Close(VideoFile *file)
{
    int32_t status = CloseWriter(&file->sink, &file->fallback);
    delete file;
    return status;
}

int32_t Writer_ThreadBegin()
{
    // The fallback writer is no COM object and needs no apartment.
    if (!gRecorder.writer)
        return 0;
    HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    gThreadInApartment = SUCCEEDED(hr);
    return hr;
}

void Writer_ThreadEnd()
{
    if (gThreadInApartment)
        CoUninitialize();
    gThreadInApartment = false;
}
