// The fallback video writer on FFmpeg's libraries: OpenH264 in MP4 or FFmpeg's
// WMV2 encoder in ASF. The encoders count in frames at 30/1 (WMV2 writes that
// time base into a 5-bit field); each packet then takes the recorder's own
// time stamp and duration, so the file keeps the camera's timing.
#include "record/fallback_writer_win.h"

#include <windows.h>

#include <deque>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace {

const AVRational kHundredNanoseconds = {1, 10000000};

// The recorder's timing of a frame handed to the encoder, until its packet
// comes out.
struct FrameTiming {
    int64_t index, time, duration;
};

} // namespace

struct FallbackWriter {
    AVFormatContext *format;
    AVCodecContext *encoder;
    AVStream *stream;
    SwsContext *scaler;
    AVFrame *picture;
    AVPacket *packet;
    int32_t width, height, stride;
    int64_t frameCount;
    std::deque<FrameTiming> timings;
    std::wstring path; // to delete the file when opening fails after creating it
};

namespace {

// FFmpeg's file protocol takes UTF-8 names on Windows; null when the
// conversion fails.
char *Fallback_Utf8Path(const wchar_t *path)
{
    int size = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, path, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return nullptr;
    char *utf8 = (char *)av_malloc(size);
    if (utf8 && WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, path, -1, utf8, size, nullptr, nullptr) != size)
        av_freep(&utf8);
    return utf8;
}

// Frees everything; with deleteFile the file too (a failed open). Returns
// the status of closing the file, whose last bytes are written then.
int32_t Fallback_Free(FallbackWriter *writer, bool deleteFile)
{
    int32_t closed = 0;
    if (writer->format) {
        bool created = writer->format->pb != nullptr;
        closed = avio_closep(&writer->format->pb);
        if (created && deleteFile)
            DeleteFileW(writer->path.c_str());
        avformat_free_context(writer->format);
    }
    avcodec_free_context(&writer->encoder);
    sws_freeContext(writer->scaler);
    av_frame_free(&writer->picture);
    av_packet_free(&writer->packet);
    delete writer;
    return closed;
}

// The encoder for the setup, opened; negative status on failure.
int32_t Fallback_OpenEncoder(FallbackWriter *writer, const WriterSetup &setup)
{
    const AVCodec *codec = setup.useH264 ? avcodec_find_encoder_by_name("libopenh264")
                                         : avcodec_find_encoder(AV_CODEC_ID_WMV2);
    if (!codec)
        return AVERROR_ENCODER_NOT_FOUND;
    AVCodecContext *encoder = avcodec_alloc_context3(codec);
    if (!encoder)
        return AVERROR(ENOMEM);
    writer->encoder = encoder;
    encoder->width = setup.width;
    encoder->height = setup.height;
    encoder->pix_fmt = AV_PIX_FMT_YUV420P;
    encoder->time_base = AVRational{setup.frameRateDenominator, setup.frameRateNumerator};
    encoder->framerate = AVRational{setup.frameRateNumerator, setup.frameRateDenominator};
    encoder->sample_aspect_ratio = AVRational{setup.pixelAspectNumerator, setup.pixelAspectDenominator};
    encoder->field_order = AV_FIELD_PROGRESSIVE;
    encoder->bit_rate = setup.bitRate;
    // What the converter produces (BT.601, limited range), so players read it so.
    encoder->colorspace = AVCOL_SPC_BT470BG;
    encoder->color_range = AVCOL_RANGE_MPEG;
    if (writer->format->oformat->flags & AVFMT_GLOBALHEADER)
        encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    return avcodec_open2(encoder, codec, nullptr);
}

// The stream, the file and its header; negative status on failure.
int32_t Fallback_OpenFile(FallbackWriter *writer, const char *utf8Path)
{
    writer->stream = avformat_new_stream(writer->format, nullptr);
    if (!writer->stream)
        return AVERROR(ENOMEM);
    int32_t status = avcodec_parameters_from_context(writer->stream->codecpar, writer->encoder);
    if (status < 0)
        return status;
    // A proposal: MP4 takes it and keeps 100-ns times exactly, ASF uses milliseconds.
    writer->stream->time_base = kHundredNanoseconds;
    writer->stream->avg_frame_rate = writer->encoder->framerate;
    status = avio_open(&writer->format->pb, utf8Path, AVIO_FLAG_WRITE);
    if (status < 0)
        return status;
    return avformat_write_header(writer->format, nullptr);
}

// The converter from bottom-up BGR rows and the picture it fills.
int32_t Fallback_OpenConverter(FallbackWriter *writer)
{
    // Accurate rounding: without it neutral grey takes a tint.
    writer->scaler = sws_getContext(writer->width, writer->height, AV_PIX_FMT_BGR24, writer->width, writer->height,
                                    AV_PIX_FMT_YUV420P, SWS_BILINEAR | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    writer->picture = av_frame_alloc();
    writer->packet = av_packet_alloc();
    if (!writer->scaler || !writer->picture || !writer->packet)
        return AVERROR(ENOMEM);
    writer->picture->format = AV_PIX_FMT_YUV420P;
    writer->picture->width = writer->width;
    writer->picture->height = writer->height;
    return av_frame_get_buffer(writer->picture, 0);
}

// Writes every packet the encoder has ready, each at the time and for the
// duration the recorder gave its frame.
int32_t Fallback_WritePackets(FallbackWriter *writer)
{
    for (;;) {
        int32_t status = avcodec_receive_packet(writer->encoder, writer->packet);
        if (status == AVERROR(EAGAIN) || status == AVERROR_EOF)
            return 0;
        if (status < 0)
            return status;
        // Frames the encoder skipped have no packet.
        while (!writer->timings.empty() && writer->timings.front().index < writer->packet->pts)
            writer->timings.pop_front();
        if (writer->timings.empty()) {
            av_packet_unref(writer->packet);
            return AVERROR_BUG;
        }
        FrameTiming timing = writer->timings.front();
        writer->timings.pop_front();
        AVRational timeBase = writer->stream->time_base;
        writer->packet->pts = av_rescale_q(timing.time, kHundredNanoseconds, timeBase);
        writer->packet->dts = writer->packet->pts;
        writer->packet->duration = av_rescale_q(timing.duration, kHundredNanoseconds, timeBase);
        writer->packet->stream_index = writer->stream->index;
        status = av_interleaved_write_frame(writer->format, writer->packet);
        if (status < 0)
            return status;
    }
}

} // namespace

int32_t FallbackWriter_Open(const wchar_t *path, const WriterSetup &setup, FallbackWriter **result)
{
    *result = nullptr;
    // OpenH264 reports its choices of slices and rate control as warnings;
    // only errors are worth anyone's console.
    av_log_set_level(AV_LOG_ERROR);
    FallbackWriter *writer = new FallbackWriter();
    writer->width = setup.width;
    writer->height = setup.height;
    writer->stride = setup.stride;
    writer->path = path;
    char *utf8Path = Fallback_Utf8Path(path);
    int32_t status = utf8Path ? 0 : AVERROR(EINVAL);
    if (status == 0)
        status = avformat_alloc_output_context2(&writer->format, nullptr, setup.useH264 ? "mp4" : "asf", utf8Path);
    if (status >= 0)
        status = Fallback_OpenEncoder(writer, setup);
    if (status >= 0)
        status = Fallback_OpenConverter(writer);
    if (status >= 0)
        status = Fallback_OpenFile(writer, utf8Path);
    av_free(utf8Path);
    if (status < 0) {
        Fallback_Free(writer, true);
        return status;
    }
    *result = writer;
    return 0;
}

int32_t FallbackWriter_Write(FallbackWriter *writer, const uint8_t *frame, int64_t time, int64_t duration)
{
    int32_t status = av_frame_make_writable(writer->picture);
    if (status < 0)
        return status;
    // A DIB lists its rows bottom first: start at the top row and step back.
    int stride = writer->stride;
    const uint8_t *rows[1] = {frame + (size_t)stride * (writer->height - 1)};
    int strides[1] = {-stride};
    sws_scale(writer->scaler, rows, strides, 0, writer->height, writer->picture->data, writer->picture->linesize);
    writer->picture->pts = writer->frameCount;
    writer->timings.push_back(FrameTiming{writer->frameCount, time, duration});
    writer->frameCount++;
    status = avcodec_send_frame(writer->encoder, writer->picture);
    if (status < 0) {
        writer->timings.pop_back();
        return status;
    }
    return Fallback_WritePackets(writer);
}

int32_t FallbackWriter_Close(FallbackWriter *writer)
{
    // Each step is taken also after one before it failed, so that the file
    // is as complete as it gets; the first failure is the answer.
    int32_t status = avcodec_send_frame(writer->encoder, nullptr);
    if (status >= 0)
        status = Fallback_WritePackets(writer);
    int32_t trailer = av_write_trailer(writer->format);
    int32_t closed = Fallback_Free(writer, false);
    return status < 0 ? status : trailer < 0 ? trailer : closed;
}
