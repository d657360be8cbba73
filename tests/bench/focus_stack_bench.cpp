// The focus stack: the fusion's time per frame at 1280 x 720 and
// 1920 x 1080 (alignment, measure and choice), and the memory in use during a
// series of 50 frames through the worker (sampled with mallinfo2 after each
// frame handed over and every millisecond while it fuses; peak_MB).
#include "stack/fusion.h"
#include "stack/stack_job.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <algorithm>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

namespace {

// Blocks of random grey, shifted right by `shift` pixels.
std::vector<uint8_t> Texture(int width, int height, int shift)
{
    std::vector<uint8_t> bgr((size_t)width * height * 3);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            std::minstd_rand cell((uint32_t)((y / 6) * 4099 + (x - shift) / 6 + 7));
            std::fill_n(&bgr[((size_t)y * width + x) * 3], 3, (uint8_t)cell());
        }
    return bgr;
}

void Bench_FusionPerFrame(benchmark::State &state)
{
    const int width = (int)state.range(0), height = (int)state.range(1);
    const std::vector<uint8_t> frames[2] = {Texture(width, height, 0), Texture(width, height, 2)};
    Fusion fusion;
    Fusion_Begin(&fusion, width, height);
    int i = 0;
    for (auto _ : state) {
        Fusion_Add(&fusion, frames[i++ % 2].data(), (ptrdiff_t)width * 3);
        benchmark::ClobberMemory();
    }
    Fusion_End(&fusion);
}
BENCHMARK(Bench_FusionPerFrame)->Args({1280, 720})->Args({1920, 1080})->Unit(benchmark::kMillisecond)->UseRealTime();

size_t InUse()
{
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void Bench_Series50(benchmark::State &state)
{
    const int width = (int)state.range(0), height = (int)state.range(1);
    const std::vector<uint8_t> frame = Texture(width, height, 0);
    size_t before = InUse(), peak = 0;
    for (auto _ : state) {
        Stack_Start(width, height);
        for (int n = 0; n < 50;) {
            n += Stack_Offer(frame.data(), (ptrdiff_t)width * 3);
            peak = std::max(peak, InUse());
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        Stack_Finish();
        while (!Stack_WaitEnded(1))
            peak = std::max(peak, InUse());
        Stack_Release();
    }
    state.counters["peak_MB"] = (double)(peak - before) / (1 << 20);
}
BENCHMARK(Bench_Series50)->Args({1920, 1080})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace
