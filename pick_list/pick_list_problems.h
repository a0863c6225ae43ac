// What can keep a change the user confirmed out of the shared picklist file, and the words that
// tell the user and the failure trace of it. A change that meets one of these is kept: in memory
// until a later save gets through, and beside the list (or in the user's own folder) when the
// host closes first.
#pragma once

#include <string>
#include <string_view>

#include "framework/status.h"

enum class PickListProblem {
  None,
  LockHeld,     // another program's save holds the lock past the wait
  Unreadable,   // the list is there but cannot be read (held, denied, a folder of that name)
  Unwritable,   // the folder takes no file from this user
  DiskFull,     // the disk of the data folder is full
  Unreachable,  // the data folder is not there (a share or drive that is away)
};
inline constexpr int kPickListProblemKinds = 6;

// The problem a failed lock, read or write of the data folder stands for.
PickListProblem LockProblem(HRESULT hr);
PickListProblem ReadProblem(HRESULT hr);
PickListProblem WriteProblem(HRESULT hr);

// The message box text for the user, in the ANSI code page like `folder` (the data folder as the
// user knows it): what went wrong and what becomes of the change.
std::string PickListProblemMessage(PickListProblem problem, std::string_view folder);
inline constexpr char kPickListProblemCaption[] = "Tallyline";

// What `hr` of a file call means for the user's data, in a few words for the trace.
const char* FileFailureCause(HRESULT hr);
