// The Renumber tool's operation: read the selected leaders, ask the user in the Renumber dialog
// and write the new labels into the leaders under one undo record. It works over the host port,
// the dialog port and plain values; the tool object's glue copies its members in and out.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/code_page.h"
#include "framework/dialog.h"
#include "host/host_port.h"
#include "parts_list/parts_list.h"
#include "renumber/renumber_order.h"
#include "labels/label_format.h"

// The stored choices of the Renumber dialog.
struct RenumberOptions {
  int32_t objects = 1;
  bool fixOrder = true;
  bool resetRunning = false;
  // How the Number tool dresses its labels: the leaders are read and labelled the same way.
  LabelStyle style;
  int32_t step = 1;
  int32_t order = OrderByLabels;                      // the order of consecutive numbers
  std::string tolerance = kDefaultRenumberTolerance;  // of rows and columns, as typed
  std::vector<int> lockedControls;                    // the dialog's controls an administrator enforces
  // The parts list the report checks the callouts against (labels of partsFormat), or why it could
  // not be read; and what keeps the exported callout table, with its fields' separator.
  std::optional<PartsList> partsList;
  int32_t partsFormat = Arabic;
  std::string partsProblem;
  std::function<void(const std::string& table)> exportTable;
  char tableSeparator = ',';
};

// What the operation changes outside the drawing; each is set only when it changes.
struct RenumberChanges {
  std::optional<RenumberOptions> settings;  // confirmed with OK
  std::optional<int32_t> runningNumber;     // the Number tool goes on past the new sequence ...
  std::optional<int32_t> numberFormat;      // ... in the chosen format
};

// The no-leaders message and the caption of the message box and the undo record.
inline constexpr char kRenumberCaption[] = "Tallyline - Renumber";
inline constexpr char kNoLeadersMessage[] =
    "No Leaders were found in the Selection. Operation Cancelled.\n\nTo use Renumber, make sure there are one or "
    "more Leaders in the current Selection";
inline constexpr char16_t kRenumberUndoCaption[] = u"TL Renumber";

// Whether the host still holds the add-in: asked after every host call and after the dialog. A host
// that let go of the add-in (a Terminate inside a call or while the dialog was open) is asked for
// nothing more, the close of an undo record the operation opened aside, and no dialog opens.
using HostStillHeld = std::function<bool()>;

// Gives S_OK for every outcome without a host failure (no drawing, an empty selection, no
// leaders, Cancel, OK) and otherwise the code of the first host call that failed (E_POINTER for
// an object the host did not give). A failure while writing ends at that leader; the undo record
// is closed all the same, so that the labels written so far are undone in one step. A host that
// let go ends it the same way with E_FAIL, unless it let go inside the last call, the view's
// refresh, when everything was done. Options confirmed with OK are handed back in any case.
HRESULT RenumberSelection(HostApp& app, const RenumberOptions& stored, DialogRunner& runner, const CodePage& codePage,
                          const HostStillHeld& hostStillHeld, RenumberChanges* changes);
