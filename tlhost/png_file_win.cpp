#include "tlhost/png_file_win.h"

// GDI+ needs the COM and property declarations first.
#include <objidl.h>
#include <propidl.h>

#include <gdiplus.h>

#include <vector>

namespace {

bool PngEncoder(CLSID* clsid) {
  UINT count = 0, size = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
  std::vector<BYTE> buffer(size);
  auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, size, encoders) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (wcscmp(encoders[i].MimeType, L"image/png") == 0) {
      *clsid = encoders[i].Clsid;
      return true;
    }
  }
  return false;
}

}  // namespace

GdiplusSession::GdiplusSession() {
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&token_, &input, nullptr);
}

GdiplusSession::~GdiplusSession() {
  if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
}

HRESULT SaveBitmapAsPng(HBITMAP bitmap, const wchar_t* path) {
  CLSID png = {};
  if (!PngEncoder(&png)) return E_FAIL;
  Gdiplus::Bitmap* image = Gdiplus::Bitmap::FromHBITMAP(bitmap, nullptr);
  if (image == nullptr) return E_OUTOFMEMORY;
  const Gdiplus::Status status = image->Save(path, &png, nullptr);
  delete image;
  return status == Gdiplus::Ok ? S_OK : E_FAIL;
}
