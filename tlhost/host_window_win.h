// The reference host's window: a menu bar and toolbar built from the add-in's tool info and
// button strip, a drawing canvas, and a status bar showing the add-in's prompt. It owns the
// simulated host (drawing model and COM objects) and the add-in client, polls the add-in's tool
// status when idle, and turns the user's clicks and commands into host actions and add-in calls.
// A script drives it through the same window messages a user's input produces.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tlhost/addin_client_win.h"
#include "tlhost/drawing_input.h"
#include "tlhost/drawing_picture.h"
#include "tlhost/host_canvas_win.h"
#include "simhost/sim_host.h"

// Command ids of the host's own menu entries; the add-in's tools follow from kCommandToolBase.
enum HostCommand : int {
  kCommandFileNew = 100,
  kCommandFileOpenSample,
  kCommandFileClose,
  kCommandFileSaveSvg,
  kCommandFileExportPng,
  kCommandFileExit,
  kCommandEditSelect,
  kCommandEditUndo,
  kCommandEditRedo,
  kCommandInsertLeader,
  kCommandToolBase = 1000,
};

class HostWindow {
 public:
  using Log = std::function<void(const std::string&)>;
  HostWindow(SimHost& host, Log log);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  // Creates and shows the window. A scripted host polls only when its script says so and calls
  // `onTick` every few milliseconds, inside modal loops too (to answer dialogs). The window of
  // the host application ends its message loop when it is destroyed; one made inside another
  // program (a test) leaves that program's loops alone.
  bool Create(HINSTANCE instance, std::function<void()> onTick, bool applicationWindow = true);
  HWND Frame() const { return frame_; }
  HWND Canvas() const { return canvas_; }

  // The add-in: created by ProgID, its menus and buttons added, Initialize for every tool.
  HRESULT LoadAddin();
  void UnloadAddin();
  const AddinClient& Addin() const { return addin_; }
  const std::vector<ToolState>& ToolStates() const { return toolStates_; }

  // The host goes idle: UpdateToolStatus for every tool, the results shown on buttons and menus.
  void PollTools();
  // BeforeExit, then the add-in is unloaded. False when the add-in kept host objects or a
  // subscription alive.
  bool Shutdown();

  // A script answers the local menu instead of a person: the index of the chosen entry, or -1.
  void SetLocalMenuChooser(std::function<int(const HostLocalMenu&)> chooser) { chooser_ = std::move(chooser); }
  // The command id of a menu entry by its path ("Edit|Undo"; "&" and case do not matter); 0 for none.
  int FindMenuCommand(const std::wstring& path) const;
  bool MenuCommandEnabled(int command) const;
  void SelectGraphics(const std::vector<int32_t>& ids);
  // A rectangle dragged over the drawing: the leaders inside it are selected, or added to the
  // selection with Shift.
  void SelectBox(SimPoint corner, SimPoint otherCorner, bool shift);
  // True when the window's kept picture is the drawing painted whole: every change was painted
  // again wherever it touched.
  bool CanvasShowsDrawing();

  HRESULT SaveSvg(const std::wstring& path);
  HRESULT ExportPng(const std::wstring& path);
  // The toolbar as the window shows it, as far as the add-in's buttons reach, written as a PNG file.
  bool SaveToolbarShot(const std::wstring& path) const;

 private:
  static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK CanvasProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnFrameMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnCanvasMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int command);
  void OnNotify(const NMHDR& header);
  void OnCanvasPress(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCanvasDrag(UINT message, WPARAM wParam, LPARAM lParam);
  void PaintCanvas();
  void ShowLocalMenu(POINT screen);
  void RunAddinTool(int tool);
  void RunHostCommand(int32_t simCommand);
  void SwitchDrawing(int32_t drawing, int32_t arrivalEvent);
  void CloseDrawing();
  void EndCommandWithDrawing();
  bool AskFile(bool svg, std::wstring* path);
  void BuildMenus();
  void BuildToolbar();
  void Layout();
  // After every call into the add-in or change of the drawing: the status bar, the window's
  // picture and the transcript catch up with the host's state.
  void Sync();
  // The picture catches up with the graphics that changed since it last did.
  void SyncPicture();
  void InvalidateCanvas(const PixelBox& box);
  void SetStatus(const std::wstring& text);
  void Say(const std::string& text) const;

  SimHost& host_;
  Log log_;
  AddinClient addin_;
  DrawingInput input_;
  std::vector<ToolState> toolStates_;
  std::function<int(const HostLocalMenu&)> chooser_;
  std::function<void()> onTick_;
  bool applicationWindow_ = true;
  HWND frame_ = nullptr;
  HWND toolbar_ = nullptr;
  HWND status_ = nullptr;
  HWND canvas_ = nullptr;
  HMENU menu_ = nullptr;
  HIMAGELIST buttonImages_ = nullptr;
  bool polling_ = false;
  bool toolsShown_ = false;
  std::wstring hoverPrompt_;
  // What the transcript last told, to tell only changes.
  std::u16string shownPrompt_;
  std::vector<std::u16string> shownMenu_;
  int32_t shownCommand_ = 0;
  std::u16string shownLeaderText_;
  DrawingPicture picture_;
  CanvasPicture canvasPicture_;
  std::optional<SimPoint> shownArrow_;
  // A rectangle being dragged in the select command: where the press was, where the pointer is.
  std::optional<POINT> dragFrom_;
  POINT dragTo_ = {};
};
