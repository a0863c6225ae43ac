// The host's own handling of clicks, and the sample drawing.
#include "tlhost/drawing_input.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <vector>

#include "host/host_names.h"

namespace {
constexpr int16_t kLeftButton = 1, kRightButton = 2;
constexpr int32_t kShiftFlag = 1;
}  // namespace

void DrawingInput::DeliverMouseDown(int16_t button, SimPoint at, bool shift) {
  // The add-in hears of the press in the window's pixels, as a host's view reports it.
  host_.MouseDown(button, shift ? kShiftFlag : 0, static_cast<int32_t>(std::lround(SceneView::PixelX(at.x))),
                  static_cast<int32_t>(std::lround(SceneView::PixelY(at.y))));
}

DrawingInput::Result DrawingInput::Press(SimPoint at, bool shift) {
  DeliverMouseDown(kLeftButton, at, shift);
  Result result;
  const int32_t command = host_.ActiveCommand();
  if (command == kSimCommandLeader) {
    if (!arrowPoint_) {
      arrowPoint_ = at;
      result.outcome = Outcome::ArrowPointSet;
      return result;
    }
    const std::vector<SimPoint> points = {*arrowPoint_, at};
    arrowPoint_.reset();
    result.graphicId = host_.PlaceLeaderAt(points);
    if (result.graphicId != 0) result.outcome = Outcome::LeaderPlaced;
    return result;
  }
  if (command == kSimCommandSelect) {
    const int32_t drawing = host_.ActiveDrawing();
    const int32_t hit = GraphicAt(host_.Model(), drawing, at);
    std::vector<int32_t> selection;
    if (shift && host_.Model().Drawing(drawing) != nullptr) selection = host_.Model().Drawing(drawing)->selection;
    const auto found = std::find(selection.begin(), selection.end(), hit);
    if (hit != 0 && found != selection.end()) {
      selection.erase(found);
    } else if (hit != 0) {
      selection.push_back(hit);
    }
    if (host_.Select(selection)) result.outcome = Outcome::SelectionChanged;
    result.graphicId = hit;
  }
  return result;
}

DrawingInput::Result DrawingInput::DoublePress(SimPoint at, bool shift) {
  DeliverMouseDown(kLeftButton, at, shift);
  Result result;
  if (host_.ActiveCommand() != kSimCommandLeader) return result;
  // The first press of a double-click either set the arrow point here (a point leader follows)
  // or ended a leader begun earlier (the double-click only ends it).
  if (arrowPoint_ && *arrowPoint_ == at) {
    arrowPoint_.reset();
    result.graphicId = host_.PlaceLeaderAt({at});
    if (result.graphicId != 0) result.outcome = Outcome::LeaderPlaced;
  }
  return result;
}

DrawingInput::Result DrawingInput::SelectBox(SimPoint corner, SimPoint otherCorner, bool shift) {
  Result result;
  const int32_t drawingId = host_.ActiveDrawing();
  const SimDrawingData* drawing = host_.Model().Drawing(drawingId);
  if (drawing == nullptr) return result;
  std::vector<int32_t> selection;
  if (shift) selection = drawing->selection;
  std::unordered_set<int32_t> selected(selection.begin(), selection.end());
  for (int32_t id : LeadersInBox(host_.Model(), drawingId, corner, otherCorner)) {
    if (selected.insert(id).second) selection.push_back(id);
  }
  if (host_.Select(std::move(selection))) result.outcome = Outcome::SelectionChanged;
  return result;
}

void DrawingInput::RightPress(SimPoint at, bool shift) {
  DeliverMouseDown(kRightButton, at, shift);
}

namespace {

SimGraphicSpec GraphicOf(std::u16string type, std::u16string info, std::u16string layer, std::vector<SimPoint> points) {
  return {std::move(type), std::move(info), std::move(layer), std::nullopt, std::move(points)};
}

}  // namespace

int32_t AddSampleDrawing(SimHost& host) {
  const int32_t drawing = host.AddDrawing();
  // A pipe run of three straight pieces: 40 + 30 + 25 units long.
  host.AddGraphic(drawing, GraphicOf(kGraphicTypeName, u"Cooling water line", u"Piping",
                                     {{20, 110, 0}, {60, 110, 0}, {60, 80, 0}, {85, 80, 0}}));
  host.AddGraphic(drawing, GraphicOf(kGraphicTypeName, u"Tank T-1", u"Equipment",
                                     {{110, 85, 0}, {140, 85, 0}, {140, 120, 0}, {110, 120, 0}, {110, 85, 0}}));
  host.AddGraphic(drawing, GraphicOf(kExtrusionTypeName, u"", u"Structure",
                                     {{20, 20, 0}, {70, 20, 0}, {70, 35, 0}, {20, 35, 0}, {20, 20, 0}}));
  SimGraphicSpec pump = GraphicOf(kBlockTypeName, u"", u"Equipment",
                                  {{120, 25, 0}, {150, 25, 0}, {150, 50, 0}, {120, 50, 0}, {120, 25, 0}});
  pump.block = u"PUMP-STD";
  host.AddGraphic(drawing, pump);
  host.AddGraphic(drawing, GraphicOf(kGraphicTypeName, u"", u"Notes", {{165, 110, 0}, {190, 95, 0}}));
  return drawing;
}
