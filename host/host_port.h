// The host as the core sees it: one abstract class per automation object of the host contract,
// with the same operations in the same order. The DLL implements them over the host's COM
// interfaces; the simulated host implements them in-process for the native tests.
//
// Conventions: every operation returns the host's status code; results go to the last
// parameter. An object result is owned by the caller (HostRef) and may be null where the host
// "may give none"; callers turn a missing object they need into E_POINTER. Indices count from 0.
// Texts are UTF-16; a null host string arrives as the empty text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/status.h"

template <class T>
using HostRef = std::unique_ptr<T>;

class HostApp;
class HostAddinServices;
class HostCommands;
class HostToolList;
class HostLeaderTool;
class HostDrawing;
class HostGraphicList;
class HostSelection;
class HostView;
class HostGraphic;
class HostPropertyList;
class HostProperty;
class HostVertexList;
class HostVertex;
class HostLayer;
class HostBlock;
class HostUndoRecord;

// A property value as the host hands it over (a VARIANT on the COM side).
struct HostValue {
  enum class Kind { Empty, Text, Integer, Real, Boolean, Other };
  Kind kind = Kind::Empty;
  std::u16string text;
  int32_t integer = 0;
  double real = 0.0;
  bool boolean = false;

  static HostValue FromText(std::u16string value) {
    HostValue v;
    v.kind = Kind::Text;
    v.text = std::move(value);
    return v;
  }
};

// A property is named ("Info") or indexed.
struct HostPropertyKey {
  std::u16string name;
  int32_t index = -1;  // used when name is empty
};

class HostTool {
 public:
  virtual ~HostTool() = default;
  virtual HRESULT ReadApplication(HostRef<HostApp>* app) = 0;
  virtual HRESULT ReadToolIndex(int32_t* index) = 0;
};

class HostApp {
 public:
  virtual ~HostApp() = default;
  virtual HRESULT ReadActiveDrawing(HostRef<HostDrawing>* drawing) = 0;  // may give none
  virtual HRESULT ReadToolList(HostRef<HostToolList>* list) = 0;
  virtual HRESULT ReadVersionText(int32_t what, std::u16string* text) = 0;
  // The add-in subscribes itself; the adapter knows the add-in's own dispatch interface.
  virtual HRESULT SubscribeEvents(int32_t mask, int32_t* cookie) = 0;
  virtual HRESULT UnsubscribeEvents(int32_t cookie) = 0;
  // The application object answers for its two other interfaces.
  virtual HRESULT QueryAddinServices(HostRef<HostAddinServices>* services) = 0;
  virtual HRESULT QueryCommands(HostRef<HostCommands>* commands) = 0;
};

struct HostLocalMenu {
  std::vector<std::u16string> captions;
  std::vector<std::u16string> prompts;
  std::vector<bool> flags1;
  std::vector<bool> flags2;
};

class HostAddinServices {
 public:
  virtual ~HostAddinServices() = default;
  virtual HRESULT ShowPrompt(const std::u16string& text, int32_t flags) = 0;
  virtual HRESULT SetLocalMenu(int32_t count, const HostLocalMenu* menu,
                               int32_t last) = 0;  // null menu: arguments omitted
};

class HostCommands {
 public:
  virtual ~HostCommands() = default;
  virtual HRESULT LookUpCommand(const std::u16string& menuPath, int32_t* id) = 0;
  virtual HRESULT StartCommand(int32_t id) = 0;
};

class HostToolList {
 public:
  virtual ~HostToolList() = default;
  virtual HRESULT PickItem(uint32_t commandId, HostRef<HostLeaderTool>* tool) = 0;
};

class HostLeaderTool {
 public:
  virtual ~HostLeaderTool() = default;
  virtual HRESULT ReadParameterList(HostRef<HostPropertyList>* list) = 0;
};

class HostDrawing {
 public:
  virtual ~HostDrawing() = default;
  virtual HRESULT ReadGraphicList(HostRef<HostGraphicList>* list) = 0;
  virtual HRESULT ReadSelection(HostRef<HostSelection>* selection) = 0;
  virtual HRESULT ReadActiveView(HostRef<HostView>* view) = 0;
  virtual HRESULT OpenUndoRecord(const std::u16string& caption, HostRef<HostUndoRecord>* record) = 0;
};

class HostGraphicList {
 public:
  virtual ~HostGraphicList() = default;
  virtual HRESULT CountItems(int32_t* count) = 0;
  virtual HRESULT PickItem(int32_t index, HostRef<HostGraphic>* graphic) = 0;
  virtual HRESULT ReadOwnerDrawing(HostRef<HostDrawing>* drawing) = 0;
  virtual HRESULT AppendGraphic(HostGraphic& graphic) = 0;
  virtual HRESULT ExtractItem(int32_t index, HostRef<HostGraphic>* graphic) = 0;
  virtual HRESULT FindById(int32_t id, HostRef<HostGraphic>* graphic) = 0;
};

class HostSelection {
 public:
  virtual ~HostSelection() = default;
  virtual HRESULT CountItems(int32_t* count) = 0;
  virtual HRESULT PickItem(int32_t index, HostRef<HostGraphic>* graphic) = 0;
  virtual HRESULT ClearSelection() = 0;
};

class HostView {
 public:
  virtual ~HostView() = default;
  virtual HRESULT RefreshView() = 0;
};

class HostGraphic {
 public:
  virtual ~HostGraphic() = default;
  virtual HRESULT ReadGraphicId(int32_t* id) = 0;
  virtual HRESULT ReadTypeName(std::u16string* name) = 0;
  virtual HRESULT ReadPropertyList(HostRef<HostPropertyList>* list) = 0;
  virtual HRESULT ReadChildGraphics(HostRef<HostGraphicList>* children) = 0;
  virtual HRESULT ReadVertexList(HostRef<HostVertexList>* vertices) = 0;
  virtual HRESULT ReadLayer(HostRef<HostLayer>* layer) = 0;  // may give none
  virtual HRESULT ReadBlock(HostRef<HostBlock>* block) = 0;  // may give none
  virtual HRESULT UpdateGraphic() = 0;
};

class HostPropertyList {
 public:
  virtual ~HostPropertyList() = default;
  virtual HRESULT PickProperty(const HostPropertyKey& key, HostRef<HostProperty>* property) = 0;
};

class HostProperty {
 public:
  virtual ~HostProperty() = default;
  virtual HRESULT GetPropertyValue(int32_t index, HostValue* value) = 0;
  virtual HRESULT SetPropertyValue(int32_t index, const HostValue& value) = 0;
};

class HostVertexList {
 public:
  virtual ~HostVertexList() = default;
  virtual HRESULT CountItems(int32_t* count) = 0;
  virtual HRESULT PickVertex(int32_t index, HostRef<HostVertex>* vertex) = 0;
};

class HostVertex {
 public:
  virtual ~HostVertex() = default;
  virtual HRESULT ReadX(double* x) = 0;
  virtual HRESULT ReadY(double* y) = 0;
  virtual HRESULT ReadZ(double* z) = 0;
};

class HostLayer {
 public:
  virtual ~HostLayer() = default;
  virtual HRESULT ReadLayerName(std::u16string* name) = 0;
};

class HostBlock {
 public:
  virtual ~HostBlock() = default;
  virtual HRESULT ReadBlockName(std::u16string* name) = 0;
};

class HostUndoRecord {
 public:
  virtual ~HostUndoRecord() = default;
  virtual HRESULT NoteAddedGraphic(HostGraphic& graphic) = 0;
  virtual HRESULT NoteChangedGraphic(HostGraphic& graphic) = 0;
  virtual HRESULT CloseUndoRecord() = 0;
};
