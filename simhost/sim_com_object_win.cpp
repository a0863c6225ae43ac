// Where the simulated host's COM objects find their type information: the host type library,
// embedded as resource TYPELIB 2 in the program that links them (simhost/simhost.rc). Id 1 is
// left to a program's own type library.
#include "simhost/sim_com_object_win.h"

namespace {

constexpr wchar_t kTypeLibResource[] = L"\\2";

std::wstring ThisModulePath() {
  HMODULE module = nullptr;
  const DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
  if (!GetModuleHandleExW(flags, reinterpret_cast<LPCWSTR>(&LoadHostTypeInfo), &module)) return {};
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(path, length);
}

}  // namespace

HRESULT LoadHostTypeInfo(REFIID iid, ITypeInfo** typeInfo) {
  RETURN_HR_IF_NULL(E_POINTER, typeInfo);
  *typeInfo = nullptr;
  return ComTry([&] {
    const std::wstring module = ThisModulePath();
    RETURN_HR_IF(E_FAIL, module.empty());
    Microsoft::WRL::ComPtr<ITypeLib> library;
    RETURN_IF_FAILED(LoadTypeLibEx((module + kTypeLibResource).c_str(), REGKIND_NONE, &library));
    Microsoft::WRL::ComPtr<ITypeInfo> info;
    RETURN_IF_FAILED(library->GetTypeInfoOfGuid(iid, &info));
    // A dual interface is described twice; DispInvoke calls through the vtable half.
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
  });
}

HostGraphic* SimGraphicHandleOf(IHostGraphic* graphic) {
  if (graphic == nullptr) return nullptr;
  Microsoft::WRL::ComPtr<ISimGraphicHandle> face;
  if (FAILED(graphic->QueryInterface(kIidSimGraphicHandle, reinterpret_cast<void**>(face.GetAddressOf())))) {
    return nullptr;
  }
  // The caller holds `graphic`, which keeps the handle alive after `face` is released.
  return face->Handle();
}
