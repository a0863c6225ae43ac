// Keeping the boxes of the shown drawing's graphics, and finding what a change touched.
#include "tlhost/drawing_picture.h"

#include <algorithm>
#include <unordered_set>

std::vector<PixelBox> DrawingPicture::Show(const SimModel& model, int32_t drawingId) {
  drawingId_ = drawingId;
  boxes_.clear();
  if (const SimDrawingData* drawing = model.Drawing(drawingId)) {
    for (int32_t id : drawing->graphics) {
      const PixelBox box = BoxOf(model, id);
      if (!box.Empty()) boxes_[id] = box;
    }
  }
  return {PixelBox{0, 0, SceneView::PixelWidth(), SceneView::PixelHeight()}};
}

PixelBox DrawingPicture::BoxOf(const SimModel& model, int32_t graphicId) const {
  const SimDrawingData* drawing = model.Drawing(drawingId_);
  const SimGraphicData* graphic = model.Graphic(graphicId);
  PixelBox box;
  if (drawing == nullptr || graphic == nullptr || !(graphic->home == SimListRef{drawingId_, 0})) return box;
  std::vector<SceneShape> shapes;
  AddGraphicShapes(model, *drawing, *graphic, &shapes);
  for (const SceneShape& shape : shapes) box = Union(box, ShapePixels(shape));
  return box;
}

std::vector<PixelBox> DrawingPicture::Update(const SimModel& model, const std::vector<int32_t>& changed) {
  std::unordered_set<int32_t> touched;
  for (int32_t id : changed) {
    touched.insert(id);
    // Up through the lists that hold it, to the graphic of the drawing's own list.
    for (const SimGraphicData* graphic = model.Graphic(id);
         graphic != nullptr && graphic->home && graphic->home->ownerGraphicId != 0;
         graphic = model.Graphic(graphic->home->ownerGraphicId)) {
      if (!touched.insert(graphic->home->ownerGraphicId).second) break;
    }
  }
  std::vector<PixelBox> dirty;
  for (int32_t id : touched) {
    PixelBox before;
    if (auto kept = boxes_.find(id); kept != boxes_.end()) {
      before = kept->second;
      boxes_.erase(kept);
      dirty.push_back(before);
    }
    const PixelBox now = BoxOf(model, id);
    if (now.Empty()) continue;
    boxes_[id] = now;
    if (!(now == before)) dirty.push_back(now);
  }
  return dirty;
}

std::vector<SceneShape> DrawingPicture::ShapesIn(const SimModel& model, const std::vector<PixelBox>& boxes) const {
  std::vector<SceneShape> shapes;
  const SimDrawingData* drawing = model.Drawing(drawingId_);
  if (drawing == nullptr || boxes.empty()) return shapes;
  PixelBox bounds;
  for (const PixelBox& box : boxes) bounds = Union(bounds, box);
  for (int32_t id : drawing->graphics) {
    const auto kept = boxes_.find(id);
    if (kept == boxes_.end() || !kept->second.Overlaps(bounds)) continue;
    const bool reaches =
        std::any_of(boxes.begin(), boxes.end(), [&](const PixelBox& box) { return kept->second.Overlaps(box); });
    if (reaches) AddGraphicShapes(model, *drawing, *model.Graphic(id), &shapes);
  }
  return shapes;
}
