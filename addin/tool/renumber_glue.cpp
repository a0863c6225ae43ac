// The glue between the tool object's stored options and the Renumber operation's plain values.
#include "addin/tool/renumber_glue.h"

HRESULT RunRenumberTool(StoredOptions& options, int32_t& runningNumber, HostApp& app, DialogRunner& runner,
                        const CodePage& codePage, const HostStillHeld& hostStillHeld) {
  const RenumberSettings stored{options.TLDefRenObjects,   options.TLDefRenFixOrder, options.TLDefRenReset,
                                NumberLabelStyle(options), NumberStep(options),      options.TLDefRenOrder,
                                options.TLDefRenTolerance};
  RenumberChanges changes;
  const HRESULT hr = RenumberSelection(app, stored, runner, codePage, hostStillHeld, &changes);
  // Only what changed is copied back: a call that arrived during the dialog may have moved the
  // running number meanwhile.
  if (changes.settings) {
    options.TLDefRenObjects = changes.settings->objects;
    options.TLDefRenFixOrder = changes.settings->fixOrder;
    options.TLDefRenReset = changes.settings->resetRunning;
    options.TLDefRenOrder = changes.settings->order;
    options.TLDefRenTolerance = changes.settings->tolerance;
  }
  if (changes.runningNumber) runningNumber = *changes.runningNumber;
  if (changes.numberFormat) options.TLDefFormat = *changes.numberFormat;
  return hr;
}
