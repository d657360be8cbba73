// gView: the camera view's record. The portable view code works on it; the
// Win32 view keeps its window and drawing objects in the handle fields.
#pragma once
#include "base/geometry.h"
#include "base/handles.h"
#include "view/measure_item.h"
#include <cstdint>
#include <string>
#include <vector>

enum { VIEW_TEXT_CAPACITY = 64, UNIT_TEXT_CAPACITY = 10, STILL_NAME_CAPACITY = 260 };

// The view's tool (command 8002). The drawing tools carry the kind of item
// they make; the two calibration tools move one end of the calibration line.
enum ViewTool {
    TOOL_POINTER = 0,
    TOOL_LINE = ITEM_LINE,
    TOOL_POINT_LINE = ITEM_POINT_LINE,
    TOOL_RECTANGLE = ITEM_RECTANGLE,
    TOOL_CIRCLE = ITEM_CIRCLE,
    TOOL_ANGLE = ITEM_ANGLE,
    TOOL_FREEHAND = ITEM_FREEHAND,
    TOOL_TEXT = ITEM_TEXT,
    TOOL_CALIB_LEFT = 19,
    TOOL_CALIB_RIGHT = 20,
};

// A GDI+ object and the last non-zero status a call on it returned.
struct GdipObject {
    void *handle;
    int lastStatus;
};

struct View {
    // Geometry and rendering.
    HWND__ *hwnd;
    int imageWidth, imageHeight;
    int displayWidth, displayHeight;
    int zoom;
    bool fitToWindow;
    // Back-buffer pixels per image pixel of the composition being drawn:
    // the zoom / 100 on the screen, 1 for a snapshot at the picture's size.
    // Items keep image coordinates; the canvas maps them through this.
    double drawScale;
    // The back-buffer pixels the composition being drawn shows (right and
    // bottom exclusive); the canvas leaves out what lies wholly outside them.
    Rect drawPart;
    int scrollX, scrollY;
    bool hScrollShown, vScrollShown;
    std::vector<uint8_t> frameBits; // the newest frame, taken from the pipeline (Camera_TakeFrame), or the picture shown
    // ViewSource (view/view_source.h): live, held or a still picture.
    int32_t source;
    // A still picture as it was handed over, frameBits' rows; frameBits holds
    // it through the effect stillEffect names (-1: none applied yet).
    std::vector<uint8_t> stillOriginal;
    int32_t stillEffect;
    wchar_t stillName[STILL_NAME_CAPACITY]; // what the status bar calls the still picture
    // The camera a still picture took the place of, which Back to live opens
    // again while it is attached.
    std::wstring liveDevicePath;
    int frameSize;
    BitmapInfo bitmapInfo;
    HBITMAP__ *backBitmap;
    HDC__ *backDC;
    HBITMAP__ *previousBitmap; // the bitmap backBitmap replaced in backDC
    GdipObject graphics;
    HFONT__ *placeholderFont;
    wchar_t placeholderText[VIEW_TEXT_CAPACITY];
    wchar_t textPrompt[VIEW_TEXT_CAPACITY];

    // Drawing objects, made and destroyed with the back buffer.
    GdipObject itemPen, thinPen, overlayPen;
    HBRUSH__ *itemBrush;
    HFONT__ *labelFont;

    // Items and calibration.
    std::vector<MeasureItem> items;
    MeasureItem newItem;
    float scale; // image pixels per unit, -1.0 for none
    int32_t unitIndex;
    wchar_t unitText[UNIT_TEXT_CAPACITY];

    // Style and overlays.
    uint32_t gridColor, lineColor;
    int32_t lineWidth;
    uint32_t textColor;
    int32_t textSize;
    int rulerStepPx;
    float rulerStepValue;
    bool showCross, showGrid, showCircles;
    bool showScaleBar;
    bool showNumbers; // the measuring items' numbers, as the reports count them

    // Pointer editing.
    int32_t tool;
    int32_t phase;
    bool mouseDown;
    Point lastPoint;
    Point newPoint;
    MeasureItem *dragItem;
    int32_t dragGrab; // what of dragItem the press took: MeasureItem_Grab's value
    int32_t selected, hover;
    int32_t calibLength, calibLeft, calibRight;
    // The text item being changed in the Input-text dialog: taken out of the
    // list into newItem while the dialog is open, its index and its state
    // before; -1 while no item is changed.
    int32_t editIndex;
    MeasureItem editOriginal;
    bool calibHoverLeft, calibHoverRight;

    // Camera opening and device events.
    int32_t deviceDelay;
    void *deviceNotification;
};

extern View gView;

// The state of a newly created view window: no camera, zoom 100, no
// calibration, no selection, the default placeholder and prompt texts.
void View_Init(HWND__ *window);
// Takes a picture of this RGB24 header (a refused one gives no picture):
// frame copy, sizes, zoom 100, no calibration; posts WM_SIZE (0, 0).
void View_AdoptFormat(const BitmapHeader &header);
