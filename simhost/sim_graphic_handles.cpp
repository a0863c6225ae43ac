// A graphic of the simulated host and what hangs off it: its "Info" property, its vertices, its
// layer and block. Every operation first checks that the graphic still exists.
#include <memory>

#include "host/host_names.h"
#include "simhost/sim_call.h"
#include "simhost/sim_handles.h"

HRESULT SimGraphicHandle::ReadGraphicId(int32_t* id) {
  return SimCallRun<&HostGraphic::ReadGraphicId>(host_, [&]() -> HRESULT {
    RETURN_HR_IF_NULL(E_POINTER, id);
    RETURN_HR_IF(E_INVALIDARG, host_.Model().Graphic(graphicId_) == nullptr);
    *id = graphicId_;
    return S_OK;
  });
}

HRESULT SimGraphicHandle::ReadTypeName(std::u16string* name) {
  return SimCallRun<&HostGraphic::ReadTypeName>(host_, [&]() -> HRESULT {
    RETURN_HR_IF_NULL(E_POINTER, name);
    const SimGraphicData* graphic = host_.Model().Graphic(graphicId_);
    RETURN_HR_IF(E_INVALIDARG, graphic == nullptr);
    *name = graphic->typeName;
    return S_OK;
  });
}

HRESULT SimGraphicHandle::ReadPropertyList(HostRef<HostPropertyList>* list) {
  return SimCallRunObject<&HostGraphic::ReadPropertyList>(host_, list, [&]() -> HRESULT {
    RETURN_HR_IF(E_INVALIDARG, host_.Model().Graphic(graphicId_) == nullptr);
    *list = std::make_unique<SimGraphicPropertyListHandle>(host_, graphicId_);
    return S_OK;
  });
}

HRESULT SimGraphicHandle::ReadChildGraphics(HostRef<HostGraphicList>* children) {
  return SimCallRunObject<&HostGraphic::ReadChildGraphics>(host_, children, [&]() -> HRESULT {
    const SimGraphicData* graphic = host_.Model().Graphic(graphicId_);
    RETURN_HR_IF(E_INVALIDARG, graphic == nullptr);
    *children = std::make_unique<SimGraphicListHandle>(host_, SimListRef{graphic->drawingId, graphicId_});
    return S_OK;
  });
}

HRESULT SimGraphicHandle::ReadVertexList(HostRef<HostVertexList>* vertices) {
  return SimCallRunObject<&HostGraphic::ReadVertexList>(host_, vertices, [&]() -> HRESULT {
    RETURN_HR_IF(E_INVALIDARG, host_.Model().Graphic(graphicId_) == nullptr);
    *vertices = std::make_unique<SimVertexListHandle>(host_, graphicId_);
    return S_OK;
  });
}

HRESULT SimGraphicHandle::ReadLayer(HostRef<HostLayer>* layer) {
  return SimCallRunObject<&HostGraphic::ReadLayer>(host_, layer, [&]() -> HRESULT {
    const SimGraphicData* graphic = host_.Model().Graphic(graphicId_);
    RETURN_HR_IF(E_INVALIDARG, graphic == nullptr);
    if (graphic->layer) *layer = std::make_unique<SimLayerHandle>(host_, *graphic->layer);
    return S_OK;
  });
}

HRESULT SimGraphicHandle::ReadBlock(HostRef<HostBlock>* block) {
  return SimCallRunObject<&HostGraphic::ReadBlock>(host_, block, [&]() -> HRESULT {
    const SimGraphicData* graphic = host_.Model().Graphic(graphicId_);
    RETURN_HR_IF(E_INVALIDARG, graphic == nullptr);
    if (graphic->block) *block = std::make_unique<SimBlockHandle>(host_, *graphic->block);
    return S_OK;
  });
}

HRESULT SimGraphicHandle::UpdateGraphic() {
  return SimCallRun<&HostGraphic::UpdateGraphic>(host_, [&]() -> HRESULT {
    SimGraphicData* graphic = host_.Model().Graphic(graphicId_);
    RETURN_HR_IF(E_INVALIDARG, graphic == nullptr);
    ++graphic->updateCount;
    return S_OK;
  });
}

HRESULT SimGraphicPropertyListHandle::PickProperty(const HostPropertyKey& key, HostRef<HostProperty>* property) {
  return SimCallRunObject<&HostPropertyList::PickProperty>(host_, property, [&]() -> HRESULT {
    RETURN_HR_IF(E_INVALIDARG, host_.Model().Graphic(graphicId_) == nullptr || key.name != kInfoPropertyName);
    *property = std::make_unique<SimInfoPropertyHandle>(host_, graphicId_);
    return S_OK;
  });
}

HRESULT SimInfoPropertyHandle::GetPropertyValue(int32_t index, HostValue* value) {
  return SimCallRun<&HostProperty::GetPropertyValue>(host_, [&]() -> HRESULT {
    RETURN_HR_IF_NULL(E_POINTER, value);
    const SimGraphicData* graphic = host_.Model().Graphic(graphicId_);
    RETURN_HR_IF(E_INVALIDARG, graphic == nullptr || index != 0);
    *value = HostValue::FromText(graphic->info);
    return S_OK;
  });
}

HRESULT SimInfoPropertyHandle::SetPropertyValue(int32_t index, const HostValue& value) {
  return SimCallRun<&HostProperty::SetPropertyValue>(host_, [&]() -> HRESULT {
    RETURN_HR_IF(E_INVALIDARG,
                 host_.Model().Graphic(graphicId_) == nullptr || index != 0 || value.kind != HostValue::Kind::Text);
    return host_.Model().SetInfo(graphicId_, value.text);
  });
}

HRESULT SimVertexListHandle::CountItems(int32_t* count) {
  return SimCallRun<&HostVertexList::CountItems>(host_, [&]() -> HRESULT {
    RETURN_HR_IF_NULL(E_POINTER, count);
    const SimGraphicData* graphic = host_.Model().Graphic(graphicId_);
    RETURN_HR_IF(E_INVALIDARG, graphic == nullptr);
    *count = static_cast<int32_t>(graphic->vertices.size());
    return S_OK;
  });
}

HRESULT SimVertexListHandle::PickVertex(int32_t index, HostRef<HostVertex>* vertex) {
  return SimCallRunObject<&HostVertexList::PickVertex>(host_, vertex, [&]() -> HRESULT {
    const SimGraphicData* graphic = host_.Model().Graphic(graphicId_);
    RETURN_HR_IF(E_INVALIDARG,
                 graphic == nullptr || index < 0 || index >= static_cast<int32_t>(graphic->vertices.size()));
    *vertex = std::make_unique<SimVertexHandle>(host_, graphicId_, index);
    return S_OK;
  });
}

template <auto Method>
HRESULT SimVertexHandle::ReadCoordinate(double SimPoint::*coordinate, double* value) {
  return SimCallRun<Method>(host_, [&]() -> HRESULT {
    RETURN_HR_IF_NULL(E_POINTER, value);
    // The vertex is read where it is now; it is gone when its graphic lost it.
    const SimGraphicData* graphic = host_.Model().Graphic(graphicId_);
    RETURN_HR_IF(E_INVALIDARG,
                 graphic == nullptr || index_ < 0 || index_ >= static_cast<int32_t>(graphic->vertices.size()));
    *value = graphic->vertices[static_cast<size_t>(index_)].*coordinate;
    return S_OK;
  });
}

HRESULT SimVertexHandle::ReadX(double* x) {
  return ReadCoordinate<&HostVertex::ReadX>(&SimPoint::x, x);
}

HRESULT SimVertexHandle::ReadY(double* y) {
  return ReadCoordinate<&HostVertex::ReadY>(&SimPoint::y, y);
}

HRESULT SimVertexHandle::ReadZ(double* z) {
  return ReadCoordinate<&HostVertex::ReadZ>(&SimPoint::z, z);
}

HRESULT SimLayerHandle::ReadLayerName(std::u16string* name) {
  return SimCallRun<&HostLayer::ReadLayerName>(host_, [&]() -> HRESULT {
    RETURN_HR_IF_NULL(E_POINTER, name);
    *name = name_;
    return S_OK;
  });
}

HRESULT SimBlockHandle::ReadBlockName(std::u16string* name) {
  return SimCallRun<&HostBlock::ReadBlockName>(host_, [&]() -> HRESULT {
    RETURN_HR_IF_NULL(E_POINTER, name);
    *name = name_;
    return S_OK;
  });
}
