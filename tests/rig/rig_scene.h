// The picture under the virtual microscope: a millimetre ruler on paper with
// two corner marks and a small square that moves with every frame.
//
// Geometry, top-down, for a frame of W x H with p = W / 32 pixels per mm:
//   paper everywhere else;
//   ruler body: rows H/4 .. H/4 + 2p - 1, columns p/2 .. W - p/2 - 1;
//   ticks: column x_k = p * (k + 1) for k = 0, 1, ... while x_k + t <= W - p,
//          t = max(1, p / 10) pixels wide, hanging from row H/4 down
//          3p/2 rows every 10 mm (k % 10 == 0), p rows every 5 mm, else p/2;
//   red square (top left): rows and columns p/2 .. 3p/2 - 1;
//   blue square (bottom right): rows H - 3p/2 .. H - p/2 - 1,
//          columns W - 3p/2 .. W - p/2 - 1;
//   moving mark: a p x p dark green square in rows H/2 .. H/2 + p - 1 at
//          column (frame * max(1, W / 160)) % (W - p);
//   frame number (only with Rig_NumberFrames): RIG_NUMBER_BITS p x p blocks
//          in rows H/2 + p .. H/2 + 2p - 1, bit k (least significant first)
//          at columns (k + 2) p .., black for 1 and white for 0.
// The focus position blurs the picture by its distance from the ruler's
// depth; on request a relief of four textured parts lies below the moving
// mark at other depths (rig_depth.h).
// The camera's tone controls (exposure, gain, gamma, contrast, brightness,
// white balance) map every colour through per-channel tables; at their
// defaults the tables are the identity.
#pragma once
#include <windows.h>
#include <vector>

struct SceneColour {
    BYTE b, g, r;
};
inline constexpr SceneColour kScenePaper = {200, 215, 225};
inline constexpr SceneColour kSceneRuler = {235, 245, 250};
inline constexpr SceneColour kSceneTick = {20, 20, 20};
inline constexpr SceneColour kSceneRed = {40, 40, 220};
inline constexpr SceneColour kSceneBlue = {220, 70, 40};
inline constexpr SceneColour kSceneMark = {40, 110, 30};
// The relief's parts (rig_depth.h): checkerboards of these.
inline constexpr SceneColour kSceneReliefLight[4] = {{120, 200, 240}, {200, 230, 160}, {230, 190, 200}, {170, 230, 230}};
inline constexpr SceneColour kSceneReliefDark[4] = {{30, 70, 120}, {90, 60, 20}, {100, 30, 90}, {40, 90, 40}};

struct Scene {
    int width = 0, height = 0;
    LONG toneVersion = 0;
    bool prepared = false;
    std::vector<BYTE> base;  // BGR rows top-down, toned, without the mark
    std::vector<BYTE> frame; // base with the current mark
    std::vector<BYTE> yuy2;  // frame in YUY2, kept up to date by Scene_Yuy2
    bool yuy2Stale = true;
    int bandTop = 0, bandRows = 0; // the rows the last Scene_Paint changed
};

// Repaints the base when the size or the device's tone controls changed.
void Scene_Prepare(Scene *scene, int device, int width, int height);
// Puts frame `index`'s mark into scene->frame, and its number unless it is 0.
void Scene_Paint(Scene *scene, unsigned index, LONG number);
// scene->frame as YUY2 (converting only the changed rows when it can).
const BYTE *Scene_Yuy2(Scene *scene);

int Scene_MarkColumn(int width, unsigned index);
// The top-left corner of the number's block k, top-down.
POINT Scene_NumberBlock(int width, int height, int k);
