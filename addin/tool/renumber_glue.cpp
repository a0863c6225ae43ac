// The glue between the tool object's stored options and the Renumber operation's plain values.
#include "addin/tool/renumber_glue.h"

#include <iterator>
#include <utility>
#include <vector>

#include "addin/tool/callout_files.h"
#include "renumber/renumber_dialog.h"

namespace {

// The Renumber dialog's controls for each option it shows.
struct OptionControls {
  const char* option;
  std::vector<int> controls;
};
const OptionControls kRenumberOptionControls[] = {
    {"TLDefRenObjects", {std::begin(kRenumberObjectButtons), std::end(kRenumberObjectButtons)}},
    {"TLDefRenFixOrder", {kRenumberFixOrder}},
    {"TLDefRenReset", {kRenumberReset}},
    {"TLDefRenOrder", {std::begin(kRenumberOrderButtons), std::end(kRenumberOrderButtons)}},
    {"TLDefRenTolerance", {kRenumberTolerance}},
};

template <typename T>
void TakeBack(const StoredOptions& options, const char* name, T& member, T value) {
  if (options.Enforced.count(name) == 0) member = std::move(value);
}

}  // namespace

HRESULT RunRenumberTool(StoredOptions& options, int32_t& runningNumber, HostApp& app, DialogRunner& runner,
                        const CodePage& codePage, const HostStillHeld& hostStillHeld, FileSystem* files) {
  RenumberOptions stored{options.TLDefRenObjects,   options.TLDefRenFixOrder, options.TLDefRenReset,
                         NumberLabelStyle(options), NumberStep(options),      options.TLDefRenOrder,
                         options.TLDefRenTolerance};
  for (const OptionControls& entry : kRenumberOptionControls) {
    if (options.Enforced.count(entry.option) == 0) continue;
    stored.lockedControls.insert(stored.lockedControls.end(), entry.controls.begin(), entry.controls.end());
  }
  if (files != nullptr) {
    if (!options.TLPartsList.empty()) {
      stored.partsFormat = options.TLDefFormat < 0 ? Arabic : options.TLDefFormat;
      stored.partsList =
          LoadPartsList(*files, codePage, options.TLPartsList, stored.partsFormat, stored.style, &stored.partsProblem);
    }
    stored.exportTable = [files, &codePage, &runner](const std::string& table) {
      SaveCalloutTable(*files, codePage, runner, table);
    };
    stored.tableSeparator = runner.ListSeparator();
  }
  RenumberChanges changes;
  const HRESULT hr = RenumberSelection(app, stored, runner, codePage, hostStillHeld, &changes);
  // Only what changed is copied back: a call that arrived during the dialog may have moved the
  // running number meanwhile. Options an administrator enforces stay as the policy sets them.
  if (changes.settings) {
    TakeBack(options, "TLDefRenObjects", options.TLDefRenObjects, changes.settings->objects);
    TakeBack(options, "TLDefRenFixOrder", options.TLDefRenFixOrder, changes.settings->fixOrder);
    TakeBack(options, "TLDefRenReset", options.TLDefRenReset, changes.settings->resetRunning);
    TakeBack(options, "TLDefRenOrder", options.TLDefRenOrder, changes.settings->order);
    TakeBack(options, "TLDefRenTolerance", options.TLDefRenTolerance, changes.settings->tolerance);
  }
  if (changes.runningNumber) runningNumber = *changes.runningNumber;
  if (changes.numberFormat) TakeBack(options, "TLDefFormat", options.TLDefFormat, *changes.numberFormat);
  return hr;
}
