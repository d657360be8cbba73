// What the host stand-ins of the platform services record and serve.
#pragma once
#include "base/geometry.h"
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

struct LocalTime;

// One drawing call on the view's back buffer.
enum CanvasOp { CANVAS_LINE, CANVAS_POLYLINE, CANVAS_CIRCLE, CANVAS_FILL, CANVAS_FRAME, CANVAS_TEXT,
                CANVAS_PEN_BEGIN, CANVAS_PEN_LINE, CANVAS_PEN_POLYLINE, CANVAS_PEN_END };
struct CanvasCall {
    CanvasOp op;
    int pen;            // CANVAS_LINE, CANVAS_POLYLINE, CANVAS_CIRCLE: PEN_ITEM, PEN_THIN, PEN_OVERLAY
    Rect r;             // line and pen line: x1, y1, x2, y2; circle: x, y, width, height; else the box
    std::wstring text;  // CANVAS_TEXT
    int font;           // CANVAS_TEXT: FONT_LABEL or FONT_CURRENT
    uint32_t color;     // CANVAS_PEN_BEGIN, CANVAS_FILL of a colour
    int width;          // CANVAS_PEN_BEGIN
    std::vector<Point> points; // CANVAS_POLYLINE, CANVAS_PEN_POLYLINE
};

struct ScrollCall {
    int bar;
    bool range; // SIF_RANGE | SIF_PAGE | SIF_POS, else SIF_POS
    int page, maximum, position;
};

struct FakePlatform {
    // Settings store: absent names are missing values. Numbers and texts are
    // stored as the registry stores them; stored holds values of any type
    // and bytes, and comes first.
    bool storeOpens = true;
    std::map<std::wstring, int32_t> numbers;
    std::map<std::wstring, std::wstring> texts;
    struct StoredValue {
        uint32_t type;
        std::vector<uint8_t> bytes;
    };
    std::map<std::wstring, StoredValue> stored;
    std::vector<std::wstring> storeReads; // every name asked for, in order
    int storeOpenCount = 0;

    // File system: folders and files by full path.
    std::set<std::wstring> folders;
    std::map<std::wstring, std::vector<unsigned char>> files;
    std::wstring modulePath = L"C:\\Program Files\\Quorell\\Quorell.exe";
    std::wstring documents = L"C:\\Users\\me\\Documents";
    bool hasDocuments = true;

    std::vector<std::wstring> debugLines;

    // Window entry points.
    std::vector<int> mainCommands;   // MainWnd_PostCommand
    std::vector<int> panelCommands;  // Panel_PostCommand
    std::vector<bool> panelRefreshes; // Panel_PostRefresh
    std::vector<std::pair<float, int32_t>> viewCalibrations;
    std::vector<int> viewZooms;
    int invalidations = 0;

    // Frame pipeline requests (frame_platform.h).
    int frameRepaints = 0;
    int stillPosts = 0;
    // The camera view's window: its client size without scroll bars, which
    // shown bars take their room from.
    int viewWidth = 800, viewHeight = 600;
    int verticalBarWidth = 17, horizontalBarHeight = 17;
    bool hBarShown = false, vBarShown = false;
    std::vector<std::pair<int, bool>> barShows; // View_ShowScrollBar
    std::vector<ScrollCall> scrollCalls;
    int recomposes = 0;
    int sizePosts = 0;
    int zoomFittedPosts = 0;
    std::vector<int> parentCommands;
    bool captured = false;
    int captures = 0, focusRequests = 0;
    int backBufferDestroyed = 0, objectsDestroyed = 0, objectsCreated = 0;
    std::vector<CanvasCall> canvas;
    // Text extents: per character and the line height, for the label font
    // and for the DC's own font.
    int labelCharWidth = 7, labelHeight = 13, currentCharWidth = 8, currentHeight = 16;

    uint32_t milliseconds = 0; // Clock_Milliseconds
    int64_t precise = 0;       // Clock_Precise, 100-ns units
    int year = 2024, month = 1, day = 15, hour = 9, minute = 30, second = 5, millisecond = 42;
};

extern FakePlatform gFake;

// Forgets everything recorded and restores the defaults above.
void FakePlatform_Reset();
