// Owners of the Windows and COM resources the add-in holds, each defined by the function that
// frees it, in the manner of WIL's unique_any (which does not build with MinGW). put() hands out
// the address for an out-parameter after freeing what was held.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <utility>

template <typename T>
constexpr bool IsNonNull(T value) {
  return value != T{};
}

template <typename T, void (*Close)(T), bool (*IsValid)(T) = IsNonNull<T>>
class UniqueAny {
 public:
  UniqueAny() = default;
  explicit UniqueAny(T value) : value_(value) {}
  UniqueAny(UniqueAny&& other) noexcept : value_(other.release()) {}
  UniqueAny& operator=(UniqueAny&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueAny(const UniqueAny&) = delete;
  UniqueAny& operator=(const UniqueAny&) = delete;
  ~UniqueAny() { reset(); }

  T get() const { return value_; }
  T* put() {
    reset();
    return &value_;
  }
  T release() { return std::exchange(value_, T{}); }
  void reset(T value = T{}) {
    const T old = std::exchange(value_, value);
    if (IsValid(old)) Close(old);
  }
  explicit operator bool() const { return IsValid(value_); }

 private:
  T value_{};
};

// The system functions are imported from DLLs, whose addresses are no constants: each owner
// closes through a small inline function of its own.
namespace owners_detail {
inline void FreeBstr(BSTR value) {
  SysFreeString(value);
}
inline void DestroySafeArray(SAFEARRAY* value) {
  SafeArrayDestroy(value);
}
inline void CloseKey(HKEY value) {
  RegCloseKey(value);
}
inline void CloseAnyHandle(HANDLE value) {
  CloseHandle(value);
}
// Some functions report a missing handle as null, CreateFile as INVALID_HANDLE_VALUE.
inline bool IsOpenHandle(HANDLE value) {
  return value != nullptr && value != INVALID_HANDLE_VALUE;
}
}  // namespace owners_detail

using UniqueBstr = UniqueAny<BSTR, owners_detail::FreeBstr>;
using UniqueSafeArray = UniqueAny<SAFEARRAY*, owners_detail::DestroySafeArray>;
using UniqueHkey = UniqueAny<HKEY, owners_detail::CloseKey>;
using UniqueHandle = UniqueAny<HANDLE, owners_detail::CloseAnyHandle, owners_detail::IsOpenHandle>;

// A VARIANT that is cleared when it goes; put() clears the old value first.
class UniqueVariant {
 public:
  UniqueVariant() { VariantInit(&value_); }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  ~UniqueVariant() { VariantClear(&value_); }

  VARIANT* get() { return &value_; }
  const VARIANT* get() const { return &value_; }
  VARIANT* put() {
    reset();
    return &value_;
  }
  // Hands the value to the caller, who must clear it; this owner is left empty.
  VARIANT release() {
    const VARIANT value = value_;
    VariantInit(&value_);
    return value;
  }
  void reset() {
    VariantClear(&value_);
    VariantInit(&value_);
  }

 private:
  VARIANT value_;
};

// Holds a SAFEARRAY's data locked (SafeArrayAccessData) for as long as it lives.
class SafeArrayDataAccess {
 public:
  SafeArrayDataAccess() = default;
  SafeArrayDataAccess(const SafeArrayDataAccess&) = delete;
  SafeArrayDataAccess& operator=(const SafeArrayDataAccess&) = delete;
  ~SafeArrayDataAccess() { Unaccess(); }

  HRESULT Access(SAFEARRAY* array) {
    Unaccess();
    void* data = nullptr;
    const HRESULT hr = SafeArrayAccessData(array, &data);
    if (FAILED(hr)) return hr;
    array_ = array;
    data_ = data;
    return S_OK;
  }
  template <typename T>
  T* Data() const {
    return static_cast<T*>(data_);
  }

 private:
  void Unaccess() {
    if (array_) SafeArrayUnaccessData(array_);
    array_ = nullptr;
    data_ = nullptr;
  }

  SAFEARRAY* array_ = nullptr;
  void* data_ = nullptr;
};
