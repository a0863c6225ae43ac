// The registry port: the few registry operations the add-in's settings need, in the shape and
// with the status codes of advapi32, so that the settings logic runs unchanged against the
// in-memory tree of the tests and against the real registry.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/status.h"

enum class RegistryRoot { LocalMachine, CurrentUser, ClassesRoot };

enum class RegistryAccess {
  ReadWrite,  // open the key, or create it (non-volatile) when it is missing
  ReadOnly,   // open an existing key only
};

// The value types the port reports, with their Windows numbers (REG_SZ, REG_EXPAND_SZ, REG_BINARY,
// REG_DWORD).
constexpr uint32_t kRegText = 1;
constexpr uint32_t kRegExpandText = 2;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;

// The number a REG_DWORD value's four bytes hold (little-endian, as the registry keeps it).
inline uint32_t DwordValue(const std::string& bytes) {
  uint32_t value = 0;
  for (size_t i = bytes.size() < 4 ? bytes.size() : 4; i-- > 0;)
    value = (value << 8) | static_cast<unsigned char>(bytes[i]);
  return value;
}

// What a key path that starts with a backslash gives; status.h leaves it out.
constexpr uint32_t kErrorBadPathname = 161;  // ERROR_BAD_PATHNAME

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;

  // Opens `name` (a backslash-separated path below this key) with `access`. *key is set to null
  // first; a missing key opened ReadOnly fails with HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND).
  virtual HRESULT OpenSubKey(const std::string& name, RegistryAccess access, std::unique_ptr<RegistryKey>* key) = 0;

  // The raw bytes of value `name`, whatever its type (text values with their terminating NUL,
  // as stored). A value longer than maxBytes fails with HRESULT_FROM_WIN32(ERROR_MORE_DATA), a
  // missing one with HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND); *data is left alone on failure.
  // `type`, when given, receives the value's type (kRegText, kRegDword ...).
  virtual HRESULT QueryValue(const std::string& name, size_t maxBytes, std::string* data, uint32_t* type = nullptr) = 0;

  // Writes `text` as a REG_SZ value of 8-bit characters; the stored data ends with the NUL.
  virtual HRESULT SetText(const std::string& name, const std::string& text) = 0;

  // A text value in UTF-16, as the registry keeps it: any character, whatever the ANSI code page
  // holds. Reads the value's characters up to the first NUL (a value of another type as its raw
  // bytes, two to a character); a value longer than maxBytes fails as QueryValue does.
  virtual HRESULT QueryUtf16Text(const std::string& name, size_t maxBytes, std::u16string* text,
                                 uint32_t* type = nullptr) = 0;
  // Writes `text` as a REG_SZ value of UTF-16 characters, ending with the NUL.
  virtual HRESULT SetUtf16Text(const std::string& name, const std::u16string& text) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;

  // Opens `path` (such as "SOFTWARE\\Varnkit") below `root`, as RegistryKey::OpenSubKey does. The
  // policies below "SOFTWARE\\Policies" are one key for 32-bit and 64-bit programs, as Windows
  // keeps them; every other key is that of the program's own view.
  virtual HRESULT OpenKey(RegistryRoot root, const std::string& path, RegistryAccess access,
                          std::unique_ptr<RegistryKey>* key) = 0;
};
