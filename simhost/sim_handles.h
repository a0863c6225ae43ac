// The in-process objects of the simulated host: one class per host-port interface. A handle
// names a model entity by id (drawing, graphic, list, undo record) and holds a reference to its
// SimHost, which must outlive it. Every contract operation is one recorded call subject to
// fault injection; an entity that has gone away (a graphic deleted by undo, a closed record)
// gives E_INVALIDARG, never a crash. Natively the core uses them directly; under Wine the
// simulated host's COM objects forward to them.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "host/host_port.h"
#include "simhost/sim_host.h"

// Counts itself in the host's live handles.
class SimHandle {
 public:
  explicit SimHandle(SimHost& host);
  ~SimHandle();
  SimHandle(const SimHandle&) = delete;
  SimHandle& operator=(const SimHandle&) = delete;
  SimHost& Host() const { return host_; }

 protected:
  SimHost& host_;
};

class SimToolHandle final : public HostTool, public SimHandle {
 public:
  SimToolHandle(SimHost& host, int32_t index) : SimHandle(host), index_(index) {}
  HRESULT ReadApplication(HostRef<HostApp>* app) override;
  HRESULT ReadToolIndex(int32_t* index) override;

 private:
  int32_t index_;
};

class SimAppHandle final : public HostApp, public SimHandle {
 public:
  explicit SimAppHandle(SimHost& host) : SimHandle(host) {}
  HRESULT ReadActiveDrawing(HostRef<HostDrawing>* drawing) override;
  HRESULT ReadToolList(HostRef<HostToolList>* list) override;
  HRESULT ReadVersionText(int32_t what, std::u16string* text) override;
  HRESULT SubscribeEvents(int32_t mask, int32_t* cookie) override;
  HRESULT UnsubscribeEvents(int32_t cookie) override;
  // QueryInterface on the COM side: not a call of the contract, so neither recorded nor faulted.
  HRESULT QueryAddinServices(HostRef<HostAddinServices>* services) override;
  HRESULT QueryCommands(HostRef<HostCommands>* commands) override;
};

class SimAddinServicesHandle final : public HostAddinServices, public SimHandle {
 public:
  explicit SimAddinServicesHandle(SimHost& host) : SimHandle(host) {}
  HRESULT ShowPrompt(const std::u16string& text, int32_t flags) override;
  HRESULT SetLocalMenu(int32_t count, const HostLocalMenu* menu, int32_t last) override;
};

class SimCommandsHandle final : public HostCommands, public SimHandle {
 public:
  explicit SimCommandsHandle(SimHost& host) : SimHandle(host) {}
  HRESULT LookUpCommand(const std::u16string& menuPath, int32_t* id) override;
  HRESULT StartCommand(int32_t id) override;
};

class SimToolListHandle final : public HostToolList, public SimHandle {
 public:
  explicit SimToolListHandle(SimHost& host) : SimHandle(host) {}
  HRESULT PickItem(uint32_t commandId, HostRef<HostLeaderTool>* tool) override;
};

class SimLeaderToolHandle final : public HostLeaderTool, public SimHandle {
 public:
  explicit SimLeaderToolHandle(SimHost& host) : SimHandle(host) {}
  HRESULT ReadParameterList(HostRef<HostPropertyList>* list) override;
};

// The leader tool's parameters: index 0 is the leader text.
class SimParameterListHandle final : public HostPropertyList, public SimHandle {
 public:
  explicit SimParameterListHandle(SimHost& host) : SimHandle(host) {}
  HRESULT PickProperty(const HostPropertyKey& key, HostRef<HostProperty>* property) override;
};

class SimLeaderTextHandle final : public HostProperty, public SimHandle {
 public:
  explicit SimLeaderTextHandle(SimHost& host) : SimHandle(host) {}
  HRESULT GetPropertyValue(int32_t index, HostValue* value) override;
  HRESULT SetPropertyValue(int32_t index, const HostValue& value) override;
};

class SimDrawingHandle final : public HostDrawing, public SimHandle {
 public:
  SimDrawingHandle(SimHost& host, int32_t drawingId) : SimHandle(host), drawingId_(drawingId) {}
  int32_t DrawingId() const { return drawingId_; }
  HRESULT ReadGraphicList(HostRef<HostGraphicList>* list) override;
  HRESULT ReadSelection(HostRef<HostSelection>* selection) override;
  HRESULT ReadActiveView(HostRef<HostView>* view) override;
  HRESULT OpenUndoRecord(const std::u16string& caption, HostRef<HostUndoRecord>* record) override;

 private:
  int32_t drawingId_;
};

class SimGraphicListHandle final : public HostGraphicList, public SimHandle {
 public:
  SimGraphicListHandle(SimHost& host, SimListRef list) : SimHandle(host), list_(list) {}
  const SimListRef& List() const { return list_; }
  HRESULT CountItems(int32_t* count) override;
  HRESULT PickItem(int32_t index, HostRef<HostGraphic>* graphic) override;
  HRESULT ReadOwnerDrawing(HostRef<HostDrawing>* drawing) override;
  HRESULT AppendGraphic(HostGraphic& graphic) override;
  HRESULT ExtractItem(int32_t index, HostRef<HostGraphic>* graphic) override;
  HRESULT FindById(int32_t id, HostRef<HostGraphic>* graphic) override;

 private:
  SimListRef list_;
};

class SimSelectionHandle final : public HostSelection, public SimHandle {
 public:
  SimSelectionHandle(SimHost& host, int32_t drawingId) : SimHandle(host), drawingId_(drawingId) {}
  HRESULT CountItems(int32_t* count) override;
  HRESULT PickItem(int32_t index, HostRef<HostGraphic>* graphic) override;
  HRESULT ClearSelection() override;

 private:
  int32_t drawingId_;
};

class SimViewHandle final : public HostView, public SimHandle {
 public:
  SimViewHandle(SimHost& host, int32_t drawingId) : SimHandle(host), drawingId_(drawingId) {}
  HRESULT RefreshView() override;

 private:
  int32_t drawingId_;
};

class SimGraphicHandle final : public HostGraphic, public SimHandle {
 public:
  SimGraphicHandle(SimHost& host, int32_t graphicId) : SimHandle(host), graphicId_(graphicId) {}
  int32_t GraphicId() const { return graphicId_; }
  HRESULT ReadGraphicId(int32_t* id) override;
  HRESULT ReadTypeName(std::u16string* name) override;
  HRESULT ReadPropertyList(HostRef<HostPropertyList>* list) override;
  HRESULT ReadChildGraphics(HostRef<HostGraphicList>* children) override;
  HRESULT ReadVertexList(HostRef<HostVertexList>* vertices) override;
  HRESULT ReadLayer(HostRef<HostLayer>* layer) override;
  HRESULT ReadBlock(HostRef<HostBlock>* block) override;
  HRESULT UpdateGraphic() override;

 private:
  int32_t graphicId_;
};

// The graphic's properties: "Info" only.
class SimGraphicPropertyListHandle final : public HostPropertyList, public SimHandle {
 public:
  SimGraphicPropertyListHandle(SimHost& host, int32_t graphicId) : SimHandle(host), graphicId_(graphicId) {}
  HRESULT PickProperty(const HostPropertyKey& key, HostRef<HostProperty>* property) override;

 private:
  int32_t graphicId_;
};

class SimInfoPropertyHandle final : public HostProperty, public SimHandle {
 public:
  SimInfoPropertyHandle(SimHost& host, int32_t graphicId) : SimHandle(host), graphicId_(graphicId) {}
  HRESULT GetPropertyValue(int32_t index, HostValue* value) override;
  HRESULT SetPropertyValue(int32_t index, const HostValue& value) override;

 private:
  int32_t graphicId_;
};

class SimVertexListHandle final : public HostVertexList, public SimHandle {
 public:
  SimVertexListHandle(SimHost& host, int32_t graphicId) : SimHandle(host), graphicId_(graphicId) {}
  HRESULT CountItems(int32_t* count) override;
  HRESULT PickVertex(int32_t index, HostRef<HostVertex>* vertex) override;

 private:
  int32_t graphicId_;
};

class SimVertexHandle final : public HostVertex, public SimHandle {
 public:
  SimVertexHandle(SimHost& host, int32_t graphicId, int32_t index)
      : SimHandle(host), graphicId_(graphicId), index_(index) {}
  HRESULT ReadX(double* x) override;
  HRESULT ReadY(double* y) override;
  HRESULT ReadZ(double* z) override;

 private:
  HRESULT ReadCoordinate(const char* callName, double SimPoint::*coordinate, double* value);
  int32_t graphicId_;
  int32_t index_;
};

// Layers and blocks are named things of the drawing; the handle keeps the name it was made with.
class SimLayerHandle final : public HostLayer, public SimHandle {
 public:
  SimLayerHandle(SimHost& host, std::u16string name) : SimHandle(host), name_(std::move(name)) {}
  HRESULT ReadLayerName(std::u16string* name) override;

 private:
  std::u16string name_;
};

class SimBlockHandle final : public HostBlock, public SimHandle {
 public:
  SimBlockHandle(SimHost& host, std::u16string name) : SimHandle(host), name_(std::move(name)) {}
  HRESULT ReadBlockName(std::u16string* name) override;

 private:
  std::u16string name_;
};

class SimUndoRecordHandle final : public HostUndoRecord, public SimHandle {
 public:
  SimUndoRecordHandle(SimHost& host, int32_t recordId) : SimHandle(host), recordId_(recordId) {}
  HRESULT NoteAddedGraphic(HostGraphic& graphic) override;
  HRESULT NoteChangedGraphic(HostGraphic& graphic) override;
  HRESULT CloseUndoRecord() override;

 private:
  int32_t recordId_;
};

// The id of a graphic handle of this host; 0 for any other HostGraphic.
int32_t SimGraphicIdOf(SimHost& host, HostGraphic& graphic);
