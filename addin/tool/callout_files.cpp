// The parts list and the callout table on disk.
#include "addin/tool/callout_files.h"

#include "framework/utf8.h"
#include "pick_list/pick_list_problems.h"

namespace {

constexpr char kRenumberMessageCaption[] = "Tallyline - Renumber";

// The path for the file port; false when the code page cannot hold a character of it.
bool AnsiPath(FileSystem& files, const CodePage& codePage, const std::string& utf8, std::string* ansi) {
  const std::u16string utf16 = Utf8ToUtf16(utf8);
  if (!AnsiHolds(codePage, utf16)) return false;
  *ansi = files.ExpandEnvironment(codePage.ToAnsi(utf16));
  return true;
}

}  // namespace

std::optional<PartsList> LoadPartsList(FileSystem& files, const CodePage& codePage, const std::string& path,
                                       int32_t format, const LabelStyle& style, std::string* problem) {
  try {
    std::string ansi, bytes;
    if (!AnsiPath(files, codePage, path, &ansi)) {
      *problem = "Parts list " + path + ": cannot be read (its name holds characters Windows' code page lacks).";
      return std::nullopt;
    }
    const HRESULT hr = files.ReadWholeFile(ansi, &bytes);
    if (FAILED(hr)) {
      *problem = "Parts list " + path + ": cannot be read (" + FileFailureCause(hr) + ").";
      return std::nullopt;
    }
    return ReadPartsList(bytes, codePage, format < 0 ? Arabic : format, style);
  } catch (...) {
    *problem = "Parts list " + path + ": cannot be read (out of memory).";
    return std::nullopt;
  }
}

void SaveCalloutTable(FileSystem& files, const CodePage& codePage, DialogRunner& runner, const std::string& table) {
  const std::string path = runner.ChooseFile(FileDialogKind::Save, "callouts.csv",
                                             {{"CSV files (*.csv)", "*.csv"}, {"All files (*.*)", "*.*"}});
  if (path.empty()) return;
  std::string ansi;
  HRESULT hr = E_FAIL;
  const char* cause = "its name holds characters Windows' code page lacks";
  if (AnsiPath(files, codePage, path, &ansi)) {
    hr = files.WriteWholeFile(ansi, table);
    cause = FileFailureCause(hr);
  }
  if (SUCCEEDED(hr)) return;
  // The message box texts are ANSI: a name the code page lacks shows with '?' there.
  runner.ShowMessage(
      codePage.ToAnsi(Utf8ToUtf16("The callout list could not be written to " + path + ": " + cause + ".")),
      kRenumberMessageCaption, kMbOk | kMbIconExclamation);
}
