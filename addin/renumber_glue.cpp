// The glue between the tool object's members and the Renumber operation's plain values.
#include "addin/renumber_glue.h"

HRESULT RunRenumberTool(ToolMembers& members, HostApp& app, DialogRunner& runner, const CodePage& codePage,
                        const HostStillHeld& hostStillHeld) {
  const RenumberSettings stored{members.TLDefRenObjects, members.TLDefRenFixOrder, members.TLDefRenReset,
                                NumberLabelStyle(members), NumberStep(members)};
  RenumberChanges changes;
  const HRESULT hr = RenumberSelection(app, stored, runner, codePage, hostStillHeld, &changes);
  // Only what changed is copied back: a call that arrived during the dialog may have moved the
  // running number meanwhile.
  if (changes.settings) {
    members.TLDefRenObjects = changes.settings->objects;
    members.TLDefRenFixOrder = changes.settings->fixOrder;
    members.TLDefRenReset = changes.settings->resetRunning;
  }
  if (changes.runningNumber) members.RunningNumber = *changes.runningNumber;
  if (changes.numberFormat) members.TLDefFormat = *changes.numberFormat;
  return hr;
}
