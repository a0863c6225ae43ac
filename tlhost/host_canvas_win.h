// Painting the drawing's shapes with GDI, on the screen and into a bitmap for the PNG export.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "tlhost/drawing_scene.h"

// `arrowPoint`: the first point of a leader being placed, marked with a small cross.
void PaintScene(HDC dc, const std::vector<SceneShape>& shapes, const std::optional<SimPoint>& arrowPoint);
// The cross that marks the first point of a leader being placed, and the pixels it covers.
void PaintArrowPoint(HDC dc, SimPoint at);
PixelBox ArrowPointPixels(SimPoint at);

// The drawing as the window shows it, kept in a bitmap of the sheet's size between paints: the
// window copies from it, and a change paints again only the boxes it touched.
class CanvasPicture {
 public:
  CanvasPicture() = default;
  ~CanvasPicture();
  CanvasPicture(const CanvasPicture&) = delete;
  CanvasPicture& operator=(const CanvasPicture&) = delete;

  // A white sheet in the pixel format of the window's device context `like`.
  bool Create(HDC like);
  // Fills the boxes white and paints the shapes over them, clipped to the boxes: a shape that
  // reaches beyond a box leaves the pixels outside it alone, which still show it.
  void Repaint(const std::vector<PixelBox>& boxes, const std::vector<SceneShape>& shapes);
  void CopyTo(HDC dc, const RECT& part) const;
  // True when the kept pixels are exactly those of the shapes painted whole on a white sheet.
  bool Shows(const std::vector<SceneShape>& shapes) const;

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
};

// The shapes painted on a white sheet of SceneView's size, written as a PNG file.
HRESULT SaveSceneAsPng(const std::vector<SceneShape>& shapes, const wchar_t* path);
