// Where the DLL's failure trace goes: each line to the debugger (OutputDebugStringW) and to the
// end of a log file in the user's temporary folder, which never grows past kTraceLogLimit.
#pragma once

#include <string>

#include "framework/failure_trace.h"

constexpr wchar_t kTraceLogName[] = L"Tallyline-trace.log";

// %TEMP%\Tallyline-trace.log; empty when the temporary folder is not known.
std::wstring TraceLogPath();

// Reads the switch under `keyPath` (the user's key first, then the machine's) and starts the
// trace at its level, or stops it. Never fails: a switch that cannot be read is off.
void StartFailureTraceFromRegistry(const std::string& keyPath) noexcept;
