// Focus stacking on synthetic series built like the virtual microscope's
// picture (tests/rig/rig_depth.h): a ruler at depth 100 and four textured
// parts at other depths, each blurred by its distance from the focus.
#include "rig_depth.h"
#include "stack/focus_series.h"
#include "stack/fusion.h"
#include "stack/stack_job.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <vector>

namespace {

using Picture = std::vector<uint8_t>;
constexpr int kW = 640, kH = 480, kP = kW / 32;
const int kFoci[] = {20, 40, 60, 80, 100, 120, 140, 160, 180};
constexpr int kFrames = sizeof kFoci / sizeof kFoci[0];

void PaintPart(void *, uint8_t *bgr, int width, int height, int k)
{
    const uint8_t light[3] = {200, 220, 240}, dark[3] = {(uint8_t)(40 + 20 * k), 60, 90};
    Depth_PaintPart(bgr, width, height, k, light, dark);
}

// Paper, the ruler's ticks (every p from x = p, 2 wide, p/2 long from H/4),
// then the relief, all at focus `focus`; the content moved right and down by
// (dx, dy), paper coming in at the edges.
Picture Frame(int focus, int dx = 0, int dy = 0)
{
    Picture scene((size_t)kW * kH * 3, 210);
    for (int x = kP; x + 2 <= kW - kP; x += kP)
        for (int y = kH / 4; y < kH / 4 + kP / 2; y++)
            std::fill_n(&scene[((size_t)y * kW + x) * 3], 6, 20);
    Depth_Focus(scene.data(), kW, kH, focus, true, PaintPart, nullptr);
    Picture moved((size_t)kW * kH * 3, 210);
    for (int y = std::max(0, dy); y < std::min(kH, kH + dy); y++)
        for (int x = std::max(0, dx); x < std::min(kW, kW + dx); x++)
            std::copy_n(&scene[((size_t)(y - dy) * kW + x - dx) * 3], 3, &moved[((size_t)y * kW + x) * 3]);
    return moved;
}

// The series without shifts, made once.
const std::vector<Picture> &Series()
{
    static const std::vector<Picture> series = [] {
        std::vector<Picture> frames;
        for (int focus : kFoci)
            frames.push_back(Frame(focus));
        return frames;
    }();
    return series;
}

// Variance of the Laplacian of the luma inside `r`.
double Sharpness(const Picture &bgr, DepthRect r)
{
    auto luma = [&](int x, int y) {
        const uint8_t *p = &bgr[((size_t)y * kW + x) * 3];
        return 0.114 * p[0] + 0.587 * p[1] + 0.299 * p[2];
    };
    double sum = 0, squares = 0;
    int n = 0;
    for (int y = std::max(r.y0, 1); y < std::min(r.y1, kH - 1); y++)
        for (int x = std::max(r.x0, 1); x < std::min(r.x1, kW - 1); x++) {
            double l = 4 * luma(x, y) - luma(x - 1, y) - luma(x + 1, y) - luma(x, y - 1) - luma(x, y + 1);
            sum += l, squares += l * l, n++;
        }
    return squares / n - (sum / n) * (sum / n);
}

// The parts and the ruler's ticks, each with its depth; inset by the
// farthest shift the series makes, so that the regions hold the same
// content in every frame.
struct Region {
    DepthRect rect;
    int depth;
};
std::vector<Region> Regions(int inset)
{
    std::vector<Region> regions;
    for (int k = 0; k < RIG_RELIEF_PARTS; k++) {
        DepthRect r = Depth_Part(kW, kH, k);
        regions.push_back({{r.x0 + inset, r.y0 + inset, r.x1 - inset, r.y1 - inset}, kReliefDepth[k]});
    }
    regions.push_back({{kP + inset, kH / 4 - kP / 4, kW - kP - inset, kH / 4 + kP * 3 / 4}, RIG_RULER_DEPTH});
    return regions;
}

// Each region of the fused picture is at least 90 % as sharp as the best
// frame there, and at least twice as sharp as the sharpest whole frame where
// that frame shows it blurred; ruler ticks stay where the sharp frame has
// them (the calibration holds).
void ExpectFusedSharp(int shiftX, int shiftY)
{
    Fusion fusion;
    Fusion_Begin(&fusion, kW, kH);
    for (int i = 0; i < kFrames; i++) {
        Picture frame = shiftX || shiftY ? Frame(kFoci[i], shiftX * i, shiftY * i) : Series()[i];
        Fusion_Add(&fusion, frame.data(), kW * 3);
    }
    EXPECT_EQ(fusion.offsetX, shiftX * (kFrames - 1));
    EXPECT_EQ(fusion.offsetY, shiftY * (kFrames - 1));
    // The fused picture is in the first frame's place.
    int sharpest = 0;
    std::vector<double> whole(kFrames);
    for (int i = 0; i < kFrames; i++) {
        whole[i] = Sharpness(Series()[i], {0, 0, kW, kH});
        sharpest = whole[i] > whole[sharpest] ? i : sharpest;
    }
    int inset = (std::max(shiftX, shiftY) * (kFrames - 1)) / 2 + 2;
    for (const Region &region : Regions(inset)) {
        double best = 0;
        for (int i = 0; i < kFrames; i++)
            best = std::max(best, Sharpness(Series()[i], region.rect));
        double fused = Sharpness(fusion.picture, region.rect);
        EXPECT_GE(fused, 0.9 * best) << "depth " << region.depth;
        if (Depth_Sigma(kW, kFoci[sharpest], region.depth) >= 2) {
            EXPECT_GE(fused, 2 * Sharpness(Series()[sharpest], region.rect)) << "depth " << region.depth;
        }
    }
    const Picture &sharpRuler = Series()[4];
    ASSERT_EQ(kFoci[4], RIG_RULER_DEPTH);
    int row = kH / 4 + kP / 4, wrong = 0;
    for (int x = kP + inset; x < kW - kP - inset; x++)
        wrong += (fusion.picture[((size_t)row * kW + x) * 3] < 100) != (sharpRuler[((size_t)row * kW + x) * 3] < 100);
    EXPECT_EQ(wrong, 0);
    Fusion_End(&fusion);
}

TEST(FocusStack, ASeriesThroughTheFocusRangeFusesSharpEverywhere)
{
    ExpectFusedSharp(0, 0);
}

TEST(FocusStack, FramesShiftedByThreePixelsEachAreAlignedAndFuseSharp)
{
    ExpectFusedSharp(3, 2);
}

// The worker gives the same picture as fusing in the caller's thread, and a
// cancel ends a series at once, after which another can start.
TEST(FocusStack, TheWorkerFusesTheFramesItTakesAndCancelEndsASeries)
{
    ASSERT_TRUE(Stack_Start(kW, kH));
    Fusion direct;
    Fusion_Begin(&direct, kW, kH);
    for (int i : {1, 4, 8}) {
        const Picture &frame = Series()[i];
        Fusion_Add(&direct, frame.data(), kW * 3);
        // Bottom-up, as a camera's bitmap holds it.
        Picture flipped(frame.size());
        for (int y = 0; y < kH; y++)
            std::copy_n(&frame[(size_t)y * kW * 3], kW * 3, &flipped[(size_t)(kH - 1 - y) * kW * 3]);
        while (!Stack_Offer(&flipped[(size_t)(kH - 1) * kW * 3], -kW * 3))
            ASSERT_EQ(Stack_Phase(), STACK_RUNNING);
    }
    EXPECT_FALSE(Stack_Start(kW, kH)); // one series at a time
    Stack_Finish();
    ASSERT_TRUE(Stack_WaitEnded(30000));
    ASSERT_EQ(Stack_Phase(), STACK_DONE);
    EXPECT_EQ(Stack_Kept(), 3);
    EXPECT_EQ(Stack_Fused(), 3);
    EXPECT_TRUE(Stack_Result().picture == direct.picture);
    EXPECT_FALSE(Stack_Offer(direct.picture.data(), kW * 3));

    ASSERT_TRUE(Stack_Start(kW, kH));
    for (int i = 0; i < 20; i++)
        Stack_Offer(Series()[4].data(), kW * 3);
    Stack_Cancel();
    ASSERT_TRUE(Stack_WaitEnded(30000));
    EXPECT_EQ(Stack_Phase(), STACK_CANCELLED);
    EXPECT_LT(Stack_Fused(), 20);
    EXPECT_TRUE(Stack_Result().picture.empty());
    Stack_Release();
    EXPECT_EQ(Stack_Phase(), STACK_IDLE);
    Fusion_End(&direct);
}

// A drive reaches both ends in whole steps; the automatic keeping takes the
// first frame and then only one whose sharpness moved by a tenth, and it
// ranks a sharp frame above a blurred one.
TEST(FocusSeries, DrivePositionsAndAutomaticKeeping)
{
    std::vector<int32_t> positions;
    for (int i = 0; i < 4; i++)
        positions.push_back(Series_FocusAt(0, 10, 4, i));
    EXPECT_EQ(positions, (std::vector<int32_t>{0, 3, 7, 10}));
    EXPECT_EQ(Series_FocusAt(180, 20, 9, 8), 20);
    EXPECT_TRUE(Series_Keep(false, 0, 0));
    EXPECT_FALSE(Series_Keep(true, 100, 109));
    EXPECT_TRUE(Series_Keep(true, 100, 111));
    EXPECT_TRUE(Series_Keep(true, 100, 89));
    EXPECT_GT(Series_Sharpness(Series()[1].data(), kW, kH, kW * 3),
              2 * Series_Sharpness(Series()[0].data(), kW, kH, kW * 3));
}

} // namespace
