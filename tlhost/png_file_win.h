// Writes a bitmap as a PNG file with the system's own encoder (GDI+), for the demo's button
// strips and the screenshots of the dialog tests.
#pragma once

#include <windows.h>

// GDI+ must be started (GdiplusSession) while this runs.
HRESULT SaveBitmapAsPng(HBITMAP bitmap, const wchar_t* path);

// Starts GDI+ for its lifetime.
class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

 private:
  ULONG_PTR token_ = 0;
};
