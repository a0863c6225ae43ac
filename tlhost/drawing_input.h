// What the host does with the user's clicks in a drawing, apart from the window that receives
// them: every press goes to the add-in's subscription as MouseDown first, then to the running
// host command. The leader command takes two clicks (arrow point, text point) or a double-click
// (a point leader); the select command selects the graphic under the click, Shift adding to or
// taking from the selection, or the leaders inside a rectangle dragged over the drawing.
#pragma once

#include <cstdint>
#include <optional>

#include "tlhost/drawing_scene.h"
#include "simhost/sim_host.h"

class DrawingInput {
 public:
  enum class Outcome { Nothing, ArrowPointSet, LeaderPlaced, SelectionChanged };
  struct Result {
    Outcome outcome = Outcome::Nothing;
    int32_t graphicId = 0;  // the leader placed, or the graphic clicked
  };

  explicit DrawingInput(SimHost& host) : host_(host) {}

  Result Press(SimPoint at, bool shift);        // a left click (its button-down)
  Result DoublePress(SimPoint at, bool shift);  // the second press of a double-click
  // A rectangle dragged over the drawing: the leaders inside it become the selection, or join
  // it with Shift, in the drawing's order.
  Result SelectBox(SimPoint corner, SimPoint otherCorner, bool shift);
  void RightPress(SimPoint at, bool shift);  // only the add-in hears of it
  // The command changed: a half-made leader is dropped.
  void Reset() { arrowPoint_.reset(); }
  const std::optional<SimPoint>& ArrowPoint() const { return arrowPoint_; }

 private:
  void DeliverMouseDown(int16_t button, SimPoint at, bool shift);

  SimHost& host_;
  std::optional<SimPoint> arrowPoint_;
};

// The drawing the host opens at start-up, made in code: graphics of every type the add-in reads
// ("GRAPHIC" polylines, a "TCW40EXTRUDE", an "INSERT" of a named block), on several layers,
// some with "Info" texts. Gives the drawing's id.
int32_t AddSampleDrawing(SimHost& host);
