#include "framework/type_info_win.h"

#include <wrl/client.h>

#include "framework/status.h"

HRESULT LoadVtableTypeInfo(ITypeLib* library, REFIID iid, ITypeInfo** typeInfo) {
  RETURN_HR_IF_NULL(E_POINTER, typeInfo);
  *typeInfo = nullptr;
  RETURN_HR_IF_NULL(E_POINTER, library);
  Microsoft::WRL::ComPtr<ITypeInfo> info;
  RETURN_IF_FAILED(library->GetTypeInfoOfGuid(iid, &info));
  TYPEATTR* attributes = nullptr;
  RETURN_IF_FAILED(info->GetTypeAttr(&attributes));
  const bool isDispatchHalf = attributes->typekind == TKIND_DISPATCH;
  info->ReleaseTypeAttr(attributes);
  if (isDispatchHalf) {
    HREFTYPE vtableHalf = 0;
    RETURN_IF_FAILED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableHalf));
    Microsoft::WRL::ComPtr<ITypeInfo> vtableInfo;
    RETURN_IF_FAILED(info->GetRefTypeInfo(vtableHalf, &vtableInfo));
    info = vtableInfo;
  }
  *typeInfo = info.Detach();
  return S_OK;
}
