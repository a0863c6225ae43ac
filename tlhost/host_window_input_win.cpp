// The reference host's drawing canvas: painting it, and the user's clicks on it handed to the
// drawing input (the host's own handling) or, on a right click, the local menu.
#include "tlhost/host_window_win.h"

#include <cstdio>

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

// The kept picture is copied to the screen, with the arrow point of a leader being placed on top.
void HostWindow::PaintCanvas() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(canvas_, &paint);
  canvasPicture_.CopyTo(dc, paint.rcPaint);
  if (input_.ArrowPoint()) PaintArrowPoint(dc, *input_.ArrowPoint());
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
