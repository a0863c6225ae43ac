// Status codes with their Windows names and values on both builds, so that the core reads like
// the rest of the add-in, and the macros that keep each operation a flat list of steps.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdint>

typedef int32_t HRESULT;

#define SUCCEEDED(hr) (static_cast<HRESULT>(hr) >= 0)
#define FAILED(hr) (static_cast<HRESULT>(hr) < 0)

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFF);
constexpr HRESULT E_ACCESSDENIED = static_cast<HRESULT>(0x80070005);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);

constexpr uint32_t ERROR_FILE_NOT_FOUND = 2;
constexpr uint32_t ERROR_PATH_NOT_FOUND = 3;
constexpr uint32_t ERROR_ACCESS_DENIED = 5;
constexpr uint32_t ERROR_WRITE_FAULT = 29;
constexpr uint32_t ERROR_READ_FAULT = 30;
constexpr uint32_t ERROR_SHARING_VIOLATION = 32;
constexpr uint32_t ERROR_FILE_TOO_LARGE = 223;
constexpr uint32_t ERROR_MORE_DATA = 234;

constexpr HRESULT HRESULT_FROM_WIN32(uint32_t error) {
  return static_cast<HRESULT>(error) <= 0 ? static_cast<HRESULT>(error)
                                          : static_cast<HRESULT>((error & 0x0000FFFFu) | 0x80070000u);
}
#endif

// Failure tracing (framework/failure_trace.h), off unless its switch is set: each failure that
// ends an operation is then reported with its file, line and code. Off, a failure in hand costs
// the test of this flag.
extern bool gFailureTraceOn;
inline bool FailureTraceOn() noexcept {
  return gFailureTraceOn;
}
void TraceFailureStep(const char* file, int line, HRESULT hr) noexcept;
#define TL_TRACE_FAILURE(hr) (FailureTraceOn() ? TraceFailureStep(__FILE__, __LINE__, (hr)) : static_cast<void>(0))

// Ends the operation in hand with the code of a failed step.
#define RETURN_IF_FAILED(expr)    \
  do {                            \
    const HRESULT tlHr_ = (expr); \
    if (FAILED(tlHr_)) {          \
      TL_TRACE_FAILURE(tlHr_);    \
      return tlHr_;               \
    }                             \
  } while (0)

// The same, but a failure that is an answer the caller weighs (a key or value that is not there)
// is passed on without a trace line.
#define RETURN_IF_FAILED_UNLESS(expr, answer)         \
  do {                                                \
    const HRESULT tlHr_ = (expr);                     \
    if (FAILED(tlHr_)) {                              \
      if (tlHr_ != (answer)) TL_TRACE_FAILURE(tlHr_); \
      return tlHr_;                                   \
    }                                                 \
  } while (0)

// Ends the operation with `hr` when a pointer that must be there is not.
#define RETURN_HR_IF_NULL(hr, ptr) \
  do {                             \
    if ((ptr) == nullptr) {        \
      TL_TRACE_FAILURE(hr);        \
      return (hr);                 \
    }                              \
  } while (0)

#define RETURN_HR_IF(hr, condition) \
  do {                              \
    if (condition) {                \
      TL_TRACE_FAILURE(hr);         \
      return (hr);                  \
    }                               \
  } while (0)
