// How long the pick dialog takes to open and to close after OK with long picklists, under Wine
// and with the DLL's own code: the Picklist tool's ShowPickList over the real dialog template,
// answered by a user on a second thread who waits for the dialog, types a text and presses OK.
//
// Under a window manager Wine waits up to two seconds for it to withdraw each dialog that ends
// (the project's sessions leave windows unmanaged, which skips that wait), so the absolute times
// mean little; the table gives each size's times as differences from the 10-item run as well. One
// table for a list kept in ANSI, one for a list kept in UTF-8 whose items hold characters that
// no ANSI code page holds together.
//
//   pick_dialog_timing.exe [runs per size]     (default 3; each row is the median)
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "addin/com_server/dll_tool_services_win.h"
#include "framework/code_page_win.h"
#include "framework/utf8.h"
#include "pick_list/pick_list_records.h"
#include "resources/resource_ids.h"

namespace {

const wchar_t kCaption[] = L"Tallyline - Pick Text from List";

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Part names in random order, a third of them with a twin that differs only in letter case; in
// UTF-8 every other one carries a diameter sign, a "less or equal" and a Japanese word.
std::vector<std::string> MakeItems(int count, bool utf8) {
  static const char* const kWords[] = {"valve", "pump", "flange", "elbow", "tee", "gasket", "bolt", "nut"};
  std::mt19937 random(static_cast<unsigned>(count));
  std::vector<std::string> items;
  while (static_cast<int>(items.size()) < count) {
    std::string item = std::string(kWords[random() % 8]) + " " + std::to_string(random() % 100000);
    if (utf8 && random() % 2 == 0) item += " \xE2\x8C\x80 5 \xE2\x89\xA4 \xE5\x9B\xB3\xE9\x9D\xA2";
    for (char& c : item) {
      if (random() % 4 == 0) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    }
    items.push_back(item);
    if (random() % 3 == 0 && static_cast<int>(items.size()) < count) {
      item[0] = static_cast<char>(item[0] ^ 0x20);
      items.push_back(item);
    }
  }
  return items;
}

struct Timing {
  double open = 0;     // from the call until the dialog shows
  double confirm = 0;  // from pressing OK until the call returns
  bool checked = false;
};

// One pick: open, type, OK.
Timing Pick(DllToolServices& services, const std::u16string& listText, size_t itemCount, const std::u16string& typed) {
  StoredOptions options;
  options.PickListText = listText;
  std::u16string pickText;
  std::atomic<double> shown{0}, pressed{0};
  std::thread user([&] {
    HWND dialog = nullptr;
    while ((dialog = FindWindowW(L"#32770", kCaption)) == nullptr || !IsWindowVisible(dialog)) Sleep(1);
    shown = Seconds();
    SetDlgItemTextW(dialog, IDC_PICK_EDIT, reinterpret_cast<const wchar_t*>(typed.c_str()));
    pressed = Seconds();
    SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  });
  const double start = Seconds();
  services.ShowPickList(options, pickText);
  const double end = Seconds();
  user.join();

  Timing timing{shown - start, end - pressed, false};
  timing.checked = pickText == typed && options.PickListText &&
                   IsUtf8List(*options.PickListText) == IsUtf8List(listText) &&
                   FindRecordItems(std::u16string_view(*options.PickListText)).size() == itemCount + 1;
  return timing;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The table of one encoding; false when a pick did not give back the typed text and the list.
bool TimeEncoding(DllToolServices& services, int runs, bool utf8) {
  const std::u16string typed = utf8 ? u"Typed \u2300 \u56f3\u9762" : u"Typed text";
  std::printf("\nList kept in %s\n", utf8 ? "UTF-8" : "ANSI");
  std::printf("%9s %9s %9s %14s %14s %14s\n", "items", "open", "confirm", "open - 10", "confirm - 10", "pick - 10");
  double baseOpen = 0, baseConfirm = 0;
  bool allChecked = true;
  for (const int count : {10, 1000, 20000, 200000}) {
    const std::vector<std::string> items = MakeItems(count, utf8);
    const std::u16string listText =
        (utf8 ? std::u16string(1, kByteOrderMark) : u"") + Utf8ToUtf16(BuildPickList(items));
    std::vector<double> open, confirm;
    for (int run = 0; run < runs; ++run) {
      const Timing timing = Pick(services, listText, items.size(), typed);
      allChecked = allChecked && timing.checked;
      open.push_back(timing.open);
      confirm.push_back(timing.confirm);
    }
    const double medianOpen = Median(open), medianConfirm = Median(confirm);
    if (count == 10) baseOpen = medianOpen, baseConfirm = medianConfirm;
    std::printf("%9d %9.3f %9.3f %14.3f %14.3f %14.3f\n", count, medianOpen, medianConfirm, medianOpen - baseOpen,
                medianConfirm - baseConfirm, medianOpen - baseOpen + medianConfirm - baseConfirm);
    std::fflush(stdout);
  }
  return allChecked;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const AnsiCodePage codePage;
  DllToolServices services(codePage);
  std::printf("Pick dialog under Wine (open, type, OK), median of %d runs, seconds\n", runs);
  const bool allChecked = TimeEncoding(services, runs, false) && TimeEncoding(services, runs, true);
  if (!allChecked) std::printf("A pick did not give back the typed text and the list with it.\n");
  return allChecked ? 0 : 1;
}
