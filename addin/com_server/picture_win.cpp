// The button and local-menu strips go to the host as standard OLE picture objects made from the
// bitmap handle (picture type bitmap, no palette); the picture owns and frees the handle.
#include "addin/com_server/picture_win.h"

#include <olectl.h>

#include "framework/module_win.h"
#include "framework/status.h"

HRESULT CreatePictureFromResource(int bitmapId, IDispatch** picture) {
  RETURN_HR_IF(E_POINTER, picture == nullptr);
  *picture = nullptr;
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
  if (bitmap == nullptr) return HRESULT_FROM_WIN32(GetLastError() ? GetLastError() : ERROR_RESOURCE_NAME_NOT_FOUND);

  PICTDESC description = {};
  description.cbSizeofstruct = sizeof(description);
  description.picType = PICTYPE_BITMAP;
  description.bmp.hbitmap = bitmap;
  description.bmp.hpal = nullptr;
  const HRESULT hr = OleCreatePictureIndirect(&description, IID_IDispatch, TRUE, reinterpret_cast<void**>(picture));
  // The picture owns the bitmap only once it exists.
  if (FAILED(hr)) {
    DeleteObject(bitmap);
    *picture = nullptr;
  }
  return hr;
}
