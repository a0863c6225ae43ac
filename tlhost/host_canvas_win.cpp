// One pen and brush per shape, made from the look that the SVG writer uses too.
#include "tlhost/host_canvas_win.h"

#include <cmath>
#include <cstdint>

#include "tlhost/png_file_win.h"

namespace {

COLORREF Colour(uint32_t rgb) {
  return RGB((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff);
}

POINT Pixel(const SimPoint& p) {
  return POINT{static_cast<LONG>(std::lround(SceneView::PixelX(p.x))),
               static_cast<LONG>(std::lround(SceneView::PixelY(p.y)))};
}

std::vector<POINT> Pixels(const std::vector<SimPoint>& points) {
  std::vector<POINT> pixels;
  for (const SimPoint& p : points) pixels.push_back(Pixel(p));
  return pixels;
}

HPEN MakePen(const ShapeLook& look) {
  LOGBRUSH brush = {BS_SOLID, Colour(look.stroke), 0};
  const DWORD style = PS_GEOMETRIC | PS_ENDCAP_ROUND | PS_JOIN_ROUND | (look.dashed ? PS_DASH : PS_SOLID);
  return ExtCreatePen(style, static_cast<DWORD>(std::lround(look.width)), &brush, 0, nullptr);
}

HFONT MakeFont(double unitsHigh) {
  return CreateFontW(-static_cast<int>(std::lround(unitsHigh * SceneView::kPixelsPerUnit)), 0, 0, 0, FW_NORMAL, FALSE,
                     FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, L"Arial");
}

void PaintShape(HDC dc, const SceneShape& shape, HFONT textFont, HFONT blockFont) {
  const ShapeLook look = LookOf(shape.style);
  HPEN pen = MakePen(look);
  HBRUSH brush = CreateSolidBrush(Colour(shape.kind == ShapeKind::Arrow       ? look.stroke
                                         : shape.kind == ShapeKind::TextFrame ? 0xffffff
                                                                              : look.fill));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  std::vector<POINT> pixels = Pixels(shape.points);
  switch (shape.kind) {
    case ShapeKind::Line:
      Polyline(dc, pixels.data(), static_cast<int>(pixels.size()));
      break;
    case ShapeKind::Area:
    case ShapeKind::Arrow:
      Polygon(dc, pixels.data(), static_cast<int>(pixels.size()));
      break;
    case ShapeKind::TextFrame:
      Rectangle(dc, pixels[0].x, pixels[1].y, pixels[1].x, pixels[0].y);
      break;
    case ShapeKind::Text: {
      HGDIOBJ oldFont = SelectObject(dc, shape.style == ShapeStyle::Block ? blockFont : textFont);
      SetTextColor(dc, Colour(look.stroke));
      SetBkMode(dc, TRANSPARENT);
      RECT box = {pixels[0].x - 400, pixels[0].y - 40, pixels[0].x + 400, pixels[0].y + 40};
      const std::wstring text(shape.text.begin(), shape.text.end());
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      SelectObject(dc, oldFont);
      break;
    }
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

void PaintShapes(HDC dc, const std::vector<SceneShape>& shapes) {
  HFONT textFont = MakeFont(kTextHeight);
  HFONT blockFont = MakeFont(2.5);
  for (const SceneShape& shape : shapes) PaintShape(dc, shape, textFont, blockFont);
  DeleteObject(textFont);
  DeleteObject(blockFont);
}

RECT SheetRect() {
  return RECT{0, 0, SceneView::PixelWidth(), SceneView::PixelHeight()};
}

// A bitmap of the sheet's size with `bitCount` bits a pixel, its rows top down.
BITMAPINFO SheetBitmapInfo(WORD bitCount) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = SceneView::PixelWidth();
  info.bmiHeader.biHeight = -SceneView::PixelHeight();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = bitCount;
  return info;
}

// The pixels of a bitmap as 32-bit rows, top down.
std::vector<uint32_t> PixelsOf(HDC dc, HBITMAP bitmap) {
  BITMAPINFO info = SheetBitmapInfo(32);
  std::vector<uint32_t> pixels(static_cast<size_t>(SceneView::PixelWidth()) * SceneView::PixelHeight());
  if (GetDIBits(dc, bitmap, 0, SceneView::PixelHeight(), pixels.data(), &info, DIB_RGB_COLORS) == 0) pixels.clear();
  return pixels;
}

}  // namespace

void PaintScene(HDC dc, const std::vector<SceneShape>& shapes, const std::optional<SimPoint>& arrowPoint) {
  const RECT sheet = SheetRect();
  FillRect(dc, &sheet, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  PaintShapes(dc, shapes);
  if (arrowPoint) PaintArrowPoint(dc, *arrowPoint);
}

void PaintArrowPoint(HDC dc, SimPoint at) {
  const POINT p = Pixel(at);
  HGDIOBJ old = SelectObject(dc, GetStockObject(BLACK_PEN));
  MoveToEx(dc, p.x - 6, p.y, nullptr);
  LineTo(dc, p.x + 7, p.y);
  MoveToEx(dc, p.x, p.y - 6, nullptr);
  LineTo(dc, p.x, p.y + 7);
  SelectObject(dc, old);
}

PixelBox ArrowPointPixels(SimPoint at) {
  const POINT p = Pixel(at);
  return PixelBox{p.x - 7, p.y - 7, p.x + 8, p.y + 8};
}

CanvasPicture::~CanvasPicture() {
  if (dc_ != nullptr) SelectObject(dc_, oldBitmap_);
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  if (dc_ != nullptr) DeleteDC(dc_);
}

bool CanvasPicture::Create(HDC like) {
  dc_ = CreateCompatibleDC(like);
  bitmap_ = CreateCompatibleBitmap(like, SceneView::PixelWidth(), SceneView::PixelHeight());
  if (dc_ == nullptr || bitmap_ == nullptr) return false;
  oldBitmap_ = SelectObject(dc_, bitmap_);
  const RECT sheet = SheetRect();
  FillRect(dc_, &sheet, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  return true;
}

void CanvasPicture::Repaint(const std::vector<PixelBox>& boxes, const std::vector<SceneShape>& shapes) {
  if (dc_ == nullptr || boxes.empty()) return;
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  for (const PixelBox& box : boxes) {
    HRGN part = CreateRectRgn(box.left, box.top, box.right, box.bottom);
    CombineRgn(region, region, part, RGN_OR);
    DeleteObject(part);
  }
  SelectClipRgn(dc_, region);
  FillRgn(dc_, region, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  PaintShapes(dc_, shapes);
  SelectClipRgn(dc_, nullptr);
  DeleteObject(region);
}

void CanvasPicture::CopyTo(HDC dc, const RECT& part) const {
  if (dc_ == nullptr) return;
  BitBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, dc_, part.left, part.top, SRCCOPY);
}

bool CanvasPicture::Shows(const std::vector<SceneShape>& shapes) const {
  if (dc_ == nullptr) return false;
  HDC whole = CreateCompatibleDC(dc_);
  HBITMAP bitmap = CreateCompatibleBitmap(dc_, SceneView::PixelWidth(), SceneView::PixelHeight());
  bool same = false;
  if (whole != nullptr && bitmap != nullptr) {
    HGDIOBJ old = SelectObject(whole, bitmap);
    PaintScene(whole, shapes, std::nullopt);
    SelectObject(whole, old);
    // A bitmap is read while no device context holds it.
    SelectObject(dc_, oldBitmap_);
    const std::vector<uint32_t> kept = PixelsOf(dc_, bitmap_), painted = PixelsOf(whole, bitmap);
    SelectObject(dc_, bitmap_);
    same = !kept.empty() && kept == painted;
  }
  if (bitmap != nullptr) DeleteObject(bitmap);
  if (whole != nullptr) DeleteDC(whole);
  return same;
}

HRESULT SaveSceneAsPng(const std::vector<SceneShape>& shapes, const wchar_t* path) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = SheetBitmapInfo(24);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HRESULT hr = E_OUTOFMEMORY;
  if (bitmap != nullptr && memory != nullptr) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    PaintScene(memory, shapes, std::nullopt);
    SelectObject(memory, old);
    hr = SaveBitmapAsPng(bitmap, path);
  }
  if (bitmap != nullptr) DeleteObject(bitmap);
  if (memory != nullptr) DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return hr;
}
