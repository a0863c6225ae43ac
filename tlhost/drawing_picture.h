// What the reference host keeps of the drawing it shows, so that a change costs in proportion to
// what it touched rather than to the drawing: the pixels each of the drawing's graphics covers.
// From the graphics a change touched (SimModel::TakeChangedGraphics) it finds the boxes to paint
// again, where each of them was and where it is now, and the shapes that fall in those boxes.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "simhost/sim_model.h"
#include "tlhost/drawing_scene.h"

class DrawingPicture {
 public:
  // The drawing shown from now on (0 for none): all of the sheet is to be painted.
  std::vector<PixelBox> Show(const SimModel& model, int32_t drawingId);
  int32_t DrawingId() const { return drawingId_; }
  // Brings the kept boxes up to date with the graphics that changed; gives the boxes to paint
  // again. A child's change is its top-level graphic's; changes in other drawings do not show.
  std::vector<PixelBox> Update(const SimModel& model, const std::vector<int32_t>& changed);
  // The shapes of the graphics that reach into any of the boxes, in the order they are painted.
  std::vector<SceneShape> ShapesIn(const SimModel& model, const std::vector<PixelBox>& boxes) const;

 private:
  // The pixels of a graphic of the shown drawing's own list; empty for any other.
  PixelBox BoxOf(const SimModel& model, int32_t graphicId) const;

  int32_t drawingId_ = 0;
  std::unordered_map<int32_t, PixelBox> boxes_;  // by graphic id, for those that show
};
