// A graphic of the simulated host and what hangs off it: its "Info" property, its vertices, its
// layer and block. Every operation first checks that the graphic still exists.
#include <memory>

#include "host/host_names.h"
#include "simhost/sim_call.h"
#include "simhost/sim_handles.h"

HRESULT SimGraphicHandle::ReadGraphicId(int32_t* id) {
  return SimCallRun(host_, "IHostGraphic.ReadGraphicId", [&]() -> HRESULT {
    RETURN_HR_IF_NULL(E_POINTER, id);
    RETURN_HR_IF(E_INVALIDARG, host_.Model().Graphic(graphicId_) == nullptr);
    *id = graphicId_;
    return S_OK;
  });
}

HRESULT SimGraphicHandle::ReadTypeName(std::u16string* name) {
  return SimCallRun(host_, "IHostGraphic.ReadTypeName", [&]() -> HRESULT {
    RETURN_HR_IF_NULL(E_POINTER, name);
    const SimGraphicData* graphic = host_.Model().Graphic(graphicId_);
    RETURN_HR_IF(E_INVALIDARG, graphic == nullptr);
    *name = graphic->typeName;
    return S_OK;
  });
}

HRESULT SimGraphicHandle::ReadPropertyList(HostRef<HostPropertyList>* list) {
  return SimCallRunObject(host_, "IHostGraphic.ReadPropertyList", list, [&]() -> HRESULT {
    RETURN_HR_IF(E_INVALIDARG, host_.Model().Graphic(graphicId_) == nullptr);
    *list = std::make_unique<SimGraphicPropertyListHandle>(host_, graphicId_);
    return S_OK;
  });
}

HRESULT SimGraphicHandle::ReadChildGraphics(HostRef<HostGraphicList>* children) {
  return SimCallRunObject(host_, "IHostGraphic.ReadChildGraphics", children, [&]() -> HRESULT {
    const SimGraphicData* graphic = host_.Model().Graphic(graphicId_);
    RETURN_HR_IF(E_INVALIDARG, graphic == nullptr);
    *children = std::make_unique<SimGraphicListHandle>(host_, SimListRef{graphic->drawingId, graphicId_});
    return S_OK;
  });
}

HRESULT SimGraphicHandle::ReadVertexList(HostRef<HostVertexList>* vertices) {
  return SimCallRunObject(host_, "IHostGraphic.ReadVertexList", vertices, [&]() -> HRESULT {
    RETURN_HR_IF(E_INVALIDARG, host_.Model().Graphic(graphicId_) == nullptr);
    *vertices = std::make_unique<SimVertexListHandle>(host_, graphicId_);
    return S_OK;
  });
}

HRESULT SimGraphicHandle::ReadLayer(HostRef<HostLayer>* layer) {
  return SimCallRunObject(host_, "IHostGraphic.ReadLayer", layer, [&]() -> HRESULT {
    const SimGraphicData* graphic = host_.Model().Graphic(graphicId_);
    RETURN_HR_IF(E_INVALIDARG, graphic == nullptr);
    if (graphic->layer) *layer = std::make_unique<SimLayerHandle>(host_, *graphic->layer);
    return S_OK;
  });
}

HRESULT SimGraphicHandle::ReadBlock(HostRef<HostBlock>* block) {
  return SimCallRunObject(host_, "IHostGraphic.ReadBlock", block, [&]() -> HRESULT {
    const SimGraphicData* graphic = host_.Model().Graphic(graphicId_);
    RETURN_HR_IF(E_INVALIDARG, graphic == nullptr);
    if (graphic->block) *block = std::make_unique<SimBlockHandle>(host_, *graphic->block);
    return S_OK;
  });
}

HRESULT SimGraphicHandle::UpdateGraphic() {
  return SimCallRun(host_, "IHostGraphic.UpdateGraphic", [&]() -> HRESULT {
    SimGraphicData* graphic = host_.Model().Graphic(graphicId_);
    RETURN_HR_IF(E_INVALIDARG, graphic == nullptr);
    ++graphic->updateCount;
    return S_OK;
  });
}

HRESULT SimGraphicPropertyListHandle::PickProperty(const HostPropertyKey& key, HostRef<HostProperty>* property) {
  return SimCallRunObject(host_, "IHostPropertyList.PickProperty", property, [&]() -> HRESULT {
    RETURN_HR_IF(E_INVALIDARG, host_.Model().Graphic(graphicId_) == nullptr || key.name != kInfoPropertyName);
    *property = std::make_unique<SimInfoPropertyHandle>(host_, graphicId_);
    return S_OK;
  });
}

HRESULT SimInfoPropertyHandle::GetPropertyValue(int32_t index, HostValue* value) {
  return SimCallRun(host_, "IHostProperty.GetPropertyValue", [&]() -> HRESULT {
    RETURN_HR_IF_NULL(E_POINTER, value);
    const SimGraphicData* graphic = host_.Model().Graphic(graphicId_);
    RETURN_HR_IF(E_INVALIDARG, graphic == nullptr || index != 0);
    *value = HostValue::FromText(graphic->info);
    return S_OK;
  });
}

HRESULT SimInfoPropertyHandle::SetPropertyValue(int32_t index, const HostValue& value) {
  return SimCallRun(host_, "IHostProperty.SetPropertyValue", [&]() -> HRESULT {
    RETURN_HR_IF(E_INVALIDARG,
                 host_.Model().Graphic(graphicId_) == nullptr || index != 0 || value.kind != HostValue::Kind::Text);
    return host_.Model().SetInfo(graphicId_, value.text);
  });
}

HRESULT SimVertexListHandle::CountItems(int32_t* count) {
  return SimCallRun(host_, "IHostVertexList.CountItems", [&]() -> HRESULT {
    RETURN_HR_IF_NULL(E_POINTER, count);
    const SimGraphicData* graphic = host_.Model().Graphic(graphicId_);
    RETURN_HR_IF(E_INVALIDARG, graphic == nullptr);
    *count = static_cast<int32_t>(graphic->vertices.size());
    return S_OK;
  });
}

HRESULT SimVertexListHandle::PickVertex(int32_t index, HostRef<HostVertex>* vertex) {
  return SimCallRunObject(host_, "IHostVertexList.PickVertex", vertex, [&]() -> HRESULT {
    const SimGraphicData* graphic = host_.Model().Graphic(graphicId_);
    RETURN_HR_IF(E_INVALIDARG,
                 graphic == nullptr || index < 0 || index >= static_cast<int32_t>(graphic->vertices.size()));
    *vertex = std::make_unique<SimVertexHandle>(host_, graphicId_, index);
    return S_OK;
  });
}

HRESULT SimVertexHandle::ReadCoordinate(const char* callName, double SimPoint::*coordinate, double* value) {
  return SimCallRun(host_, callName, [&]() -> HRESULT {
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
  return ReadCoordinate("IHostVertex.ReadX", &SimPoint::x, x);
}

HRESULT SimVertexHandle::ReadY(double* y) {
  return ReadCoordinate("IHostVertex.ReadY", &SimPoint::y, y);
}

HRESULT SimVertexHandle::ReadZ(double* z) {
  return ReadCoordinate("IHostVertex.ReadZ", &SimPoint::z, z);
}

HRESULT SimLayerHandle::ReadLayerName(std::u16string* name) {
  return SimCallRun(host_, "IHostLayer.ReadLayerName", [&]() -> HRESULT {
    RETURN_HR_IF_NULL(E_POINTER, name);
    *name = name_;
    return S_OK;
  });
}

HRESULT SimBlockHandle::ReadBlockName(std::u16string* name) {
  return SimCallRun(host_, "IHostBlock.ReadBlockName", [&]() -> HRESULT {
    RETURN_HR_IF_NULL(E_POINTER, name);
    *name = name_;
    return S_OK;
  });
}
