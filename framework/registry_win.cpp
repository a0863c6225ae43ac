// The registry port over the ANSI registry functions: names and text values are 8-bit in the
// ANSI code page, which is how the add-in has always stored its settings; the texts that may hold
// any character go through the UTF-16 functions. A 32-bit process sees
// the 32-bit view of HKEY_LOCAL_MACHINE\SOFTWARE, as the host does.
#include "framework/registry_win.h"

#include <climits>
#include <cstring>
#include <new>

#include "framework/com_owners_win.h"

static_assert(kRegText == REG_SZ && kRegBinary == REG_BINARY && kRegDword == REG_DWORD,
              "the port's value types carry the Windows numbers");

namespace {

HRESULT OpenBelow(HKEY parent, const std::string& name, RegistryAccess access, REGSAM view,
                  std::unique_ptr<RegistryKey>* key);

class WindowsRegistryKey : public RegistryKey {
 public:
  WindowsRegistryKey(UniqueHkey key, REGSAM view) : key_(std::move(key)), view_(view) {}

  HRESULT OpenSubKey(const std::string& name, RegistryAccess access, std::unique_ptr<RegistryKey>* key) override {
    return OpenBelow(key_.get(), name, access, view_, key);
  }

  HRESULT QueryValue(const std::string& name, size_t maxBytes, std::string* data, uint32_t* type) override {
    RETURN_HR_IF_NULL(E_POINTER, data);
    try {
      // The buffer is never empty: without a buffer RegQueryValueEx only reports the size.
      std::string buffer(maxBytes > 0 ? maxBytes : 1, '\0');
      DWORD size = maxBytes > ULONG_MAX ? ULONG_MAX : static_cast<DWORD>(maxBytes);
      DWORD valueType = REG_NONE;
      const LSTATUS status =
          RegQueryValueExA(key_.get(), name.c_str(), nullptr, &valueType, reinterpret_cast<BYTE*>(&buffer[0]), &size);
      // A missing value is an answer for the caller to weigh, not a failure to trace.
      if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
      if (type != nullptr) *type = valueType;
      buffer.resize(size);
      *data = std::move(buffer);
      return S_OK;
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
  }

  HRESULT QueryUtf16Text(const std::string& name, size_t maxBytes, std::u16string* text, uint32_t* type) override {
    RETURN_HR_IF_NULL(E_POINTER, text);
    try {
      const std::wstring wideName(name.begin(), name.end());  // the add-in's value names are ASCII
      std::u16string buffer(maxBytes / sizeof(char16_t) + 1, u'\0');
      DWORD size = maxBytes > ULONG_MAX ? ULONG_MAX : static_cast<DWORD>(maxBytes);
      DWORD valueType = REG_NONE;
      const LSTATUS status = RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, &valueType,
                                              reinterpret_cast<BYTE*>(&buffer[0]), &size);
      // A missing value is an answer for the caller to weigh, not a failure to trace.
      if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
      if (type != nullptr) *type = valueType;
      buffer.resize(size / sizeof(char16_t));
      const size_t end = buffer.find(u'\0');
      if (end != std::u16string::npos) buffer.resize(end);
      *text = std::move(buffer);
      return S_OK;
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
  }

  HRESULT SetUtf16Text(const std::string& name, const std::u16string& text) override {
    RETURN_HR_IF(E_INVALIDARG, text.size() >= ULONG_MAX / sizeof(char16_t) - 1);
    try {
      const std::wstring wideName(name.begin(), name.end());
      return HRESULT_FROM_WIN32(RegSetValueExW(key_.get(), wideName.c_str(), 0, REG_SZ,
                                               reinterpret_cast<const BYTE*>(text.c_str()),
                                               static_cast<DWORD>((text.size() + 1) * sizeof(char16_t))));
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
  }

  HRESULT SetText(const std::string& name, const std::string& text) override {
    RETURN_HR_IF(E_INVALIDARG, text.size() >= ULONG_MAX);
    return HRESULT_FROM_WIN32(RegSetValueExA(key_.get(), name.c_str(), 0, REG_SZ,
                                             reinterpret_cast<const BYTE*>(text.c_str()),
                                             static_cast<DWORD>(text.size() + 1)));
  }

 private:
  UniqueHkey key_;
  REGSAM view_;  // the registry view its subkeys are opened in
};

HRESULT OpenBelow(HKEY parent, const std::string& name, RegistryAccess access, REGSAM view,
                  std::unique_ptr<RegistryKey>* key) {
  RETURN_HR_IF_NULL(E_POINTER, key);
  key->reset();
  UniqueHkey opened;
  const LSTATUS status = access == RegistryAccess::ReadWrite
                             ? RegCreateKeyExA(parent, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                               KEY_READ | KEY_WRITE | view, nullptr, opened.put(), nullptr)
                             : RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ | view, opened.put());
  // A key that is not there (a user who never set an option) is no failure; others are traced.
  RETURN_IF_FAILED_UNLESS(HRESULT_FROM_WIN32(status), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  key->reset(new (std::nothrow) WindowsRegistryKey(std::move(opened), view));
  RETURN_HR_IF_NULL(E_OUTOFMEMORY, key->get());
  return S_OK;
}

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RegistryRoot::CurrentUser:
      return HKEY_CURRENT_USER;
    case RegistryRoot::ClassesRoot:
      return HKEY_CLASSES_ROOT;
  }
  return nullptr;
}

}  // namespace

HRESULT WindowsRegistry::OpenKey(RegistryRoot root, const std::string& path, RegistryAccess access,
                                 std::unique_ptr<RegistryKey>* key) {
  RETURN_HR_IF_NULL(E_POINTER, key);
  key->reset();
  const HKEY rootKey = RootKey(root);
  RETURN_HR_IF_NULL(E_INVALIDARG, rootKey);
  // Group Policy writes one policies key for both kinds of program: a 32-bit add-in on 64-bit
  // Windows reads it in the 64-bit view (32-bit Windows ignores the flag).
  const bool policies = path.size() >= 17 && _strnicmp(path.c_str(), "SOFTWARE\\Policies", 17) == 0 &&
                        (path.size() == 17 || path[17] == '\\');
  return OpenBelow(rootKey, path, access, policies ? KEY_WOW64_64KEY : 0, key);
}
