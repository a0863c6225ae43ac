// Bitmap resources of the module handed to the host as OLE picture objects.
#pragma once

#include <oaidl.h>
#include <windows.h>

// Loads bitmap resource `bitmapId` and wraps it in a picture object that owns the bitmap.
HRESULT CreatePictureFromResource(int bitmapId, IDispatch** picture);
