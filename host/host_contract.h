// The host's automation methods, listed once. resources/host.idl describes them as the host's SDK
// would (vtables, dispatch ids, automation types); this list says the same in the add-in's terms,
// and the rest is made from it: the host port's classes (host_port.h), the name of each call in the
// failure trace and in the simulated host's record, the adapters over the COM interfaces, the
// simulated host's handle declarations and COM objects, and the tests' tables of every call. The
// compiler holds the list to the IDL: the adapters call each COM method with the automation types
// of its argument kinds, and the simulated host's COM objects override it with them.
//
// One macro per interface, in the IDL's order, taking M for each method and Q for each interface
// that the object answers for by QueryInterface (a tear-off):
//   M(Port, Method, dispatch id, argument kinds...)    Q(Port, Method, port of the tear-off)
// The interface is "I" and the port class's name: M(HostGraphic, ReadLayer, ...) is
// IHostGraphic::ReadLayer, traced and recorded as "IHostGraphic.ReadLayer", and the port's
// HostGraphic::ReadLayer. The argument kinds (host_port.h) are in the IDL's order; a result is
// the last. "May give none": the host may answer S_OK and no object.
//
// docs/ARCHITECTURE.md ("Adding a host method") lists the files a new method touches.
#pragma once

// clang-format off
#define TL_HOST_INTERFACES(I)                  \
  I(HostTool, TL_HOST_TOOL)                    \
  I(HostApp, TL_HOST_APP)                      \
  I(HostAddinServices, TL_HOST_ADDIN_SERVICES) \
  I(HostCommands, TL_HOST_COMMANDS)            \
  I(HostToolList, TL_HOST_TOOL_LIST)           \
  I(HostLeaderTool, TL_HOST_LEADER_TOOL)       \
  I(HostDrawing, TL_HOST_DRAWING)              \
  I(HostGraphicList, TL_HOST_GRAPHIC_LIST)     \
  I(HostSelection, TL_HOST_SELECTION)          \
  I(HostView, TL_HOST_VIEW)                    \
  I(HostGraphic, TL_HOST_GRAPHIC)              \
  I(HostPropertyList, TL_HOST_PROPERTY_LIST)   \
  I(HostProperty, TL_HOST_PROPERTY)            \
  I(HostVertexList, TL_HOST_VERTEX_LIST)       \
  I(HostVertex, TL_HOST_VERTEX)                \
  I(HostLayer, TL_HOST_LAYER)                  \
  I(HostBlock, TL_HOST_BLOCK)                  \
  I(HostUndoRecord, TL_HOST_UNDO_RECORD)

#define TL_HOST_TOOL(M, Q)                            \
  M(HostTool, ReadApplication, 1, OutObject<HostApp>) \
  M(HostTool, ReadToolIndex, 2, OutLong)

// The add-in subscribes itself, with a mask, for a cookie.
#define TL_HOST_APP(M, Q)                                                      \
  M(HostApp, ReadActiveDrawing, 1, OutObject<HostDrawing>) /* may give none */ \
  M(HostApp, ReadToolList, 2, OutObject<HostToolList>)                         \
  M(HostApp, ReadVersionText, 3, InLong, OutText)                              \
  M(HostApp, SubscribeEvents, 4, InAddin, InVariantLong, OutLong)              \
  M(HostApp, UnsubscribeEvents, 5, InLong)                                     \
  Q(HostApp, QueryAddinServices, HostAddinServices)                            \
  Q(HostApp, QueryCommands, HostCommands)

// The local menu: a count, the menu (null: its four arrays omitted) and the last item.
#define TL_HOST_ADDIN_SERVICES(M, Q)                                     \
  M(HostAddinServices, ShowPrompt, 1, InAddin, InText, InLong)           \
  M(HostAddinServices, SetLocalMenu, 2, InAddin, InLong, InMenu, InLong)

#define TL_HOST_COMMANDS(M, Q)                       \
  M(HostCommands, LookUpCommand, 1, InText, OutLong) \
  M(HostCommands, StartCommand, 2, InLong)

#define TL_HOST_TOOL_LIST(M, Q)                                           \
  M(HostToolList, PickItem, 1, InVariantULong, OutObject<HostLeaderTool>)

#define TL_HOST_LEADER_TOOL(M, Q)                                      \
  M(HostLeaderTool, ReadParameterList, 1, OutObject<HostPropertyList>)

#define TL_HOST_DRAWING(M, Q)                                          \
  M(HostDrawing, ReadGraphicList, 1, OutObject<HostGraphicList>)       \
  M(HostDrawing, ReadSelection, 2, OutObject<HostSelection>)           \
  M(HostDrawing, ReadActiveView, 3, OutObject<HostView>)               \
  M(HostDrawing, OpenUndoRecord, 4, InText, OutObject<HostUndoRecord>)

#define TL_HOST_GRAPHIC_LIST(M, Q)                                          \
  M(HostGraphicList, CountItems, 1, OutLong)                                \
  M(HostGraphicList, PickItem, 2, InVariantLong, OutObject<HostGraphic>)    \
  M(HostGraphicList, ReadOwnerDrawing, 3, OutObject<HostDrawing>)           \
  M(HostGraphicList, AppendGraphic, 4, InGraphic, InOmitted, InOmitted)     \
  M(HostGraphicList, ExtractItem, 5, InVariantLong, OutObject<HostGraphic>) \
  M(HostGraphicList, FindById, 6, InLong, OutObject<HostGraphic>)

#define TL_HOST_SELECTION(M, Q)                                        \
  M(HostSelection, CountItems, 1, OutLong)                             \
  M(HostSelection, PickItem, 2, InVariantLong, OutObject<HostGraphic>) \
  M(HostSelection, ClearSelection, 3)

#define TL_HOST_VIEW(M, Q)    \
  M(HostView, RefreshView, 1)

#define TL_HOST_GRAPHIC(M, Q)                                            \
  M(HostGraphic, ReadGraphicId, 1, OutLong)                              \
  M(HostGraphic, ReadTypeName, 2, OutText)                               \
  M(HostGraphic, ReadPropertyList, 3, OutObject<HostPropertyList>)       \
  M(HostGraphic, ReadChildGraphics, 4, OutObject<HostGraphicList>)       \
  M(HostGraphic, ReadVertexList, 5, OutObject<HostVertexList>)           \
  M(HostGraphic, ReadLayer, 6, OutObject<HostLayer>) /* may give none */ \
  M(HostGraphic, ReadBlock, 7, OutObject<HostBlock>) /* may give none */ \
  M(HostGraphic, UpdateGraphic, 8)

// A property is named ("Info") or indexed.
#define TL_HOST_PROPERTY_LIST(M, Q)                                    \
  M(HostPropertyList, PickProperty, 1, InKey, OutObject<HostProperty>)

#define TL_HOST_PROPERTY(M, Q)                           \
  M(HostProperty, GetPropertyValue, 1, InLong, OutValue) \
  M(HostProperty, SetPropertyValue, 2, InLong, InValue)

#define TL_HOST_VERTEX_LIST(M, Q)                                        \
  M(HostVertexList, CountItems, 1, OutLong)                              \
  M(HostVertexList, PickVertex, 2, InVariantLong, OutObject<HostVertex>)

#define TL_HOST_VERTEX(M, Q)         \
  M(HostVertex, ReadX, 1, OutDouble) \
  M(HostVertex, ReadY, 2, OutDouble) \
  M(HostVertex, ReadZ, 3, OutDouble)

#define TL_HOST_LAYER(M, Q)               \
  M(HostLayer, ReadLayerName, 1, OutText)

#define TL_HOST_BLOCK(M, Q)               \
  M(HostBlock, ReadBlockName, 1, OutText)

#define TL_HOST_UNDO_RECORD(M, Q)                     \
  M(HostUndoRecord, NoteAddedGraphic, 1, InGraphic)   \
  M(HostUndoRecord, NoteChangedGraphic, 2, InGraphic) \
  M(HostUndoRecord, CloseUndoRecord, 3)
// clang-format on

// How the add-in names a QueryInterface in the trace: "ThisTool.QueryInterface(IHostTool)".
#define TL_HOST_QUERY_NAME(Object, Port) #Object ".QueryInterface(I" #Port ")"
