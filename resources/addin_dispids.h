/* Dispatch ids of the add-in's interface. The type library takes them from here, and every
   caller of the add-in (the simulated host, its reference sessions, the Wine tests) names them
   from here, so that a host and the add-in cannot disagree. Plain macros, as the IDL compiler
   reads this file too. */
#ifndef TALLYLINE_ADDIN_DISPIDS_H
#define TALLYLINE_ADDIN_DISPIDS_H

#define TL_DISPID_CLASS_ID 1
#define TL_DISPID_DESCRIPTION 2
#define TL_DISPID_GET_TOOL_INFO 3
#define TL_DISPID_COPY_BITMAP 4
#define TL_DISPID_GET_PICTURE 5
#define TL_DISPID_RUN 6
#define TL_DISPID_UPDATE_TOOL_STATUS 7
#define TL_DISPID_INITIALIZE 8
#define TL_DISPID_TERMINATE 9
#define TL_DISPID_GET_LM_PICTURE 10
#define TL_DISPID_DO_LM_COMMAND 11
#define TL_DISPID_BEFORE_EXIT 12
#define TL_DISPID_DRAWING_NEW 13
#define TL_DISPID_DRAWING_OPEN 14
#define TL_DISPID_DRAWING_ACTIVATE 15
#define TL_DISPID_DRAWING_DEACTIVATE 16
#define TL_DISPID_DRAWING_BEFORE_CLOSE 17
#define TL_DISPID_DRAWING_BEFORE_SAVE 18
#define TL_DISPID_MOUSE_DOWN 22
#define TL_DISPID_SELECTION_CHANGE 27
#define TL_DISPID_RUN_TOOL 30

#ifdef __cplusplus
#include <cstdint>

// The same ids for C++ callers.
enum AddinDispid : int32_t {
  kDispClassId = TL_DISPID_CLASS_ID,
  kDispDescription = TL_DISPID_DESCRIPTION,
  kDispGetToolInfo = TL_DISPID_GET_TOOL_INFO,
  kDispCopyBitmap = TL_DISPID_COPY_BITMAP,
  kDispGetPicture = TL_DISPID_GET_PICTURE,
  kDispRun = TL_DISPID_RUN,
  kDispUpdateToolStatus = TL_DISPID_UPDATE_TOOL_STATUS,
  kDispInitialize = TL_DISPID_INITIALIZE,
  kDispTerminate = TL_DISPID_TERMINATE,
  kDispGetLMPicture = TL_DISPID_GET_LM_PICTURE,
  kDispDoLMCommand = TL_DISPID_DO_LM_COMMAND,
  kDispBeforeExit = TL_DISPID_BEFORE_EXIT,
  kDispDrawingNew = TL_DISPID_DRAWING_NEW,
  kDispDrawingOpen = TL_DISPID_DRAWING_OPEN,
  kDispDrawingActivate = TL_DISPID_DRAWING_ACTIVATE,
  kDispDrawingDeactivate = TL_DISPID_DRAWING_DEACTIVATE,
  kDispDrawingBeforeClose = TL_DISPID_DRAWING_BEFORE_CLOSE,
  kDispDrawingBeforeSave = TL_DISPID_DRAWING_BEFORE_SAVE,
  kDispMouseDown = TL_DISPID_MOUSE_DOWN,
  kDispSelectionChange = TL_DISPID_SELECTION_CHANGE,
  kDispRunTool = TL_DISPID_RUN_TOOL,
};
#endif

#endif
