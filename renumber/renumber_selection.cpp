// Reading the selection, the dialog and the writing of the Renumber tool. Each host call is one
// step; the first that fails ends the operation with its code. The cost is a fixed number of
// host calls per selected graphic, in reading and in writing alike.
#include "renumber/renumber_selection.h"

#include <algorithm>
#include <string>
#include <vector>

#include "framework/com_try.h"
#include "host/host_names.h"
#include "renumber/renumber_dialog.h"

namespace {

HRESULT PickInfo(HostGraphic& graphic, HostRef<HostProperty>* info) {
  HostRef<HostPropertyList> properties;
  RETURN_IF_FAILED(graphic.ReadPropertyList(&properties));
  RETURN_HR_IF_NULL(E_POINTER, properties);
  RETURN_IF_FAILED(properties->PickProperty(HostPropertyKey{kInfoPropertyName, -1}, info));
  RETURN_HR_IF_NULL(E_POINTER, *info);
  return S_OK;
}

// One selected graphic: its id, whether it is a leader, and the number its text reads as.
HRESULT ReadItem(HostSelection& selection, int32_t index, const CodePage& codePage, RenumberItem* item) {
  HostRef<HostGraphic> graphic;
  RETURN_IF_FAILED(selection.PickItem(index, &graphic));
  RETURN_HR_IF_NULL(E_POINTER, graphic);
  RETURN_IF_FAILED(graphic->ReadGraphicId(&item->graphicId));
  std::u16string type;
  RETURN_IF_FAILED(graphic->ReadTypeName(&type));
  item->isLeader = type == kLeaderTypeName;
  item->format = NoLabel;
  item->number = 0;
  if (!item->isLeader) return S_OK;
  HostRef<HostProperty> info;
  RETURN_IF_FAILED(PickInfo(*graphic, &info));
  HostValue value;
  RETURN_IF_FAILED(info->GetPropertyValue(0, &value));
  // A value that is no text reads as the empty text: a leader without a number.
  ReadLeaderLabel(value.kind == HostValue::Kind::Text ? codePage.ToAnsi(value.text) : std::string(), item);
  return S_OK;
}

// The undo record notes the leader before its text changes.
HRESULT WriteLabel(HostGraphicList& graphics, HostUndoRecord& record, const RenumberItem& item,
                   const CodePage& codePage) {
  HostRef<HostGraphic> graphic;
  RETURN_IF_FAILED(graphics.FindById(item.graphicId, &graphic));
  RETURN_HR_IF_NULL(E_POINTER, graphic);
  RETURN_IF_FAILED(record.NoteChangedGraphic(*graphic));
  HostRef<HostProperty> info;
  RETURN_IF_FAILED(PickInfo(*graphic, &info));
  RETURN_IF_FAILED(info->SetPropertyValue(0, HostValue::FromText(codePage.ToWide(item.newLabel))));
  return graphic->UpdateGraphic();
}

// Every leader that received a label is written, also one whose text does not change.
HRESULT WriteLabels(HostDrawing& drawing, const std::vector<RenumberItem>& items, const CodePage& codePage) {
  HostRef<HostGraphicList> graphics;
  RETURN_IF_FAILED(drawing.ReadGraphicList(&graphics));
  RETURN_HR_IF_NULL(E_POINTER, graphics);
  HostRef<HostUndoRecord> record;
  RETURN_IF_FAILED(drawing.OpenUndoRecord(kRenumberUndoCaption, &record));
  RETURN_HR_IF_NULL(E_POINTER, record);
  for (const RenumberItem& item : items) {
    if (!item.isLeader || item.newLabel.empty()) continue;
    const HRESULT hr = ComTry([&] { return WriteLabel(*graphics, *record, item, codePage); });
    if (FAILED(hr)) {
      // The labels written so far stay; closed, the record undoes them in one step. The first
      // failure is the answer, whatever the close gives.
      record->CloseUndoRecord();
      return hr;
    }
  }
  RETURN_IF_FAILED(record->CloseUndoRecord());
  HostRef<HostView> view;
  RETURN_IF_FAILED(drawing.ReadActiveView(&view));
  RETURN_HR_IF_NULL(E_POINTER, view);
  return view->RefreshView();
}

}  // namespace

HRESULT RenumberSelection(HostApp& app, const RenumberSettings& stored, DialogRunner& runner, const CodePage& codePage,
                          const HostStillHeld& hostStillHeld, RenumberChanges* changes) {
  RETURN_HR_IF_NULL(E_POINTER, changes);
  HostRef<HostDrawing> drawing;
  RETURN_IF_FAILED(app.ReadActiveDrawing(&drawing));
  if (!drawing) return S_OK;
  HostRef<HostSelection> selection;
  RETURN_IF_FAILED(drawing->ReadSelection(&selection));
  RETURN_HR_IF_NULL(E_POINTER, selection);
  int32_t count = 0;
  RETURN_IF_FAILED(selection->CountItems(&count));
  if (count <= 0) return S_OK;

  CRenumberDlg dialog(runner, static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    RETURN_IF_FAILED(ReadItem(*selection, i, codePage, &dialog.Items[static_cast<size_t>(i)]));
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
  runner.RunModal(dialog);  // a dialog that cannot be shown is a Cancel
  if (!dialog.Accepted) return S_OK;
  changes->settings = RenumberSettings{dialog.Objects, dialog.FixOrder != 0, dialog.ResetRunning != 0};
  if (hostStillHeld && !hostStillHeld()) return S_OK;

  RETURN_IF_FAILED(WriteLabels(*drawing, dialog.Items, codePage));
  if (dialog.ResetRunning != 0) {
    changes->runningNumber = dialog.NextNumber;
    changes->numberFormat = dialog.Format;
  }
  return S_OK;
}
