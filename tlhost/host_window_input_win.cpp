// The reference host's drawing canvas: painting it, and the user's clicks on it handed to the
// drawing input (the host's own handling) or, on a right click, the local menu.
#include "tlhost/host_window_win.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "tlhost/host_canvas_win.h"
#include "tlhost/host_window_shared_win.h"

void HostWindow::OnCanvasPress(UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
  const SimPoint at = SceneView::FromPixel(x, y);
  const bool shift = (wParam & MK_SHIFT) != 0;
  char where[64];
  std::snprintf(where, sizeof(where), "%g %g", at.x, at.y);
  if (message == WM_RBUTTONDOWN) {
    Say(std::string("user: right-clicks at ") + where);
    input_.RightPress(at, shift);
    Sync();
    return;
  }
  const bool twice = message == WM_LBUTTONDBLCLK;
  Say(std::string("user: ") + (twice ? "double-clicks" : "clicks") + " at " + where + (shift ? " with Shift" : ""));
  const DrawingInput::Result result = twice ? input_.DoublePress(at, shift) : input_.Press(at, shift);
  // A press on no graphic in the select command may go on as a rectangle dragged over the drawing.
  if (!twice && result.graphicId == 0 && host_.ActiveCommand() == kSimCommandSelect) {
    dragFrom_ = POINT{x, y};
    dragTo_ = *dragFrom_;
    SetCapture(canvas_);
  }
  if (result.outcome == DrawingInput::Outcome::LeaderPlaced) {
    const SimGraphicData* leader = host_.Model().Graphic(result.graphicId);
    Say("  leader " + std::to_string(result.graphicId) + " placed with the text " +
        Quoted(leader != nullptr ? leader->info : u""));
  } else if (result.outcome == DrawingInput::Outcome::SelectionChanged) {
    Say("  selection: " + std::to_string(host_.Model().Drawing(host_.ActiveDrawing())->selection.size()) +
        " graphic(s)");
  }
  Sync();
}

namespace {

// The pixels of a rectangle dragged from one point to another, both of them included.
PixelBox Band(POINT from, POINT to) {
  return PixelBox{std::min(from.x, to.x), std::min(from.y, to.y), std::max(from.x, to.x) + 1,
                  std::max(from.y, to.y) + 1};
}

}  // namespace

// The rectangle being dragged follows the pointer; let go, it selects what lies inside.
void HostWindow::OnCanvasDrag(UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT from = *dragFrom_;
  InvalidateCanvas(Band(from, dragTo_));
  if (message == WM_CAPTURECHANGED) {
    dragFrom_.reset();
    return;
  }
  dragTo_ = POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  InvalidateCanvas(Band(from, dragTo_));
  if (message != WM_LBUTTONUP) return;
  dragFrom_.reset();
  ReleaseCapture();
  // A press that hardly moved was a click on nothing, already handled.
  if (std::abs(dragTo_.x - from.x) < GetSystemMetrics(SM_CXDRAG) &&
      std::abs(dragTo_.y - from.y) < GetSystemMetrics(SM_CYDRAG)) {
    return;
  }
  SelectBox(SceneView::FromPixel(from.x, from.y), SceneView::FromPixel(dragTo_.x, dragTo_.y), (wParam & MK_SHIFT) != 0);
}

// The kept picture is copied to the screen, with what belongs to the input on top: the arrow
// point of a leader being placed and the rectangle being dragged.
void HostWindow::PaintCanvas() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(canvas_, &paint);
  canvasPicture_.CopyTo(dc, paint.rcPaint);
  if (input_.ArrowPoint()) PaintArrowPoint(dc, *input_.ArrowPoint());
  if (dragFrom_) {
    const PixelBox band = Band(*dragFrom_, dragTo_);
    const RECT rect = {band.left, band.top, band.right, band.bottom};
    DrawFocusRect(dc, &rect);
  }
  EndPaint(canvas_, &paint);
}

LRESULT HostWindow::OnCanvasMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      PaintCanvas();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
      SetFocus(canvas_);
      OnCanvasPress(message, wParam, lParam);
      return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (dragFrom_) OnCanvasDrag(message, wParam, lParam);
      return 0;
    case WM_RBUTTONUP: {
      POINT screen = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ClientToScreen(canvas_, &screen);
      ShowLocalMenu(screen);
      return 0;
    }
    default:
      return DefWindowProcW(canvas_, message, wParam, lParam);
  }
}
