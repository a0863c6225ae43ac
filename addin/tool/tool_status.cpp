// The host's polls of the tool buttons. A poll is also the heartbeat of a running placement: the
// progress check it calls lives with the placement, in leader_placement.cpp.
#include "addin/tool/tool_object.h"
#include "addin/tool/tool_table.h"
#include "framework/decimal_text.h"
#include "host/host_names.h"

namespace {

constexpr double kFirstSupportedVersion = 8.2;
constexpr double kFirstRenumberVersion = 9.0;

}  // namespace

double ToolObject::HostVersionNumber() const {
  return ReadLeadingDecimal(host_.HostVersion.substr(0, 3));
}

HRESULT ToolObject::UpdateToolStatus(HostTool* thisTool, ToolStatus* status) {
  EntryScope entry(*this);
  RETURN_HR_IF(E_POINTER, status == nullptr);
  const double version = HostVersionNumber();
  if (version < kFirstSupportedVersion) {  // also when the version could not be read
    status->enabled = false;
    status->checked = false;
    return S_OK;
  }
  RETURN_HR_IF_NULL(E_POINTER, thisTool);
  int32_t tool = -1;
  RETURN_IF_FAILED(Step(thisTool->ReadToolIndex(&tool)));
  RETURN_HR_IF_NULL(E_POINTER, host_.App);
  HostRef<HostDrawing> drawing;  // there may be none
  const HRESULT hr = host_.App->ReadActiveDrawing(&drawing);
  RETURN_IF_FAILED(Step(hr));

  switch (tool) {
    case NumberTool:
    case PicklistTool:
      status->enabled = drawing != nullptr;
      status->checked = placement_.ActiveTool == tool;
      status->result = true;
      if (drawing && placement_.ActiveTool == tool) return CheckPlacementProgress(tool, *drawing);
      return hr;
    case ObjectTool: {
      status->checked = placement_.ActiveTool == ObjectTool;
      status->result = true;
      status->enabled = false;
      if (!drawing) return hr;
      HostRef<HostGraphicList> graphics;
      RETURN_IF_FAILED(Step(drawing->ReadGraphicList(&graphics)));
      RETURN_HR_IF_NULL(E_POINTER, graphics);
      int32_t count = 0;
      const HRESULT counted = graphics->CountItems(&count);
      RETURN_IF_FAILED(Step(counted));
      status->enabled = count != 0;
      // The progress check calls the host only while an object's leader is being placed.
      if (placement_.ActiveTool != ObjectTool || placement_.PlacementState != Placing) return counted;
      return CheckPlacementProgress(ObjectTool, *drawing);
    }
    case RenumberTool: {
      status->enabled = false;
      status->checked = false;
      if (version < kFirstRenumberVersion || !drawing) return hr;
      HostRef<HostSelection> selection;
      RETURN_IF_FAILED(Step(drawing->ReadSelection(&selection)));
      RETURN_HR_IF_NULL(E_POINTER, selection);
      int32_t count = 0;
      RETURN_IF_FAILED(Step(selection->CountItems(&count)));
      for (int32_t i = 0; i < count; ++i) {  // enabled when the selection holds a leader
        HostRef<HostGraphic> graphic;
        RETURN_IF_FAILED(Step(selection->PickItem(i, &graphic)));
        RETURN_HR_IF_NULL(E_POINTER, graphic);
        std::u16string type;
        RETURN_IF_FAILED(Step(graphic->ReadTypeName(&type)));
        if (type == kLeaderTypeName) {
          status->enabled = true;
          break;
        }
      }
      return hr;
    }
    case OptionsTool:
      status->enabled = true;
      status->checked = false;
      return hr;
    default:
      return hr;
  }
}
