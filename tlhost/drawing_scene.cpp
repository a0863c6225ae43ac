// The shapes of each kind of graphic, the hit test over them and the SVG writer.
#include "tlhost/drawing_scene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "host/host_names.h"

namespace {

constexpr double kHitDistance = 1.5;
constexpr double kArrowLength = 3.0;
constexpr double kArrowHalfWidth = 1.0;
constexpr double kCharWidth = 0.62 * kTextHeight;
constexpr double kFramePadding = 1.0;
constexpr double kBlockLabelHeight = 2.5;

bool Contains(const std::vector<int32_t>& ids, int32_t id) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

// Half the size of a text's box: an estimate from its length, the same in every painter.
SimPoint TextHalfSize(const std::u16string& text) {
  const double chars = static_cast<double>(std::max<size_t>(text.size(), 1));
  return SimPoint{chars * kCharWidth / 2.0 + kFramePadding, kTextHeight / 2.0 + kFramePadding, 0.0};
}

SceneShape Shape(ShapeKind kind, ShapeStyle style, std::vector<SimPoint> points, int32_t id) {
  SceneShape shape;
  shape.kind = kind;
  shape.style = style;
  shape.points = std::move(points);
  shape.graphicId = id;
  return shape;
}

SceneShape TextShape(SimPoint at, const std::u16string& text, ShapeStyle style, int32_t id) {
  SceneShape shape = Shape(ShapeKind::Text, style, {at}, id);
  shape.text = text;
  return shape;
}

// An arrow head at `tip`, pointing away from `from`.
SceneShape ArrowHead(SimPoint tip, SimPoint from, ShapeStyle style, int32_t id) {
  double dx = tip.x - from.x, dy = tip.y - from.y;
  const double length = std::hypot(dx, dy);
  if (length < 1e-9) {
    dx = -1.0;  // a point leader's text sits up and right: the arrow points down and left
    dy = -1.0;
  }
  const double scale = 1.0 / std::hypot(dx, dy);
  dx *= scale;
  dy *= scale;
  const SimPoint base{tip.x - dx * kArrowLength, tip.y - dy * kArrowLength, 0.0};
  return Shape(ShapeKind::Arrow, style,
               {tip, SimPoint{base.x - dy * kArrowHalfWidth, base.y + dx * kArrowHalfWidth, 0.0},
                SimPoint{base.x + dy * kArrowHalfWidth, base.y - dx * kArrowHalfWidth, 0.0}},
               id);
}

const SimGraphicData* Child(const SimModel& model, const SimGraphicData& graphic, size_t index) {
  return index < graphic.children.size() ? model.Graphic(graphic.children[index]) : nullptr;
}

// A leader: the arrow line from its vertex child, and its text framed at the text child's place
// for as long as the text child is there (a converted point leader has given it away).
void AddLeader(const SimModel& model, const SimGraphicData& leader, ShapeStyle style, std::vector<SceneShape>* out) {
  const SimGraphicData* vertexChild = Child(model, leader, 2);
  if (vertexChild == nullptr || vertexChild->vertices.empty()) return;
  const std::vector<SimPoint>& points = vertexChild->vertices;
  const SimGraphicData* textChild = Child(model, leader, 4);
  const bool hasText = textChild != nullptr && textChild->typeName == kTextTypeName;
  SimPoint textPoint = points.back();
  if (hasText && !textChild->vertices.empty()) textPoint = textChild->vertices.front();
  std::vector<SimPoint> line = points;
  if (hasText && !(line.back() == textPoint)) line.push_back(textPoint);
  if (line.size() > 1) out->push_back(Shape(ShapeKind::Line, style, line, leader.id));
  out->push_back(ArrowHead(points.front(), line.size() > 1 ? line[1] : points.front(), style, leader.id));
  if (!hasText) return;
  const SimPoint half = TextHalfSize(leader.info);
  out->push_back(Shape(ShapeKind::TextFrame, style,
                       {SimPoint{textPoint.x - half.x, textPoint.y - half.y, 0.0},
                        SimPoint{textPoint.x + half.x, textPoint.y + half.y, 0.0}},
                       leader.id));
  out->push_back(TextShape(textPoint, leader.info, ShapeStyle::Leader, leader.id));
}

SimPoint Centre(const std::vector<SimPoint>& points) {
  SimPoint low = points.front(), high = points.front();
  for (const SimPoint& p : points) {
    low = SimPoint{std::min(low.x, p.x), std::min(low.y, p.y), 0.0};
    high = SimPoint{std::max(high.x, p.x), std::max(high.y, p.y), 0.0};
  }
  return SimPoint{(low.x + high.x) / 2.0, (low.y + high.y) / 2.0, 0.0};
}

void AddGraphic(const SimModel& model, const SimGraphicData& graphic, bool selected, std::vector<SceneShape>* out) {
  const auto pick = [selected](ShapeStyle style) { return selected ? ShapeStyle::Selected : style; };
  if (graphic.typeName == kLeaderTypeName) {
    AddLeader(model, graphic, pick(ShapeStyle::Leader), out);
    return;
  }
  if (graphic.typeName == kTextTypeName) {
    const SimPoint at = graphic.vertices.empty() ? SimPoint{} : graphic.vertices.front();
    out->push_back(TextShape(at, graphic.info, pick(ShapeStyle::FreeText), graphic.id));
    return;
  }
  if (graphic.vertices.empty()) return;
  if (graphic.typeName == kBlockTypeName || graphic.typeName == kExtrusionTypeName) {
    const bool block = graphic.typeName == kBlockTypeName;
    out->push_back(
        Shape(ShapeKind::Area, pick(block ? ShapeStyle::Block : ShapeStyle::Solid), graphic.vertices, graphic.id));
    if (block)
      out->push_back(
          TextShape(Centre(graphic.vertices), graphic.block.value_or(u""), pick(ShapeStyle::Block), graphic.id));
    return;
  }
  out->push_back(Shape(ShapeKind::Line, pick(ShapeStyle::Plain), graphic.vertices, graphic.id));
}

double SegmentDistance(SimPoint p, SimPoint a, SimPoint b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double lengthSquared = dx * dx + dy * dy;
  double t = lengthSquared > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

bool Inside(SimPoint p, const std::vector<SimPoint>& polygon) {
  bool inside = false;
  for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const SimPoint& a = polygon[i];
    const SimPoint& b = polygon[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
  }
  return inside;
}

bool Hits(const SceneShape& shape, SimPoint at) {
  const std::vector<SimPoint>& pts = shape.points;
  switch (shape.kind) {
    case ShapeKind::Line:
    case ShapeKind::Area:
    case ShapeKind::Arrow:
      if (shape.kind != ShapeKind::Line && pts.size() > 2 && Inside(at, pts)) return true;
      for (size_t i = 0; i + 1 < pts.size(); ++i) {
        if (SegmentDistance(at, pts[i], pts[i + 1]) <= kHitDistance) return true;
      }
      return pts.size() == 1 && std::hypot(at.x - pts[0].x, at.y - pts[0].y) <= kHitDistance;
    case ShapeKind::TextFrame:
      return at.x >= pts[0].x && at.x <= pts[1].x && at.y >= pts[0].y && at.y <= pts[1].y;
    case ShapeKind::Text: {
      const SimPoint half = TextHalfSize(shape.text);
      return std::fabs(at.x - pts[0].x) <= half.x && std::fabs(at.y - pts[0].y) <= half.y;
    }
  }
  return false;
}

std::string Hex(uint32_t colour) {
  char text[8];
  std::snprintf(text, sizeof(text), "#%06x", colour & 0xffffffu);
  return text;
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.1f", value);
  return text;
}

std::string PixelPoints(const std::vector<SimPoint>& points) {
  std::string text;
  for (const SimPoint& p : points) {
    if (!text.empty()) text += ' ';
    text += Number(SceneView::PixelX(p.x)) + "," + Number(SceneView::PixelY(p.y));
  }
  return text;
}

// The SVG's text is XML as a report's attributes are: escaped the same way.
std::string Escaped(const std::u16string& text) {
  return XmlAttributeText(Utf16ToUtf8(text));
}

std::string StrokeOf(const ShapeLook& look) {
  std::string text = " stroke=\"" + Hex(look.stroke) + "\" stroke-width=\"" + Number(look.width) + "\"";
  if (look.dashed) text += " stroke-dasharray=\"6 3\"";
  return text;
}

std::string SvgShape(const SceneShape& shape) {
  const ShapeLook look = LookOf(shape.style);
  switch (shape.kind) {
    case ShapeKind::Line:
      return "<polyline points=\"" + PixelPoints(shape.points) + "\" fill=\"none\"" + StrokeOf(look) + "/>";
    case ShapeKind::Area:
      return "<polygon points=\"" + PixelPoints(shape.points) + "\" fill=\"" + Hex(look.fill) + "\"" + StrokeOf(look) +
             "/>";
    case ShapeKind::Arrow:
      return "<polygon points=\"" + PixelPoints(shape.points) + "\" fill=\"" + Hex(look.stroke) + "\"/>";
    case ShapeKind::TextFrame: {
      const double x = SceneView::PixelX(shape.points[0].x), y = SceneView::PixelY(shape.points[1].y);
      const double w = SceneView::PixelX(shape.points[1].x) - x, h = SceneView::PixelY(shape.points[0].y) - y;
      return "<rect x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" width=\"" + Number(w) + "\" height=\"" + Number(h) +
             "\" fill=\"#ffffff\"" + StrokeOf(look) + "/>";
    }
    case ShapeKind::Text: {
      const double size =
          (shape.style == ShapeStyle::Block ? kBlockLabelHeight : kTextHeight) * SceneView::kPixelsPerUnit;
      return "<text x=\"" + Number(SceneView::PixelX(shape.points[0].x)) + "\" y=\"" +
             Number(SceneView::PixelY(shape.points[0].y)) + "\" font-family=\"Arial, sans-serif\" font-size=\"" +
             Number(size) + "\" text-anchor=\"middle\" dominant-baseline=\"central\" fill=\"" + Hex(look.stroke) +
             "\">" + Escaped(shape.text) + "</text>";
    }
  }
  return std::string();
}

}  // namespace

ShapeLook LookOf(ShapeStyle style) {
  switch (style) {
    case ShapeStyle::Plain:
      return ShapeLook{0x333333, 0xffffff, 1.5, false};
    case ShapeStyle::Solid:
      return ShapeLook{0x555555, 0xd9d9d9, 1.5, false};
    case ShapeStyle::Block:
      return ShapeLook{0x22805a, 0xeef7f1, 1.5, true};
    case ShapeStyle::Leader:
      return ShapeLook{0x1a3d8f, 0xffffff, 1.5, false};
    case ShapeStyle::FreeText:
      return ShapeLook{0x1a3d8f, 0xffffff, 1.0, false};
    case ShapeStyle::Selected:
      return ShapeLook{0xe07000, 0xfff1e0, 2.5, false};
  }
  return ShapeLook{};
}

std::vector<SceneShape> BuildScene(const SimModel& model, int32_t drawingId) {
  std::vector<SceneShape> shapes;
  const SimDrawingData* drawing = model.Drawing(drawingId);
  if (drawing == nullptr) return shapes;
  for (int32_t id : drawing->graphics) {
    if (const SimGraphicData* graphic = model.Graphic(id)) AddGraphicShapes(model, *drawing, *graphic, &shapes);
  }
  return shapes;
}

void AddGraphicShapes(const SimModel& model, const SimDrawingData& drawing, const SimGraphicData& graphic,
                      std::vector<SceneShape>* out) {
  AddGraphic(model, graphic, Contains(drawing.selection, graphic.id), out);
}

PixelBox ShapePixels(const SceneShape& shape) {
  // Half the widest pen, rounded up, and a pixel for the smoothing of lines and texts.
  constexpr int kMargin = 3;
  if (shape.points.empty()) return PixelBox{};
  double low = std::numeric_limits<double>::max(), high = -low, top = low, bottom = -low;
  for (const SimPoint& p : shape.points) {
    low = std::min(low, SceneView::PixelX(p.x));
    high = std::max(high, SceneView::PixelX(p.x));
    top = std::min(top, SceneView::PixelY(p.y));
    bottom = std::max(bottom, SceneView::PixelY(p.y));
  }
  if (shape.kind == ShapeKind::Text) {
    // No character of the font is wider than its height; the painters centre the text.
    const double height =
        (shape.style == ShapeStyle::Block ? kBlockLabelHeight : kTextHeight) * SceneView::kPixelsPerUnit;
    const double halfWidth = static_cast<double>(std::max<size_t>(shape.text.size(), 1)) * height / 2.0;
    low -= halfWidth;
    high += halfWidth;
    top -= height;
    bottom += height;
  }
  return PixelBox{static_cast<int>(std::floor(low)) - kMargin, static_cast<int>(std::floor(top)) - kMargin,
                  static_cast<int>(std::ceil(high)) + kMargin + 1, static_cast<int>(std::ceil(bottom)) + kMargin + 1};
}

int32_t GraphicAt(const SimModel& model, int32_t drawingId, SimPoint at) {
  const SimDrawingData* drawing = model.Drawing(drawingId);
  if (drawing == nullptr) return 0;
  for (auto id = drawing->graphics.rbegin(); id != drawing->graphics.rend(); ++id) {
    const SimGraphicData* graphic = model.Graphic(*id);
    if (graphic == nullptr) continue;
    std::vector<SceneShape> shapes;
    AddGraphic(model, *graphic, false, &shapes);
    for (const SceneShape& shape : shapes) {
      if (Hits(shape, at)) return *id;
    }
  }
  return 0;
}

std::vector<int32_t> LeadersInBox(const SimModel& model, int32_t drawingId, SimPoint corner, SimPoint otherCorner) {
  std::vector<int32_t> inside;
  const SimDrawingData* drawing = model.Drawing(drawingId);
  if (drawing == nullptr) return inside;
  const double left = std::min(corner.x, otherCorner.x), right = std::max(corner.x, otherCorner.x);
  const double bottom = std::min(corner.y, otherCorner.y), top = std::max(corner.y, otherCorner.y);
  const auto within = [&](const SimPoint& p) { return p.x >= left && p.x <= right && p.y >= bottom && p.y <= top; };
  for (int32_t id : drawing->graphics) {
    const SimGraphicData* leader = model.Graphic(id);
    if (leader == nullptr || leader->typeName != kLeaderTypeName) continue;
    const SimGraphicData* vertexChild = Child(model, *leader, 2);
    if (vertexChild == nullptr || vertexChild->vertices.empty()) continue;
    const SimGraphicData* textChild = Child(model, *leader, 4);
    const bool textInside = textChild == nullptr || textChild->typeName != kTextTypeName ||
                            std::all_of(textChild->vertices.begin(), textChild->vertices.end(), within);
    if (textInside && std::all_of(vertexChild->vertices.begin(), vertexChild->vertices.end(), within)) {
      inside.push_back(id);
    }
  }
  return inside;
}

std::string SceneToSvg(const std::vector<SceneShape>& shapes) {
  const std::string width = std::to_string(SceneView::PixelWidth()), height = std::to_string(SceneView::PixelHeight());
  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + width + "\" height=\"" + height +
                    "\" viewBox=\"0 0 " + width + " " + height + "\">\n";
  svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
  for (const SceneShape& shape : shapes) svg += SvgShape(shape) + "\n";
  return svg + "</svg>\n";
}
