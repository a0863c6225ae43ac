// The reference host session: acts as the drafting host does at start-up. It creates the add-in
// by ProgID and reads everything the host needs to build its menus and toolbars, only through
// IDispatch::Invoke with the add-in's dispatch ids, then shows what a user would see and writes
// the button strips it received as PNG files into the current folder.
#include <olectl.h>
#include <windows.h>
#include <wrl/client.h>

#include <cstdio>
#include <string>
#include <vector>

#include "simhost/addin_invoke_win.h"
#include "simhost/demo_session_win.h"
#include "simhost/png_file_win.h"

using Microsoft::WRL::ComPtr;

namespace {

std::string Narrow(const wchar_t* text) {
  std::string out;
  for (; text && *text; ++text) out += *text < 128 ? static_cast<char>(*text) : '?';
  return out;
}

// One call by Invoke; the caller takes the result value. Gives the method's own code.
HRESULT Call(IDispatch* addin, DISPID id, WORD flags, const std::vector<VARIANT>& args, VARIANT* result) {
  InvokeResult call;
  const HRESULT hr = Invoke(addin, id, flags, args, &call);
  *result = call.value;
  VariantInit(&call.value);
  return hr;
}

VARIANT Vector(VARTYPE type) {
  VARIANT v;
  V_VT(&v) = VT_ARRAY | type;
  V_ARRAY(&v) = SafeArrayCreateVector(type, 0, 1);  // the host makes the arrays; the add-in sizes them
  return v;
}

std::string Text(SAFEARRAY* array, std::vector<LONG> indices) {
  BSTR text = nullptr;
  if (FAILED(SafeArrayGetElement(array, indices.data(), &text))) return "";
  std::string out = Narrow(text);
  SysFreeString(text);
  return out;
}

bool Flag(SAFEARRAY* array, LONG index) {
  VARIANT_BOOL flag = 0;
  return SUCCEEDED(SafeArrayGetElement(array, &index, &flag)) && flag != 0;
}

// The menu path as the host shows it: "Insert|Tallyline B&y|Number" reads "Insert > Tallyline By > Number".
std::string MenuPath(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    out += text[i] == '|' ? std::string(" > ") : std::string(1, text[i]);
  }
  return out;
}

// Writes the bitmap inside a picture object as a PNG file.
HRESULT SavePicture(IDispatch* picture, const wchar_t* fileName, SIZE* size) {
  ComPtr<IPicture> pic;
  if (FAILED(picture->QueryInterface(IID_IPicture, &pic))) return E_NOINTERFACE;
  OLE_HANDLE handle = 0;
  if (FAILED(pic->get_Handle(&handle))) return E_FAIL;
  HBITMAP bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
  BITMAP info = {};
  GetObjectW(bitmap, sizeof(info), &info);
  *size = {info.bmWidth, info.bmHeight};
  return SaveBitmapAsPng(bitmap, fileName);
}

int RunSession(IDispatch* addin) {
  VARIANT classId, description;
  VariantInit(&classId);
  VariantInit(&description);
  if (SUCCEEDED(Call(addin, kDispClassId, DISPATCH_PROPERTYGET, {}, &classId)))
    std::printf("ClassID      %s\n", Narrow(V_BSTR(&classId)).c_str());
  if (SUCCEEDED(Call(addin, kDispDescription, DISPATCH_PROPERTYGET, {}, &description)))
    std::printf("Description  %s\n\n", Narrow(V_BSTR(&description)).c_str());
  VariantClear(&classId);
  VariantClear(&description);

  VARIANT names = Vector(VT_BSTR), prompts = Vector(VT_BSTR), tips = Vector(VT_BSTR), enabled = Vector(VT_BOOL),
          updates = Vector(VT_BOOL), captions = Vector(VT_BSTR);
  VARIANT count;
  VariantInit(&count);
  HRESULT hr = Call(
      addin, kDispGetToolInfo, DISPATCH_METHOD,
      {RefArg(&names), RefArg(&captions), RefArg(&prompts), RefArg(&tips), RefArg(&enabled), RefArg(&updates)}, &count);
  if (FAILED(hr)) {
    std::printf("GetToolInfo failed: 0x%08lx\n", static_cast<unsigned long>(hr));
    return 1;
  }
  std::printf("GetToolInfo: %ld tools\n", V_I4(&count));
  for (LONG i = 0; i < V_I4(&count); ++i) {
    std::printf("\nTool %ld\n", i);
    std::printf("  menu entry  %s   (command name \"%s\")\n", MenuPath(Text(V_ARRAY(&names), {i})).c_str(),
                Text(V_ARRAY(&names), {i}).c_str());
    std::printf("  caption     \"%s\"   group \"%s\"\n", Text(V_ARRAY(&captions), {i, 0}).c_str(),
                Text(V_ARRAY(&captions), {i, 1}).c_str());
    std::printf("  prompt      %s\n", Text(V_ARRAY(&prompts), {i}).c_str());
    std::printf("  tooltip     %s\n", Text(V_ARRAY(&tips), {i}).c_str());
    std::printf("  enabled %s, wants updates %s\n", Flag(V_ARRAY(&enabled), i) ? "yes" : "no",
                Flag(V_ARRAY(&updates), i) ? "yes" : "no");
  }
  for (VARIANT* v : {&names, &prompts, &tips, &enabled, &updates, &captions}) VariantClear(v);

  const struct {
    DISPID id;
    bool large;
    const wchar_t* file;
    const char* what;
  } strips[] = {{kDispGetPicture, true, L"tools_large.png", "large buttons"},
                {kDispGetPicture, false, L"tools_small.png", "small buttons"},
                {kDispGetLMPicture, false, L"local_menu.png", "local menu"}};
  std::printf("\n");
  int failures = 0;
  for (const auto& strip : strips) {
    VARIANT picture;
    VariantInit(&picture);
    std::vector<VARIANT> args;
    if (strip.id == kDispGetPicture) args = {BoolArg(strip.large), BoolArg(false)};
    hr = Call(addin, strip.id, DISPATCH_METHOD, args, &picture);
    SIZE size = {};
    if (SUCCEEDED(hr))
      hr = V_VT(&picture) == VT_DISPATCH ? SavePicture(V_DISPATCH(&picture), strip.file, &size) : E_FAIL;
    std::printf("%-14s %ld x %ld -> %s%s\n", strip.what, size.cx, size.cy, Narrow(strip.file).c_str(),
                SUCCEEDED(hr) ? "" : " (failed)");
    failures += FAILED(hr);
    VariantClear(&picture);
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main() {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  int result = 1;
  {
    GdiplusSession gdiplus;
    CLSID clsid = {};
    ComPtr<IDispatch> addin;
    HRESULT hr = CLSIDFromProgID(L"Varnkit_TL.Tallyline", &clsid);
    if (SUCCEEDED(hr)) hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, &addin);
    if (FAILED(hr)) {
      std::printf("Cannot create Varnkit_TL.Tallyline: 0x%08lx (is the DLL registered?)\n",
                  static_cast<unsigned long>(hr));
    } else {
      result = RunSession(addin.Get());
      if (result == 0) result = RunNumberSession(addin.Get());
      if (result == 0) result = RunPicklistSession(addin.Get());
      if (result == 0) result = RunRenumberSession(addin.Get());
    }
  }
  CoUninitialize();
  return result;
}
