// The cost of the frame pipeline per frame: every effect in its plain and its
// vector version, the mirror, an effect with the mirror, the view's expansion
// to 32-bit pixels and its scaling to a fitted view, and the plain copy
// through Camera_PreviewFrame, at three frame sizes, each next to a memcpy of
// the same frame in the same run (column x_memcpy: CPU time / memcpy CPU
// time; CPU time because the machine may be shared); and the frame-rate
// meter.
#include "capture/camera_state.h"
#include "capture/effect_kernels.h"
#include "capture/effects.h"
#include "capture/frame_pipeline.h"
#include "base/sync.h"
#include "record/recorder_state.h"
#include "support/fake_platform.h"
#include "view/frame_pixels.h"
#include "view/view_state.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <regex>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct FrameSize {
    int32_t width, height;
};

const FrameSize kSizes[] = {{640, 480}, {1280, 720}, {1920, 1080}};

std::vector<uint8_t> Noise(size_t size)
{
    std::vector<uint8_t> bytes(size);
    std::mt19937 random(1);
    for (auto &b : bytes)
        b = (uint8_t)random();
    return bytes;
}

// A running preview of the given size for the time of one benchmark.
struct Preview {
    explicit Preview(FrameSize size)
    {
        gCamera.frameHeader = {};
        gCamera.frameHeader.biWidth = size.width;
        gCamera.frameHeader.biHeight = size.height;
        gCamera.frameSize = size.width * size.height * 3;
        gCamera.frameBuffer.assign((size_t)gCamera.frameSize, 0);
        gCamera.frameLock = Lock_Create();
        gRecorder.queueLock = Lock_Create();
        gRecorder.frameEvent = Event_Create(true, false);
        gCamera.mirror = gCamera.gray = gCamera.blackWhite = gCamera.negative = gCamera.emboss = 0;
    }
    ~Preview()
    {
        gCamera.frameBuffer.clear();
        gCamera.frameSize = 0;
        Lock_Destroy(gCamera.frameLock);
        Lock_Destroy(gRecorder.queueLock);
        Event_Destroy(gRecorder.frameEvent);
        gCamera.mirror = 0;
    }
};

void Frame_Bytes(benchmark::State &state, size_t bytes)
{
    state.SetBytesProcessed((int64_t)(state.iterations() * bytes));
}

void Bench_Memcpy(benchmark::State &state, FrameSize size)
{
    size_t bytes = (size_t)size.width * size.height * 3;
    std::vector<uint8_t> in = Noise(bytes), out(bytes);
    for (auto _ : state) {
        memcpy(out.data(), in.data(), bytes);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    Frame_Bytes(state, bytes);
}

void Bench_Effect(benchmark::State &state, FrameSize size, const EffectKernels *kernels,
                  void (*effect)(uint8_t *), bool mirror)
{
    Preview preview(size);
    std::vector<uint8_t> in = Noise((size_t)gCamera.frameSize);
    const EffectKernels *chosen = gEffectKernels;
    gEffectKernels = kernels;
    gCamera.mirror = mirror;
    for (auto _ : state) {
        effect(in.data());
        benchmark::ClobberMemory();
    }
    gEffectKernels = chosen;
    Frame_Bytes(state, in.size());
}

// The view's 24- to 32-bit expansion of a frame, which replaced SetDIBits.
void Bench_Expand(benchmark::State &state, FrameSize size, const EffectKernels *kernels)
{
    size_t pixels = (size_t)size.width * size.height;
    std::vector<uint8_t> in = Noise(3 * pixels);
    std::vector<uint32_t> out(pixels);
    for (auto _ : state) {
        kernels->expandRow(in.data(), out.data(), pixels);
        benchmark::ClobberMemory();
    }
    Frame_Bytes(state, in.size());
}

// The view's scaling of a frame into a back buffer fitted at 71 %, each pixel
// the frame pixel nearest to its centre.
void Bench_ScaleFitted(benchmark::State &state, FrameSize size)
{
    gView.imageWidth = size.width;
    gView.imageHeight = size.height;
    gView.bitmapInfo.bmiHeader.biHeight = size.height;
    gView.frameBits = Noise((size_t)size.width * size.height * 3);
    int width = size.width * 71 / 100, height = size.height * 71 / 100;
    std::vector<uint32_t> out((size_t)width * height);
    for (auto _ : state) {
        View_ScaleFrame(out.data(), width, height, {0, 0, width, height});
        benchmark::ClobberMemory();
    }
    Frame_Bytes(state, gView.frameBits.size());
}

void Bench_PreviewCopy(benchmark::State &state, FrameSize size)
{
    Preview preview(size);
    std::vector<uint8_t> in = Noise((size_t)gCamera.frameSize);
    for (auto _ : state) {
        Camera_PreviewFrame(0.0, in.data(), (int32_t)in.size());
        benchmark::ClobberMemory();
    }
    Frame_Bytes(state, in.size());
}

// A 30 frames-per-second stream: about 31 stamps in the window.
void Bench_FrameRateMeter(benchmark::State &state)
{
    for (auto _ : state) {
        gFake.milliseconds += 33;
        Camera_UpdateFps();
    }
    benchmark::DoNotOptimize(gCamera.fps.load());
}

void MirrorIntoFrameBuffer(uint8_t *in)
{
    Effect_Mirror(in);
}

// The two passes an effect with the mirror once took, for comparison in the
// same run: the whole frame mirrored in place, then the effect.
void MirrorThenGray(uint8_t *in)
{
    Effect_MirrorInPlace(in);
    Effect_Gray(in);
}

void MirrorThenEmboss(uint8_t *in)
{
    Effect_MirrorInPlace(in);
    Effect_Emboss(in);
}

void Register()
{
    struct Effect {
        const char *name;
        void (*run)(uint8_t *);
        bool mirror;
    };
    const Effect effects[] = {
        {"mirror", MirrorIntoFrameBuffer, false},     {"mirror_in_place", Effect_MirrorInPlace, false},
        {"gray", Effect_Gray, false},              {"black_white", Effect_BlackWhite, false},
        {"negative", Effect_Negative, false},      {"emboss", Effect_Emboss, false},
        {"gray+mirror", Effect_Gray, true},        {"mirror_then_gray", MirrorThenGray, false},
        {"emboss+mirror", Effect_Emboss, true},    {"mirror_then_emboss", MirrorThenEmboss, false},
    };
    std::vector<const EffectKernels *> versions = EffectKernels_Vectors();
    versions.push_back(&gPlainKernels);
    for (FrameSize size : kSizes) {
        std::string suffix = "/" + std::to_string(size.width) + "x" + std::to_string(size.height);
        benchmark::RegisterBenchmark(("memcpy" + suffix).c_str(), Bench_Memcpy, size);
        benchmark::RegisterBenchmark(("preview_copy" + suffix).c_str(), Bench_PreviewCopy, size);
        for (const Effect &effect : effects)
            for (const EffectKernels *kernels : versions)
                benchmark::RegisterBenchmark((std::string(effect.name) + "/" + kernels->name + suffix).c_str(),
                                             Bench_Effect, size, kernels, effect.run, effect.mirror);
        for (const EffectKernels *kernels : versions)
            benchmark::RegisterBenchmark(("expand_to_32_bits/" + std::string(kernels->name) + suffix).c_str(),
                                         Bench_Expand, size, kernels);
        benchmark::RegisterBenchmark(("scale_to_fitted_71" + suffix).c_str(), Bench_ScaleFitted, size);
    }
    benchmark::RegisterBenchmark("frame_rate_meter", Bench_FrameRateMeter);
}

// The console output with each run's time as a multiple of the memcpy of the
// same frame size, which runs first.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        std::vector<Run> shown = runs;
        static const std::regex sizePattern("[0-9]+x[0-9]+");
        for (Run &run : shown) {
            std::string name = run.benchmark_name();
            std::smatch size;
            if (!std::regex_search(name, size, sizePattern) || run.aggregate_name == "stddev" ||
                run.aggregate_name == "cv")
                continue;
            // With repetitions, means go with means and medians with medians.
            std::string key = size.str() + "/" + run.aggregate_name;
            if (name.rfind("memcpy/", 0) == 0)
                memcpyTimes[key] = run.GetAdjustedCPUTime();
            auto memcpyTime = memcpyTimes.find(key);
            if (memcpyTime != memcpyTimes.end())
                run.counters["x_memcpy"] = benchmark::Counter(run.GetAdjustedCPUTime() / memcpyTime->second);
        }
        ConsoleReporter::ReportRuns(shown);
    }

private:
    std::map<std::string, double> memcpyTimes;
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Register();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
