// The text of the next leader: the running number's label (Number tool), the pick text
// (Picklist tool) or a text read from the chosen base object (Object tool), written into
// parameter 0 of the host's leader tool.
#include <cmath>
#include <cstdio>
#include <functional>

#include "addin/tool/tool_object.h"
#include "addin/tool/tool_table.h"
#include "framework/utf8.h"
#include "host/host_names.h"
#include "labels/label_format.h"
#include "options/stored_options.h"

namespace {
enum ObjectTextSource : int32_t { BestGuess = 0, LayerName = 1, PathLength = 2 };

// The tool object's Step: a host call's status, or E_FAIL once the host has let go of the add-in.
using StepFn = std::function<HRESULT(HRESULT)>;

HRESULT ReadBestGuess(HostGraphic& object, std::u16string* text, const StepFn& step) {
  std::u16string type;
  RETURN_IF_FAILED(step(object.ReadTypeName(&type)));
  if (type == kBlockTypeName) {
    HostRef<HostBlock> block;
    RETURN_IF_FAILED(step(object.ReadBlock(&block)));
    RETURN_HR_IF_NULL(E_POINTER, block);
    RETURN_IF_FAILED(step(block->ReadBlockName(text)));
  } else {
    HostRef<HostPropertyList> properties;
    RETURN_IF_FAILED(step(object.ReadPropertyList(&properties)));
    RETURN_HR_IF_NULL(E_POINTER, properties);
    HostRef<HostProperty> info;
    RETURN_IF_FAILED(step(properties->PickProperty(HostPropertyKey{kInfoPropertyName, -1}, &info)));
    RETURN_HR_IF_NULL(E_POINTER, info);
    HostValue value;
    RETURN_IF_FAILED(step(info->GetPropertyValue(0, &value)));
    if (value.kind == HostValue::Kind::Text) *text = value.text;
  }
  if (text->empty()) *text = type;
  return S_OK;
}

HRESULT ReadLayerName(HostGraphic& object, std::u16string* text, const StepFn& step) {
  HostRef<HostLayer> layer;
  RETURN_IF_FAILED(step(object.ReadLayer(&layer)));
  RETURN_HR_IF_NULL(E_POINTER, layer);
  return step(layer->ReadLayerName(text));
}

HRESULT ReadVertex(HostVertexList& vertices, int32_t index, double xyz[3], const StepFn& step) {
  HostRef<HostVertex> vertex;
  RETURN_IF_FAILED(step(vertices.PickVertex(index, &vertex)));
  RETURN_HR_IF_NULL(E_POINTER, vertex);
  RETURN_IF_FAILED(step(vertex->ReadX(&xyz[0])));
  RETURN_IF_FAILED(step(vertex->ReadY(&xyz[1])));
  return step(vertex->ReadZ(&xyz[2]));
}

// The length of an open path through the object's vertices, as "L = 12.34".
HRESULT ReadPathLength(HostGraphic& object, std::u16string* text, const StepFn& step) {
  std::u16string type;
  RETURN_IF_FAILED(step(object.ReadTypeName(&type)));
  if (type != kExtrusionTypeName && type != kGraphicTypeName) {
    *text = u"N/A";
    return S_OK;
  }
  HostRef<HostVertexList> vertices;
  RETURN_IF_FAILED(step(object.ReadVertexList(&vertices)));
  RETURN_HR_IF_NULL(E_POINTER, vertices);
  int32_t count = 0;
  RETURN_IF_FAILED(step(vertices->CountItems(&count)));
  if (count < 2) return S_OK;
  double previous[3] = {};
  RETURN_IF_FAILED(ReadVertex(*vertices, 0, previous, step));
  double total = 0;
  for (int32_t i = 1; i < count; ++i) {
    double current[3] = {};
    RETURN_IF_FAILED(ReadVertex(*vertices, i, current, step));
    const double dx = current[0] - previous[0], dy = current[1] - previous[1], dz = current[2] - previous[2];
    total += std::sqrt(dx * dx + dy * dy + dz * dz);
    for (int axis = 0; axis < 3; ++axis) previous[axis] = current[axis];
  }
  char formatted[64];
  std::snprintf(formatted, sizeof(formatted), "L = %.2f", total);
  text->assign(formatted, formatted + std::char_traits<char>::length(formatted));
  return S_OK;
}
}  // namespace

HRESULT ToolObject::UpdateLeaderText(HostGraphic* baseObject, bool* labelFailed) {
  bool failedLabel = false;
  std::optional<std::u16string> text;
  const HRESULT computed = ReadLeaderTextFor(baseObject, &text, &failedLabel);
  if (labelFailed != nullptr) *labelFailed = false;
  HRESULT written = S_OK;
  if (text) {
    placement_.LeaderText = *text;
    written = WriteLeaderText(*text);
    RETURN_IF_FAILED(written);
  }
  if (labelFailed != nullptr) *labelFailed = failedLabel;
  // Nothing written, or a range text written: either way the label's failure goes to the
  // caller. Otherwise the code of the last host call, the write, goes on.
  return FAILED(computed) || !text ? computed : written;
}

HRESULT ToolObject::CheckNumberFormat() const {
  std::string label;
  const HRESULT hr = NumberToLabel(1, NumberFormat(), &label);
  return SUCCEEDED(hr) || !label.empty() ? S_OK : hr;
}

int32_t ToolObject::NumberFormat() const {
  return options_->TLDefFormat < 0 ? Arabic : options_->TLDefFormat;  // a negative format counts as Arabic
}

// Gives the text to write, or none when nothing may be written.
HRESULT ToolObject::ReadLeaderTextFor(HostGraphic* baseObject, std::optional<std::u16string>* text, bool* labelFailed) {
  switch (placement_.ActiveTool) {
    case NumberTool: {
      std::string label;  // UTF-8: the prefix and suffix may hold any character
      const HRESULT hr = NumberToLeaderText(placement_.RunningNumber, NumberFormat(), NumberStyle(), &label);
      *labelFailed = FAILED(hr);
      // Out of range the label is the range text, carried in band; an unknown format gives none.
      if (SUCCEEDED(hr) || !label.empty()) *text = Utf8ToUtf16(label);
      return hr;
    }
    case PicklistTool:
      *text = placement_.CurrentPickText;
      return S_OK;
    case ObjectTool: {
      if (options_->TLDefObjDSource < BestGuess || options_->TLDefObjDSource > PathLength) {
        *text = std::u16string();
        return S_OK;
      }
      RETURN_HR_IF_NULL(E_FAIL, baseObject);  // the text chosen with the object stays
      std::u16string objectText;
      RETURN_IF_FAILED(ReadObjectText(*baseObject, &objectText));
      *text = std::move(objectText);
      return S_OK;
    }
    default:
      *text = std::u16string();
      return S_OK;
  }
}

HRESULT ToolObject::ReadObjectText(HostGraphic& baseObject, std::u16string* text) {
  const StepFn step = [this](HRESULT hr) { return Step(hr); };
  switch (options_->TLDefObjDSource) {
    case BestGuess:
      return ReadBestGuess(baseObject, text, step);
    case LayerName:
      return ReadLayerName(baseObject, text, step);
    default:
      return ReadPathLength(baseObject, text, step);
  }
}

// A host that has let go of the add-in gets no text written.
HRESULT ToolObject::WriteLeaderText(const std::u16string& text) {
  RETURN_HR_IF(E_FAIL, LetGo());
  RETURN_HR_IF_NULL(E_POINTER, host_.LeaderTool);
  HostRef<HostPropertyList> parameters;
  RETURN_IF_FAILED(Step(host_.LeaderTool->ReadParameterList(&parameters)));
  RETURN_HR_IF_NULL(E_POINTER, parameters);
  HostRef<HostProperty> leaderText;  // parameter 0 of the leader tool is the leader text
  RETURN_IF_FAILED(Step(parameters->PickProperty(HostPropertyKey{u"", 0}, &leaderText)));
  RETURN_HR_IF_NULL(E_POINTER, leaderText);
  return leaderText->SetPropertyValue(0, HostValue::FromText(text));
}
