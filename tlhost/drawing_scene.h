// What the reference host shows of a drawing, as plain shapes in drawing units: the window paints
// them with GDI, the PNG export paints them into a bitmap and the SVG export writes them as text,
// so all three show the same picture. Also the hit test behind selection by click.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "simhost/sim_model.h"
#include "tlhost/utf8_text.h"

// The sheet the host shows: drawing units (millimetres) with y upwards, mapped to pixels with y
// downwards at a fixed scale, so that a point given in whole units lands on a whole pixel.
struct SceneView {
  static constexpr double kWidth = 200.0;
  static constexpr double kHeight = 140.0;
  static constexpr double kPixelsPerUnit = 4.0;
  static int PixelWidth() { return static_cast<int>(kWidth * kPixelsPerUnit); }
  static int PixelHeight() { return static_cast<int>(kHeight * kPixelsPerUnit); }
  static double PixelX(double x) { return x * kPixelsPerUnit; }
  static double PixelY(double y) { return (kHeight - y) * kPixelsPerUnit; }
  static SimPoint FromPixel(int x, int y) { return SimPoint{x / kPixelsPerUnit, kHeight - y / kPixelsPerUnit, 0.0}; }
  // The pixel a point falls on; false for a point the window cannot show (off the sheet's
  // pixels, or no number at all), so that no point is ever wrapped into a window message.
  static bool PixelOf(double x, double y, int* pixelX, int* pixelY) {
    const double px = std::round(PixelX(x)), py = std::round(PixelY(y));
    if (!(px >= 0 && px < PixelWidth() && py >= 0 && py < PixelHeight())) return false;
    *pixelX = static_cast<int>(px);
    *pixelY = static_cast<int>(py);
    return true;
  }
  // The sheet's points the window shows: x from 0 to kMaxX, y from kMinY to kHeight.
  static constexpr double kMaxX = kWidth - 1 / kPixelsPerUnit;
  static constexpr double kMinY = 1 / kPixelsPerUnit;
};

enum class ShapeKind {
  Line,      // an open polyline
  Area,      // a closed, filled outline
  Arrow,     // a filled arrow head: points are tip, left, right
  Text,      // text centred on points[0]
  TextFrame  // a box around a leader's text: points are two corners
};

enum class ShapeStyle { Plain, Solid, Block, Leader, FreeText, Selected };

struct SceneShape {
  ShapeKind kind = ShapeKind::Line;
  ShapeStyle style = ShapeStyle::Plain;
  std::vector<SimPoint> points;
  std::u16string text;
  int32_t graphicId = 0;  // the top-level graphic the shape belongs to
};

inline bool operator==(const SceneShape& a, const SceneShape& b) {
  return a.kind == b.kind && a.style == b.style && a.points == b.points && a.text == b.text &&
         a.graphicId == b.graphicId;
}

constexpr double kTextHeight = 3.5;

// How a style looks, for both painters: colours as 0xRRGGBB, the stroke width in pixels.
struct ShapeLook {
  uint32_t stroke = 0x333333;
  uint32_t fill = 0xffffff;
  double width = 1.5;
  bool dashed = false;
};
ShapeLook LookOf(ShapeStyle style);

// The shapes of the drawing's graphics in list order, the selected ones styled as such.
std::vector<SceneShape> BuildScene(const SimModel& model, int32_t drawingId);
// The shapes of one of the drawing's graphics, as BuildScene gives them.
void AddGraphicShapes(const SimModel& model, const SimDrawingData& drawing, const SimGraphicData& graphic,
                      std::vector<SceneShape>* out);

// A rectangle of the sheet's pixels: left and top inside, right and bottom just outside.
struct PixelBox {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return left >= right || top >= bottom; }
  bool Overlaps(const PixelBox& other) const {
    return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
  }
};
inline bool operator==(const PixelBox& a, const PixelBox& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
// The smallest box that holds both; an empty box adds nothing.
inline PixelBox Union(const PixelBox& a, const PixelBox& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return PixelBox{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                  std::max(a.bottom, b.bottom)};
}
// Every pixel a painter may colour for the shape: its points with the pen's width, a text at the
// widest its characters can be, and a margin for rounding and smoothing.
PixelBox ShapePixels(const SceneShape& shape);

// The top-level graphic under the point (the newest first), 0 for none.
int32_t GraphicAt(const SimModel& model, int32_t drawingId, SimPoint at);
// The leaders whose points (the arrow's and the text's place) all lie inside the box with these
// corners, in list order: what a rectangle dragged over the drawing selects.
std::vector<int32_t> LeadersInBox(const SimModel& model, int32_t drawingId, SimPoint corner, SimPoint otherCorner);

// The drawing as an SVG document, in the pixels of SceneView.
std::string SceneToSvg(const std::vector<SceneShape>& shapes);
