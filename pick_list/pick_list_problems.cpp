// The problems of the shared picklist and their words. Codes are sorted by what the user can do
// about them: wait for another program, ask for rights, make room, or bring the folder back.
#include "pick_list/pick_list_problems.h"

#include "framework/files.h"

namespace {

constexpr uint32_t kErrorHandleDiskFull = 39;  // ERROR_HANDLE_DISK_FULL
constexpr uint32_t kErrorBadNetPath = 53;      // ERROR_BAD_NETPATH
constexpr uint32_t kErrorBadNetName = 67;      // ERROR_BAD_NET_NAME
constexpr uint32_t kErrorNotReady = 21;        // ERROR_NOT_READY: a drive without its disk

bool IsCode(HRESULT hr, uint32_t error) {
  return hr == HRESULT_FROM_WIN32(error);
}

bool IsDiskFull(HRESULT hr) {
  return IsCode(hr, kErrorDiskFull) || IsCode(hr, kErrorHandleDiskFull);
}

bool IsAway(HRESULT hr) {
  return IsCode(hr, ERROR_PATH_NOT_FOUND) || IsCode(hr, kErrorBadNetPath) || IsCode(hr, kErrorBadNetName) ||
         IsCode(hr, kErrorNotReady);
}

}  // namespace

PickListProblem LockProblem(HRESULT hr) {
  if (IsCode(hr, ERROR_SHARING_VIOLATION)) return PickListProblem::LockHeld;
  return WriteProblem(hr);
}

PickListProblem ReadProblem(HRESULT hr) {
  return IsAway(hr) ? PickListProblem::Unreachable : PickListProblem::Unreadable;
}

PickListProblem WriteProblem(HRESULT hr) {
  if (IsDiskFull(hr)) return PickListProblem::DiskFull;
  if (IsAway(hr)) return PickListProblem::Unreachable;
  // Access denied, and whatever else keeps a file from being made there.
  return PickListProblem::Unwritable;
}

std::string PickListProblemMessage(PickListProblem problem, std::string_view folder) {
  const std::string in = "The shared picklist in " + std::string(folder);
  switch (problem) {
    case PickListProblem::None:
      return {};
    case PickListProblem::LockHeld:
      return in + " is locked by another program. Your change is kept and will be saved when the list is free.";
    case PickListProblem::Unreadable:
      return in + " cannot be read. Your change is kept and will be merged with the list when it can be read.";
    case PickListProblem::Unwritable:
      return in +
             " cannot be changed: you have no right to write in that folder. Your change is kept and will be "
             "saved when the folder can be written; if TurboCAD closes first, it is kept in a file of its own.";
    case PickListProblem::DiskFull:
      return in +
             " cannot be saved: the disk is full. Your change is kept and will be saved when there is room; "
             "if TurboCAD closes first, it is kept in a file of its own.";
    case PickListProblem::Unreachable:
      return in +
             " cannot be reached. Your change is kept and will be saved when the folder is back; if TurboCAD "
             "closes first, it is kept in a file of its own.";
  }
  return {};
}

const char* FileFailureCause(HRESULT hr) {
  if (IsCode(hr, ERROR_SHARING_VIOLATION)) return "held by another program";
  if (IsCode(hr, ERROR_ACCESS_DENIED)) return "access denied";
  if (IsDiskFull(hr)) return "the disk is full";
  if (IsAway(hr)) return "the folder cannot be reached";
  if (IsCode(hr, ERROR_FILE_NOT_FOUND)) return "no such file";
  if (hr == E_OUTOFMEMORY) return "out of memory";
  return "the system gave no reason";
}
