// Where the simulated host's COM objects find their type information: the host type library,
// embedded as resource TYPELIB 2 in the program that links them (simhost/simhost.rc). Id 1 is
// left to a program's own type library.
#include "simhost/sim_com_object_win.h"

#include "framework/type_info_win.h"

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
    return LoadVtableTypeInfo(library.Get(), iid, typeInfo);
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
