// Reading the selection, the dialog and the writing of the Renumber tool. Each host call is one
// step; the first that fails ends the operation with its code, and so does a host that let go of
// the add-in during a step (a Terminate inside the call): then nothing more is asked of the host
// but the close of the undo record the operation opened. The cost is a fixed number of host calls
// per selected graphic, in reading and in writing alike.
#include "renumber/renumber_selection.h"

#include <algorithm>
#include <string>
#include <vector>

#include "framework/com_try.h"
#include "framework/utf8.h"
#include "host/host_names.h"
#include "renumber/leader_reads.h"
#include "renumber/renumber_dialog.h"

namespace {

// The status of one host call as a step of the operation: its failure, or E_FAIL when the host
// let go of the add-in during the call, else its success code.
class Steps {
 public:
  explicit Steps(const HostStillHeld& hostStillHeld) : hostStillHeld_(hostStillHeld) {}
  HRESULT operator()(HRESULT hr) const { return FAILED(hr) || HostHeld() ? hr : E_FAIL; }
  bool HostHeld() const { return !hostStillHeld_ || hostStillHeld_(); }

 private:
  const HostStillHeld& hostStillHeld_;
};

HRESULT PickInfo(HostGraphic& graphic, const Steps& step, HostRef<HostProperty>* info) {
  HostRef<HostPropertyList> properties;
  RETURN_IF_FAILED(step(graphic.ReadPropertyList(&properties)));
  RETURN_HR_IF_NULL(E_POINTER, properties);
  RETURN_IF_FAILED(step(properties->PickProperty(HostPropertyKey{kInfoPropertyName, -1}, info)));
  RETURN_HR_IF_NULL(E_POINTER, *info);
  return S_OK;
}

// One selected graphic: its id, whether it is a leader, and the number its text reads as.
HRESULT ReadItem(HostSelection& selection, int32_t index, const LabelStyle& style, const CodePage& codePage,
                 const Steps& step, RenumberItem* item) {
  HostRef<HostGraphic> graphic;
  RETURN_IF_FAILED(step(selection.PickItem(index, &graphic)));
  RETURN_HR_IF_NULL(E_POINTER, graphic);
  RETURN_IF_FAILED(step(graphic->ReadGraphicId(&item->graphicId)));
  std::u16string type;
  RETURN_IF_FAILED(step(graphic->ReadTypeName(&type)));
  item->isLeader = type == kLeaderTypeName;
  item->format = NoLabel;
  item->number = 0;
  if (!item->isLeader) return S_OK;
  HostRef<HostProperty> info;
  RETURN_IF_FAILED(PickInfo(*graphic, step, &info));
  HostValue value;
  RETURN_IF_FAILED(step(info->GetPropertyValue(0, &value)));
  // A value that is no text reads as the empty text: a leader without a number.
  ReadLeaderLabel(value.kind == HostValue::Kind::Text ? std::u16string_view(value.text) : std::u16string_view(), style,
                  codePage, item);
  return S_OK;
}

// The undo record notes the leader before its text changes.
HRESULT WriteLabel(HostGraphicList& graphics, HostUndoRecord& record, const RenumberItem& item, const Steps& step) {
  HostRef<HostGraphic> graphic;
  RETURN_IF_FAILED(step(graphics.FindById(item.graphicId, &graphic)));
  RETURN_HR_IF_NULL(E_POINTER, graphic);
  RETURN_IF_FAILED(step(record.NoteChangedGraphic(*graphic)));
  HostRef<HostProperty> info;
  RETURN_IF_FAILED(PickInfo(*graphic, step, &info));
  RETURN_IF_FAILED(step(info->SetPropertyValue(0, HostValue::FromText(Utf8ToUtf16(item.newLabel)))));
  return step(graphic->UpdateGraphic());
}

// Every leader that received a label is written, also one whose text does not change.
HRESULT WriteLabels(HostDrawing& drawing, const std::vector<RenumberItem>& items, const Steps& step) {
  HostRef<HostGraphicList> graphics;
  RETURN_IF_FAILED(step(drawing.ReadGraphicList(&graphics)));
  RETURN_HR_IF_NULL(E_POINTER, graphics);
  HostRef<HostUndoRecord> record;
  RETURN_IF_FAILED(drawing.OpenUndoRecord(kRenumberUndoCaption, &record));
  RETURN_HR_IF_NULL(E_POINTER, record);
  // A host that let go while the record opened gets it closed at once, with nothing written.
  if (!step.HostHeld()) {
    record->CloseUndoRecord();
    return E_FAIL;
  }
  for (const RenumberItem& item : items) {
    if (!item.isLeader || item.newLabel.empty()) continue;
    const HRESULT hr = ComTry([&] { return WriteLabel(*graphics, *record, item, step); });
    if (FAILED(hr)) {
      // The labels written so far stay; closed, the record undoes them in one step. The first
      // failure is the answer, whatever the close gives. A host that let go still gets its
      // record closed: the operation opened it.
      record->CloseUndoRecord();
      return hr;
    }
  }
  RETURN_IF_FAILED(step(record->CloseUndoRecord()));
  HostRef<HostView> view;
  RETURN_IF_FAILED(step(drawing.ReadActiveView(&view)));
  RETURN_HR_IF_NULL(E_POINTER, view);
  // The last step: a host that lets go during it has had everything done.
  return view->RefreshView();
}

}  // namespace

HRESULT RenumberSelection(HostApp& app, const RenumberOptions& stored, DialogRunner& runner, const CodePage& codePage,
                          const HostStillHeld& hostStillHeld, RenumberChanges* changes) {
  RETURN_HR_IF_NULL(E_POINTER, changes);
  const Steps step(hostStillHeld);
  HostRef<HostDrawing> drawing;
  const HRESULT readDrawing = app.ReadActiveDrawing(&drawing);
  if (SUCCEEDED(readDrawing) && !drawing) return S_OK;  // nothing to renumber: done
  RETURN_IF_FAILED(step(readDrawing));
  HostRef<HostSelection> selection;
  RETURN_IF_FAILED(step(drawing->ReadSelection(&selection)));
  RETURN_HR_IF_NULL(E_POINTER, selection);
  int32_t count = 0;
  const HRESULT counted = selection->CountItems(&count);
  if (SUCCEEDED(counted) && count <= 0) return S_OK;  // an empty selection: done
  RETURN_IF_FAILED(step(counted));

  // The items grow as they are read: a count the host gets wrong costs memory only for the
  // graphics it really hands out, and a failing first item is that failure, not a vast allocation.
  CRenumberDlg dialog(runner, 0);
  for (int32_t i = 0; i < count; ++i) {
    dialog.Items.emplace_back();
    RETURN_IF_FAILED(ReadItem(*selection, i, stored.style, codePage, step, &dialog.Items.back()));
  }
  selection.reset();
  const auto isLeader = [](const RenumberItem& item) { return item.isLeader; };
  if (std::none_of(dialog.Items.begin(), dialog.Items.end(), isLeader)) {
    runner.ShowMessage(kNoLeadersMessage, kRenumberCaption, kMbOk);
    return S_OK;
  }

  dialog.Objects = stored.objects;
  dialog.FixOrder = stored.fixOrder ? 1 : 0;
  dialog.ResetRunning = stored.resetRunning ? 1 : 0;
  dialog.Style = stored.style;
  dialog.Step = stored.step;
  dialog.Order = stored.order;
  dialog.Tolerance = stored.tolerance;
  dialog.LockedControls = stored.lockedControls;
  dialog.Parts = stored.partsList;
  dialog.PartsFormat = stored.partsFormat;
  dialog.PartsProblem = stored.partsProblem;
  dialog.ExportTable = stored.exportTable;
  dialog.TableSeparator = stored.tableSeparator;
  // Read only when an order needs them, and never from a host that let go.
  dialog.ReadTips = [&](std::vector<LeaderTip>* tips) {
    if (step.HostHeld()) ReadLeaderTips(*drawing, dialog.Items, hostStillHeld, tips);
  };
  runner.RunModal(dialog);  // a dialog that cannot be shown is a Cancel
  if (!dialog.Accepted) return S_OK;
  changes->settings = stored;
  changes->settings->objects = dialog.Objects;
  changes->settings->fixOrder = dialog.FixOrder != 0;
  changes->settings->resetRunning = dialog.ResetRunning != 0;
  changes->settings->order = dialog.Order;
  changes->settings->tolerance = dialog.Tolerance;
  RETURN_HR_IF(E_FAIL, !step.HostHeld());  // let go during the dialog: nothing is written

  RETURN_IF_FAILED(WriteLabels(*drawing, dialog.Items, step));
  if (dialog.ResetRunning != 0) {
    changes->runningNumber = dialog.NextNumber;
    changes->numberFormat = dialog.Format;
  }
  return S_OK;
}
