// The in-process objects of the simulated host: one class per host-port interface, its methods
// declared from the list of the host's methods (host/host_contract.h). A handle names a model
// entity by id (drawing, graphic, list, undo record) and holds a reference to its SimHost, which
// must outlive it. Every contract operation is one recorded call subject to fault injection; an
// entity that has gone away (a graphic deleted by undo, a closed record) gives E_INVALIDARG,
// never a crash. Natively the core uses them directly; under Wine the simulated host's COM
// objects forward to them.
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
  TL_DECLARE_HOST_METHODS(TL_HOST_TOOL)

 private:
  int32_t index_;
};

class SimAppHandle final : public HostApp, public SimHandle {
 public:
  explicit SimAppHandle(SimHost& host) : SimHandle(host) {}
  // QueryAddinServices and QueryCommands are QueryInterface on the COM side: not calls of the
  // contract, so neither recorded nor faulted.
  TL_DECLARE_HOST_METHODS(TL_HOST_APP)
};

class SimAddinServicesHandle final : public HostAddinServices, public SimHandle {
 public:
  explicit SimAddinServicesHandle(SimHost& host) : SimHandle(host) {}
  TL_DECLARE_HOST_METHODS(TL_HOST_ADDIN_SERVICES)
};

class SimCommandsHandle final : public HostCommands, public SimHandle {
 public:
  explicit SimCommandsHandle(SimHost& host) : SimHandle(host) {}
  TL_DECLARE_HOST_METHODS(TL_HOST_COMMANDS)
};

class SimToolListHandle final : public HostToolList, public SimHandle {
 public:
  explicit SimToolListHandle(SimHost& host) : SimHandle(host) {}
  TL_DECLARE_HOST_METHODS(TL_HOST_TOOL_LIST)
};

class SimLeaderToolHandle final : public HostLeaderTool, public SimHandle {
 public:
  explicit SimLeaderToolHandle(SimHost& host) : SimHandle(host) {}
  TL_DECLARE_HOST_METHODS(TL_HOST_LEADER_TOOL)
};

// The leader tool's parameters: index 0 is the leader text.
class SimParameterListHandle final : public HostPropertyList, public SimHandle {
 public:
  explicit SimParameterListHandle(SimHost& host) : SimHandle(host) {}
  TL_DECLARE_HOST_METHODS(TL_HOST_PROPERTY_LIST)
};

class SimLeaderTextHandle final : public HostProperty, public SimHandle {
 public:
  explicit SimLeaderTextHandle(SimHost& host) : SimHandle(host) {}
  TL_DECLARE_HOST_METHODS(TL_HOST_PROPERTY)
};

class SimDrawingHandle final : public HostDrawing, public SimHandle {
 public:
  SimDrawingHandle(SimHost& host, int32_t drawingId) : SimHandle(host), drawingId_(drawingId) {}
  int32_t DrawingId() const { return drawingId_; }
  TL_DECLARE_HOST_METHODS(TL_HOST_DRAWING)

 private:
  int32_t drawingId_;
};

class SimGraphicListHandle final : public HostGraphicList, public SimHandle {
 public:
  SimGraphicListHandle(SimHost& host, SimListRef list) : SimHandle(host), list_(list) {}
  const SimListRef& List() const { return list_; }
  TL_DECLARE_HOST_METHODS(TL_HOST_GRAPHIC_LIST)

 private:
  SimListRef list_;
};

class SimSelectionHandle final : public HostSelection, public SimHandle {
 public:
  SimSelectionHandle(SimHost& host, int32_t drawingId) : SimHandle(host), drawingId_(drawingId) {}
  TL_DECLARE_HOST_METHODS(TL_HOST_SELECTION)

 private:
  int32_t drawingId_;
};

class SimViewHandle final : public HostView, public SimHandle {
 public:
  SimViewHandle(SimHost& host, int32_t drawingId) : SimHandle(host), drawingId_(drawingId) {}
  TL_DECLARE_HOST_METHODS(TL_HOST_VIEW)

 private:
  int32_t drawingId_;
};

class SimGraphicHandle final : public HostGraphic, public SimHandle {
 public:
  SimGraphicHandle(SimHost& host, int32_t graphicId) : SimHandle(host), graphicId_(graphicId) {}
  int32_t GraphicId() const { return graphicId_; }
  TL_DECLARE_HOST_METHODS(TL_HOST_GRAPHIC)

 private:
  int32_t graphicId_;
};

// The graphic's properties: "Info" only.
class SimGraphicPropertyListHandle final : public HostPropertyList, public SimHandle {
 public:
  SimGraphicPropertyListHandle(SimHost& host, int32_t graphicId) : SimHandle(host), graphicId_(graphicId) {}
  TL_DECLARE_HOST_METHODS(TL_HOST_PROPERTY_LIST)

 private:
  int32_t graphicId_;
};

class SimInfoPropertyHandle final : public HostProperty, public SimHandle {
 public:
  SimInfoPropertyHandle(SimHost& host, int32_t graphicId) : SimHandle(host), graphicId_(graphicId) {}
  TL_DECLARE_HOST_METHODS(TL_HOST_PROPERTY)

 private:
  int32_t graphicId_;
};

class SimVertexListHandle final : public HostVertexList, public SimHandle {
 public:
  SimVertexListHandle(SimHost& host, int32_t graphicId) : SimHandle(host), graphicId_(graphicId) {}
  TL_DECLARE_HOST_METHODS(TL_HOST_VERTEX_LIST)

 private:
  int32_t graphicId_;
};

class SimVertexHandle final : public HostVertex, public SimHandle {
 public:
  SimVertexHandle(SimHost& host, int32_t graphicId, int32_t index)
      : SimHandle(host), graphicId_(graphicId), index_(index) {}
  TL_DECLARE_HOST_METHODS(TL_HOST_VERTEX)

 private:
  template <auto Method>
  HRESULT ReadCoordinate(double SimPoint::*coordinate, double* value);
  int32_t graphicId_;
  int32_t index_;
};

// Layers and blocks are named things of the drawing; the handle keeps the name it was made with.
class SimLayerHandle final : public HostLayer, public SimHandle {
 public:
  SimLayerHandle(SimHost& host, std::u16string name) : SimHandle(host), name_(std::move(name)) {}
  TL_DECLARE_HOST_METHODS(TL_HOST_LAYER)

 private:
  std::u16string name_;
};

class SimBlockHandle final : public HostBlock, public SimHandle {
 public:
  SimBlockHandle(SimHost& host, std::u16string name) : SimHandle(host), name_(std::move(name)) {}
  TL_DECLARE_HOST_METHODS(TL_HOST_BLOCK)

 private:
  std::u16string name_;
};

class SimUndoRecordHandle final : public HostUndoRecord, public SimHandle {
 public:
  SimUndoRecordHandle(SimHost& host, int32_t recordId) : SimHandle(host), recordId_(recordId) {}
  TL_DECLARE_HOST_METHODS(TL_HOST_UNDO_RECORD)

 private:
  int32_t recordId_;
};

// The id of a graphic handle of this host; 0 for any other HostGraphic.
int32_t SimGraphicIdOf(SimHost& host, HostGraphic& graphic);
