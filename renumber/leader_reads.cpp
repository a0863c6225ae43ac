// Reading leader tips and leader labels from the host. A tip that cannot be read is no failure:
// that leader only comes last in a position order. The labels for "continue" are read like any
// other operation's: the first host failure ends it.
#include "renumber/leader_reads.h"

#include <string>

#include "framework/utf8.h"
#include "host/host_names.h"

namespace {

// The leader's vertex child holds its vertices; the first is the arrow's tip.
constexpr int32_t kVertexChild = 2;

bool ReadTip(HostGraphicList& graphics, int32_t graphicId, LeaderTip* tip) {
  HostRef<HostGraphic> leader, vertexChild;
  HostRef<HostGraphicList> children;
  HostRef<HostVertexList> vertices;
  HostRef<HostVertex> vertex;
  double x = 0.0, y = 0.0;
  if (FAILED(graphics.FindById(graphicId, &leader)) || !leader) return false;
  if (FAILED(leader->ReadChildGraphics(&children)) || !children) return false;
  if (FAILED(children->PickItem(kVertexChild, &vertexChild)) || !vertexChild) return false;
  if (FAILED(vertexChild->ReadVertexList(&vertices)) || !vertices) return false;
  if (FAILED(vertices->PickVertex(0, &vertex)) || !vertex) return false;
  if (FAILED(vertex->ReadX(&x)) || FAILED(vertex->ReadY(&y))) return false;
  *tip = LeaderTip{true, x, y};
  return true;
}

HRESULT ReadLeaderText(HostGraphic& graphic, const std::function<HRESULT(HRESULT)>& step, HostValue* value) {
  HostRef<HostPropertyList> properties;
  RETURN_IF_FAILED(step(graphic.ReadPropertyList(&properties)));
  RETURN_HR_IF_NULL(E_POINTER, properties);
  HostRef<HostProperty> info;
  RETURN_IF_FAILED(step(properties->PickProperty(HostPropertyKey{kInfoPropertyName, -1}, &info)));
  RETURN_HR_IF_NULL(E_POINTER, info);
  return step(info->GetPropertyValue(0, value));
}

}  // namespace

void ReadLeaderTips(HostDrawing& drawing, const std::vector<RenumberItem>& items,
                    const std::function<bool()>& stillHeld, std::vector<LeaderTip>* tips) {
  tips->assign(items.size(), LeaderTip{});
  const auto held = [&stillHeld] { return !stillHeld || stillHeld(); };
  HostRef<HostGraphicList> graphics;
  if (FAILED(drawing.ReadGraphicList(&graphics)) || !graphics) return;
  for (size_t i = 0; i < items.size() && held(); ++i) {
    if (!items[i].isLeader) continue;
    // A host that let go during this leader's calls gave nothing that may be used.
    if (!ReadTip(*graphics, items[i].graphicId, &(*tips)[i]) || !held()) (*tips)[i] = LeaderTip{};
  }
}

HRESULT ReadHighestLabel(HostDrawing& drawing, const std::function<HRESULT(HRESULT)>& step, HighestLabel* highest) {
  RETURN_HR_IF_NULL(E_POINTER, highest);
  HostRef<HostGraphicList> graphics;
  RETURN_IF_FAILED(step(drawing.ReadGraphicList(&graphics)));
  RETURN_HR_IF_NULL(E_POINTER, graphics);
  int32_t count = 0;
  RETURN_IF_FAILED(step(graphics->CountItems(&count)));
  std::u16string type;
  for (int32_t i = 0; i < count; ++i) {
    HostRef<HostGraphic> graphic;
    RETURN_IF_FAILED(step(graphics->PickItem(i, &graphic)));
    RETURN_HR_IF_NULL(E_POINTER, graphic);
    RETURN_IF_FAILED(step(graphic->ReadTypeName(&type)));
    if (type != kLeaderTypeName) continue;
    HostValue value;
    RETURN_IF_FAILED(ReadLeaderText(*graphic, step, &value));
    if (value.kind == HostValue::Kind::Text) highest->Add(Utf16ToUtf8(value.text));
  }
  return S_OK;
}
