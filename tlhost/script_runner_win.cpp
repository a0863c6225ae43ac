// Each command of the script language, as the host carries it out.
#include "tlhost/script_runner_win.h"

#include <cwctype>

#include "host/host_names.h"
#include "tlhost/addin_stores_win.h"
#include "tlhost/dialog_driver_win.h"
#include "tlhost/png_file_win.h"
#include "tlhost/utf8_text.h"

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// "1", "2" for a transcript or a failure; (none) for an empty list.
std::string Listed(const std::vector<std::string>& texts) {
  std::string out;
  for (const std::string& text : texts) out += (out.empty() ? "\"" : ", \"") + text + "\"";
  return out.empty() ? "(none)" : out;
}

std::vector<std::string> Narrowed(const std::vector<std::u16string>& texts) {
  std::vector<std::string> out;
  for (const std::u16string& text : texts) out.push_back(Utf16ToUtf8(text));
  return out;
}

bool IsAbsolute(const std::string& path) {
  return path.size() > 1 && (path[0] == '\\' || path[0] == '/' || path[1] == ':');
}

struct DialogSearch {
  HWND found = nullptr;
};

BOOL CALLBACK FindActiveDialog(HWND window, LPARAM context) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (std::wstring(className) == L"#32770" && IsWindowVisible(window) && IsWindowEnabled(window)) {
    reinterpret_cast<DialogSearch*>(context)->found = window;
    return FALSE;
  }
  return TRUE;
}

std::wstring WindowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

}  // namespace

ScriptRunner::ScriptRunner(SimHost& host, std::wstring outFolder, HostWindow::Log log)
    : host_(host), outFolder_(std::move(outFolder)), log_(std::move(log)) {
  if (!outFolder_.empty() && outFolder_.back() != L'\\' && outFolder_.back() != L'/') outFolder_ += L'\\';
}

std::wstring ScriptRunner::OutPath(const std::string& name) const {
  return IsAbsolute(name) || outFolder_.empty() ? Utf8ToWide(name) : outFolder_ + Utf8ToWide(name);
}

void ScriptRunner::Fail(const ScriptStep& step, const std::string& what) {
  if (failure_.empty()) failure_ = step.Where() + ": " + what;
}

void ScriptRunner::Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

bool ScriptRunner::Run(const std::vector<ScriptStep>& steps) {
  for (const ScriptStep& step : steps) {
    if (step.Verb() != "say") log_("> " + step.understood);
    current_ = &step;
    Step(step);
    Pump();
    // An answer of the add-in that a strict host refuses fails the step it came in.
    if (!window_->Addin().WrongAnswer().empty()) Fail(step, window_->Addin().WrongAnswer());
    if (!failure_.empty()) break;
  }
  if (failure_.empty() && !answers_.empty()) {
    Fail(*answers_.front(), "these answers were never used: no dialog opened after them");
  }
  if (!window_->Shutdown() && failure_.empty()) failure_ = "the host's shutdown: the add-in kept host objects";
  return failure_.empty();
}

bool ScriptRunner::NeedAddin(const ScriptStep& step, bool loaded) {
  if (window_->Addin().Loaded() == loaded) return true;
  Fail(step, loaded ? "the add-in is not loaded: add a \"load\" line before this one"
                    : "the add-in is loaded: it reads its settings when it loads and writes them when it unloads, so "
                      "\"unload\" first");
  return false;
}

int ScriptRunner::ToolIndex(const std::string& name) const {
  const std::vector<AddinToolInfo>& tools = window_->Addin().Tools();
  long index = 0;
  if (ReadInteger(name, &index)) return index >= 0 && static_cast<size_t>(index) < tools.size() ? index : -1;
  const auto plain = [](const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
      if (c != L'&') out += static_cast<wchar_t>(std::towlower(c));
    }
    return out.rfind(L"tl ", 0) == 0 ? out.substr(3) : out;
  };
  const std::wstring wanted = plain(Utf8ToWide(name));
  for (size_t i = 0; i < tools.size(); ++i) {
    const std::wstring& path = tools[i].commandName;
    if (plain(tools[i].caption) == wanted || plain(path.substr(path.rfind(L'|') + 1)) == wanted) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

void ScriptRunner::SendClick(const ScriptStep& step, UINT down, UINT up, bool twice) {
  double x = 0, y = 0;
  int pixelX = -1, pixelY = -1;
  RECT client = {};
  GetClientRect(window_->Canvas(), &client);
  // The point was checked against the sheet when the script was read; the window is checked too,
  // so that no point is ever wrapped into a message's 16 bits.
  if (!ReadNumber(step.Arg(0), &x) || !ReadNumber(step.Arg(1), &y) || !SceneView::PixelOf(x, y, &pixelX, &pixelY) ||
      pixelX >= client.right || pixelY >= client.bottom) {
    return Fail(step, "the window cannot show the point " + step.Arg(0) + " " + step.Arg(1));
  }
  const WPARAM keys = step.ArgCount() > 2 && step.Arg(2) == "shift" ? MK_SHIFT : 0;
  const LPARAM at = MAKELPARAM(pixelX, pixelY);
  const WPARAM button = down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON;
  HWND canvas = window_->Canvas();
  SendMessageW(canvas, down, keys | button, at);
  SendMessageW(canvas, up, keys, at);
  if (twice) {
    SendMessageW(canvas, WM_LBUTTONDBLCLK, keys | button, at);
    SendMessageW(canvas, up, keys, at);
  }
}

void ScriptRunner::Step(const ScriptStep& step) {
  const std::string& verb = step.Verb();
  if (verb == "load") {
    if (!NeedAddin(step, false)) return;
    const HRESULT hr = window_->LoadAddin();
    if (!window_->Addin().WrongAnswer().empty()) return Fail(step, window_->Addin().WrongAnswer());
    if (FAILED(hr)) {
      char code[16];
      std::snprintf(code, sizeof(code), "0x%08lx", static_cast<unsigned long>(hr));
      Fail(step, std::string("cannot load Varnkit_TL.Tallyline: ") + code + " (is the DLL registered?)");
    }
  } else if (verb == "unload") {
    if (NeedAddin(step, true)) window_->UnloadAddin();
  } else if (verb == "forget" || verb == "setting" || verb == "picklist" || verb == "version") {
    Machine(step);
  } else if (verb == "tool") {
    if (!NeedAddin(step, true)) return;
    const int tool = ToolIndex(step.Arg(0));
    if (tool < 0) return Fail(step, "the add-in has no tool \"" + step.Arg(0) + "\"");
    if (!window_->ToolStates()[static_cast<size_t>(tool)].enabled) {
      return Fail(step, "the button of \"" + step.Arg(0) + "\" is disabled");
    }
    SendMessageW(window_->Frame(), WM_COMMAND, kCommandToolBase + tool, 0);
  } else if (verb == "menu" || verb == "undo" || verb == "redo") {
    const std::wstring path = verb == "menu" ? Utf8ToWide(step.Arg(0)) : verb == "undo" ? L"Edit|Undo" : L"Edit|Redo";
    const int command = window_->FindMenuCommand(path);
    if (command == 0) return Fail(step, "the menus have no entry \"" + WideToUtf8(path) + "\"");
    if (!window_->MenuCommandEnabled(command))
      return Fail(step, "the menu entry \"" + WideToUtf8(path) + "\" is disabled");
    SendMessageW(window_->Frame(), WM_COMMAND, static_cast<WPARAM>(command), 0);
  } else if (verb == "click" || verb == "dblclick") {
    SendClick(step, WM_LBUTTONDOWN, WM_LBUTTONUP, verb == "dblclick");
  } else if (verb == "rightclick") {
    bool offered = false;
    window_->SetLocalMenuChooser([&](const HostLocalMenu& menu) {
      offered = true;
      if (step.ArgCount() < 3) return -1;
      long index = -1;
      if (ReadInteger(step.Arg(2), &index))
        return index >= 0 && static_cast<size_t>(index) < menu.captions.size() ? static_cast<int>(index) : -1;
      for (size_t i = 0; i < menu.captions.size(); ++i) {
        if (Utf16ToUtf8(menu.captions[i]) == step.Arg(2)) return static_cast<int>(i);
      }
      Fail(step, "the local menu has no entry \"" + step.Arg(2) + "\"; it offers " + Listed(Narrowed(menu.captions)));
      return -1;
    });
    SendClick(step, WM_RBUTTONDOWN, WM_RBUTTONUP, false);
    window_->SetLocalMenuChooser(nullptr);
    if (step.ArgCount() > 2 && !offered) Fail(step, "no local menu was offered: the add-in has set none");
  } else if (verb == "select" && step.Arg(0) == "box") {
    double corner[4] = {};
    for (size_t i = 0; i < 4; ++i) ReadNumber(step.Arg(i + 1), &corner[i]);
    window_->SelectBox(SimPoint{corner[0], corner[1], 0.0}, SimPoint{corner[2], corner[3], 0.0}, step.ArgCount() > 5);
  } else if (verb == "select") {
    std::vector<int32_t> ids;
    if (step.Arg(0) == "at") {
      double x = 0, y = 0;
      ReadNumber(step.Arg(1), &x);
      ReadNumber(step.Arg(2), &y);
      const int32_t hit = GraphicAt(host_.Model(), host_.ActiveDrawing(), SimPoint{x, y, 0.0});
      if (hit == 0) return Fail(step, "there is no graphic at " + step.Arg(1) + " " + step.Arg(2));
      if (step.ArgCount() > 3 && host_.Model().Drawing(host_.ActiveDrawing()) != nullptr) {
        ids = host_.Model().Drawing(host_.ActiveDrawing())->selection;
      }
      ids.push_back(hit);
    } else if (step.Arg(0) != "none") {
      for (size_t i = 0; i < step.ArgCount(); ++i) {
        long id = 0;
        ReadInteger(step.Arg(i), &id);
        if (host_.Model().Graphic(static_cast<int32_t>(id)) == nullptr) {
          return Fail(step, "there is no graphic " + step.Arg(i));
        }
        ids.push_back(static_cast<int32_t>(id));
      }
    }
    window_->SelectGraphics(ids);
  } else if (verb == "poll") {
    if (NeedAddin(step, true)) window_->PollTools();
  } else if (verb == "dialog") {
    answers_.push_back(&step);
  } else if (verb == "expect") {
    Expect(step);
  } else if (verb == "save") {
    Save(step);
  } else if (verb == "show") {
    for (const std::string& line : step.Arg(0) == "settings" ? DescribeSettings() : DescribePickList()) log_(line);
  } else if (verb == "say") {
    log_(step.Arg(0));
  } else if (verb == "host") {
    RunOtherHosts(step);
  }
}

// Other reference hosts on this machine (its registry, its data folder), one for each script,
// all started at once, as two drafting programs that share a picklist: the step waits for every
// one of them, pumping this host's messages, and fails when one of them failed.
void ScriptRunner::RunOtherHosts(const ScriptStep& step) {
  wchar_t self[MAX_PATH] = {};
  if (GetModuleFileNameW(nullptr, self, MAX_PATH) == 0) return Fail(step, "cannot find tlhost.exe itself");
  const std::string folder = step.file.substr(0, step.file.find_last_of("\\/") + 1);
  std::vector<HANDLE> running;
  std::vector<std::string> names;
  for (size_t i = 0; i < step.ArgCount(); ++i) {
    const std::string& script = step.Arg(i);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --script \"" +
                           Utf8ToWide(IsAbsolute(script) ? script : folder + script) + L"\"";
    if (!outFolder_.empty()) command += L" --out \"" + outFolder_ + L"host " + std::to_wstring(i + 1) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
      Fail(step, "cannot start a host for " + script);
      break;
    }
    CloseHandle(process.hThread);
    running.push_back(process.hProcess);
    names.push_back(script);
  }
  for (size_t done = 0; done < running.size();) {
    const DWORD woke = MsgWaitForMultipleObjects(1, &running[done], FALSE, 50, QS_ALLINPUT);
    if (woke == WAIT_FAILED) break;
    Pump();
    while (done < running.size() && WaitForSingleObject(running[done], 0) == WAIT_OBJECT_0) ++done;
  }
  for (size_t i = 0; i < running.size(); ++i) {
    DWORD code = 1;
    WaitForSingleObject(running[i], INFINITE);
    GetExitCodeProcess(running[i], &code);
    CloseHandle(running[i]);
    if (code != 0) Fail(step, "the host of " + names[i] + " failed (exit code " + std::to_string(code) + ")");
  }
  log_("  " + std::to_string(running.size()) + " other host(s) ran");
}

void ScriptRunner::Machine(const ScriptStep& step) {
  if (!NeedAddin(step, false)) return;
  const std::string& verb = step.Verb();
  if (verb == "forget") {
    ForgetSettings();
  } else if (verb == "setting") {
    std::string problem;
    if (!WriteSetting(step.Arg(0), step.Arg(1), &problem)) Fail(step, problem);
  } else if (verb == "picklist") {
    std::string problem;
    if (!WritePickList(std::vector<std::string>(step.words.begin() + 1, step.words.end()), &problem)) {
      Fail(step, problem);
    }
  } else if (verb == "version") {
    const std::wstring version = Utf8ToWide(step.Arg(0));
    host_.SetVersionText(std::u16string(version.begin(), version.end()));
  }
}

void ScriptRunner::Expect(const ScriptStep& step) {
  const std::string what = step.Arg(0);
  const std::vector<std::string> wanted(step.words.begin() + 2, step.words.end());
  const SimDrawingData* drawing = host_.Model().Drawing(host_.ActiveDrawing());
  std::vector<std::string> leaders, texts;
  if (drawing != nullptr) {
    for (int32_t id : drawing->graphics) {
      const SimGraphicData* graphic = host_.Model().Graphic(id);
      if (graphic != nullptr && graphic->typeName == kLeaderTypeName) leaders.push_back(Utf16ToUtf8(graphic->info));
      if (graphic != nullptr && graphic->typeName == kTextTypeName) texts.push_back(Utf16ToUtf8(graphic->info));
    }
  }
  const auto compare = [&](const std::string& subject, const std::vector<std::string>& actual) {
    if (actual != wanted) Fail(step, subject + " " + Listed(actual) + "; expected " + Listed(wanted));
  };
  if (what == "leaders") return compare("the leaders read", leaders);
  if (what == "texts") return compare("the free texts read", texts);
  if (what == "undo") return compare("the undo steps are", Narrowed(host_.UndoCaptions()));
  if (what == "menu") {
    std::vector<std::string> captions = Narrowed(host_.LocalMenu().captions);
    captions.resize(static_cast<size_t>(std::max(0, host_.LocalMenuCount())));
    return compare("the local menu offers", captions);
  }
  if (what == "leader") {
    long position = static_cast<long>(leaders.size());
    if (step.Arg(1) != "last" && (!ReadInteger(step.Arg(1), &position) || position < 1)) position = 0;
    if (position < 1 || static_cast<size_t>(position) > leaders.size()) {
      return Fail(step, "there is no leader " + step.Arg(1) + ": the drawing holds " + std::to_string(leaders.size()) +
                            " leader(s)");
    }
    const std::string& actual = leaders[static_cast<size_t>(position - 1)];
    if (actual != step.Arg(2)) {
      Fail(step, "leader " + step.Arg(1) + " has the text \"" + actual + "\"; expected \"" + step.Arg(2) + "\"");
    }
    return;
  }
  if (what == "next" || what == "prompt") {
    const std::string actual = Utf16ToUtf8(what == "next" ? host_.LeaderToolText() : host_.Prompt());
    if (actual != step.Arg(1)) {
      Fail(step, std::string(what == "next" ? "the leader tool holds" : "the prompt reads") + " \"" + actual +
                     "\"; expected \"" + step.Arg(1) + "\"");
    }
    return;
  }
  if (what == "command") {
    const int32_t command = host_.ActiveCommand();
    const std::string actual = command == kSimCommandLeader   ? "leader"
                               : command == kSimCommandSelect ? "select"
                               : command == 0                 ? "none"
                                                              : "other";
    if (actual != Lower(step.Arg(1))) Fail(step, "the host command is " + actual + "; expected " + step.Arg(1));
    return;
  }
  if (what == "picklist") {
    std::vector<std::string> items;
    if (!ReadPickList(&items)) return Fail(step, "there is no picklist file");
    return compare("the picklist file holds", items);
  }
  if (what == "setting") {
    std::string value = "(none)";
    const bool found = ReadSetting(step.Arg(1), &value);
    if (!found || value != step.Arg(2)) {
      Fail(step, "the setting " + step.Arg(1) + " is " + (found ? "\"" + value + "\"" : value) + "; expected \"" +
                     step.Arg(2) + "\"");
    }
    return;
  }
  if (what == "file") return ExpectFile(step, OutPath(step.Arg(1)));
  if (what == "canvas") {
    if (!window_->CanvasShowsDrawing()) {
      Fail(step,
           "the window shows another picture than the drawing painted whole: a change was not painted "
           "again everywhere it touched");
    }
    return;
  }
  if (what == "graphics") {
    const size_t count = drawing == nullptr ? 0 : drawing->graphics.size();
    long wantedCount = -1;
    ReadInteger(step.Arg(1), &wantedCount);
    if (static_cast<long>(count) != wantedCount) {
      Fail(step, "the drawing holds " + std::to_string(count) + " graphics; expected " + step.Arg(1));
    }
    return;
  }
  if (what == "tool") {
    if (!NeedAddin(step, true)) return;
    const int tool = ToolIndex(step.Arg(1));
    if (tool < 0) return Fail(step, "the add-in has no tool \"" + step.Arg(1) + "\"");
    const ToolState state = window_->ToolStates()[static_cast<size_t>(tool)];
    for (size_t i = 2; i < step.ArgCount(); ++i) {
      const std::string word = Lower(step.Arg(i));
      const bool known = word == "enabled" || word == "disabled" || word == "checked" || word == "unchecked";
      if (!known) return Fail(step, "a button is enabled, disabled, checked or unchecked, not \"" + step.Arg(i) + "\"");
      const bool actual = word == "enabled" || word == "disabled" ? state.enabled : state.checked;
      const bool wantedOn = word == "enabled" || word == "checked";
      if (actual != wantedOn) {
        return Fail(step, "the button of \"" + step.Arg(1) + "\" is " +
                              (word == "enabled" || word == "disabled" ? (state.enabled ? "enabled" : "disabled")
                                                                       : (state.checked ? "checked" : "unchecked")) +
                              "; expected " + word);
      }
    }
  }
}

// Each folder of the path and the file itself under the very names the file system gives them:
// a name beyond ASCII that reached the disk changed fails here, and so does a folder. The path is
// searched in its \\?\ form, so that a file beyond MAX_PATH that `save` wrote is found too.
void ScriptRunner::ExpectFile(const ScriptStep& step, const std::wstring& path) {
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  std::wstring wanted(size, L'\0');
  const DWORD length = size == 0 ? 0 : GetFullPathNameW(path.c_str(), size, &wanted[0], nullptr);
  if (length == 0 || length >= size) return Fail(step, "cannot read the path " + WideToUtf8(path));
  wanted.resize(length);
  const bool drive = wanted.size() > 2 && wanted[1] == L':' && wanted[2] == L'\\';
  const std::wstring searched = drive ? L"\\\\?\\" : L"";
  std::wstring real = wanted.substr(0, wanted.find(L'\\') + 1);
  WIN32_FIND_DATAW found = {};
  for (size_t start = real.size(); start < wanted.size();) {
    size_t end = wanted.find(L'\\', start);
    if (end == std::wstring::npos) end = wanted.size();
    HANDLE search = FindFirstFileW((searched + wanted.substr(0, end)).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return Fail(step, "there is no " + WideToUtf8(wanted.substr(0, end)));
    FindClose(search);
    real += found.cFileName;
    if (end < wanted.size()) real += L'\\';
    start = end + 1;
  }
  if (real != wanted) return Fail(step, "the file is named " + WideToUtf8(real) + "; expected " + WideToUtf8(wanted));
  if (real.size() <= 3 || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    Fail(step, WideToUtf8(wanted) + " is a folder, not a file");
  }
}

void ScriptRunner::Save(const ScriptStep& step) {
  const std::string& kind = step.Arg(0);
  if (kind == "toolbar" && !NeedAddin(step, true)) return;  // the bar has buttons only while it is loaded
  const std::wstring path = OutPath(step.Arg(1));
  CreateFolders(path);  // the out folder with its parents, made when a file goes there
  HRESULT hr = E_FAIL;
  if (kind == "svg") {
    hr = window_->SaveSvg(path);
  } else if (kind == "png") {
    hr = window_->ExportPng(path);
  } else if (kind == "window") {
    hr = DialogUser(window_->Frame()).SaveScreenshot(path) ? S_OK : E_FAIL;
  } else if (kind == "buttons") {
    hr = window_->Addin().Buttons() != nullptr ? SaveBitmapAsPng(window_->Addin().Buttons(), path.c_str()) : E_FAIL;
  } else if (kind == "toolbar") {
    hr = window_->SaveToolbarShot(path) ? S_OK : E_FAIL;
  }
  if (FAILED(hr)) return Fail(step, "cannot write " + WideToUtf8(path));
  log_("  wrote " + WideToUtf8(path));
}

void ScriptRunner::OnTick() {
  for (auto it = answered_.begin(); it != answered_.end();)
    it = IsWindow(it->first) ? std::next(it) : answered_.erase(it);
  DialogSearch search;
  EnumThreadWindows(GetCurrentThreadId(), FindActiveDialog, reinterpret_cast<LPARAM>(&search));
  if (search.found != nullptr) AnswerDialog(search.found);
}

void ScriptRunner::AnswerDialog(HWND dialog) {
  const std::string caption = WideToUtf8(WindowText(dialog));
  if (const auto played = answered_.find(dialog); played != answered_.end()) {
    // Its answers are all played and it is still open and in charge.
    Fail(*played->second, "the dialog \"" + caption + "\" was still open after these answers");
    EndDialog(dialog, IDCANCEL);
    return;
  }
  if (answers_.empty()) {
    if (current_ != nullptr)
      Fail(*current_, "the dialog \"" + caption + "\" opened and the script had no answer for it");
    log_("  dialog \"" + caption + "\" unanswered: closed with Cancel");
    EndDialog(dialog, IDCANCEL);
    return;
  }
  const ScriptStep* answers = answers_.front();
  answers_.pop_front();
  if (answers->ArgCount() > 0 && answers->Arg(0) != caption) {
    Fail(*answers, "the dialog that opened is \"" + caption + "\"; expected \"" + answers->Arg(0) + "\"");
    EndDialog(dialog, IDCANCEL);
    return;
  }
  answered_[dialog] = answers;
  log_("  dialog \"" + caption + "\" opened; answers from " + answers->Where());
  for (const ScriptStep& answer : answers->answers) {
    if (!IsWindow(dialog) || !PlayAnswer(dialog, answer)) break;
  }
  if (!failure_.empty() && IsWindow(dialog)) EndDialog(dialog, IDCANCEL);
}

bool ScriptRunner::PlayAnswer(HWND dialog, const ScriptStep& answer) {
  const std::string& verb = answer.Verb();
  DialogUser user(dialog);
  if (verb == "shot") {
    const std::wstring path = OutPath(answer.Arg(0));
    CreateFolders(path);
    if (!user.SaveScreenshot(path)) Fail(answer, "cannot write " + WideToUtf8(path));
    log_("    screenshot " + WideToUtf8(path));
    return failure_.empty();
  }
  const int id = ControlIdOf(answer.Arg(0));
  HWND control = GetDlgItem(dialog, id);
  if (control == nullptr) {
    Fail(answer, "the dialog has no control " + answer.Arg(0));
    return false;
  }
  if (verb != "shows" && !IsWindowEnabled(control)) {
    Fail(answer, "the control " + answer.Arg(0) + " is disabled");
    return false;
  }
  std::string said = "    " + verb + " " + answer.Arg(0);
  if (verb == "type") {
    user.Type(id, Utf8ToWide(answer.Arg(1)));
    said += " \"" + answer.Arg(1) + "\"";
  } else if (verb == "pick" || verb == "dblpick") {
    long index = -1;
    if (!ReadInteger(answer.Arg(1), &index)) {
      for (int i = 0; i < user.ListCount(id) && index < 0; ++i) {
        if (WideToUtf8(user.ListText(id, i)) == answer.Arg(1)) index = i;
      }
    }
    if (index < 0 || index >= user.ListCount(id)) {
      Fail(answer, "the list " + answer.Arg(0) + " has no entry " + answer.Arg(1));
      return false;
    }
    said += " \"" + WideToUtf8(user.ListText(id, static_cast<int>(index))) + "\"";
    log_(said);
    if (verb == "pick") {
      user.SelectListEntry(id, static_cast<int>(index));
    } else {
      user.DoubleClickListEntry(id, static_cast<int>(index));
    }
    return failure_.empty();
  } else if (verb == "check") {
    long wanted = 0;
    ReadInteger(answer.Arg(1), &wanted);
    // Clicks, as a user does, until the box shows the state (a three-state box takes two).
    for (int clicks = 0; clicks < 3 && user.Check(id) != wanted; ++clicks) user.Click(id);
    said += " " + answer.Arg(1);
    if (IsWindow(dialog) && user.Check(id) != wanted)
      Fail(answer, "the box " + answer.Arg(0) + " does not take " + answer.Arg(1));
  } else if (verb == "press") {
    log_(said);
    user.Click(id);
    return failure_.empty();
  } else if (verb == "shows") {
    const std::string actual = WideToUtf8(user.Text(id));
    if (actual != answer.Arg(1)) {
      Fail(answer, "the control " + answer.Arg(0) + " shows \"" + actual + "\"; expected \"" + answer.Arg(1) + "\"");
    }
  }
  log_(said);
  return failure_.empty();
}
