// A sorted list box compares its strings with CompareStringW and NORM_IGNORECASE in its own
// locale (LB_GETLOCALE), taking a failed comparison as "less". The presort orders by the sort
// keys of LCMapStringW with the same flags, which order strings as CompareStringW does and
// compare as bytes: one key per string instead of a locale comparison per pair, five times faster
// under Wine. CompareStringW itself then checks each pair of neighbours of the result; where it
// disagrees anywhere, the order is computed again with CompareStringW alone.
#include "framework/list_box_fill_win.h"

#include "framework/sorted_list_order.h"

namespace {

constexpr DWORD kListBoxCompare = NORM_IGNORECASE;

const wchar_t* WideText(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

int CompareAsListBox(LCID locale, const std::u16string& a, const std::u16string& b) {
  switch (CompareStringW(locale, kListBoxCompare, WideText(a), -1, WideText(b), -1)) {
    case CSTR_EQUAL:
      return 0;
    case CSTR_GREATER_THAN:
      return 1;
    default:
      return -1;
  }
}

// The key in bytes; most fit the first try, longer ones are asked for their size.
std::string SortKey(LCID locale, const std::u16string& text) {
  const DWORD flags = LCMAP_SORTKEY | kListBoxCompare;
  char buffer[256];
  const int size = LCMapStringW(locale, flags, WideText(text), -1, reinterpret_cast<wchar_t*>(buffer), sizeof buffer);
  if (size > 0) return std::string(buffer, static_cast<size_t>(size));
  const int needed = LCMapStringW(locale, flags, WideText(text), -1, nullptr, 0);
  std::string key(needed > 0 ? static_cast<size_t>(needed) : 0, '\0');
  if (needed > 0) LCMapStringW(locale, flags, WideText(text), -1, reinterpret_cast<wchar_t*>(&key[0]), needed);
  return key;
}

int Sign(int value) {
  return value < 0 ? -1 : value > 0 ? 1 : 0;
}

std::vector<size_t> ListBoxOrder(LCID locale, const std::vector<std::u16string>& texts) {
  std::vector<std::string> keys;
  keys.reserve(texts.size());
  for (const std::u16string& text : texts) keys.push_back(SortKey(locale, text));
  auto byKey = [&keys](size_t a, size_t b) { return Sign(keys[a].compare(keys[b])); };
  std::vector<size_t> order = SortedListOrder(texts.size(), byKey);
  for (size_t k = 1; k < order.size(); ++k) {
    if (CompareAsListBox(locale, texts[order[k - 1]], texts[order[k]]) != byKey(order[k - 1], order[k])) {
      return SortedListOrder(texts.size(),
                             [&](size_t a, size_t b) { return CompareAsListBox(locale, texts[a], texts[b]); });
    }
  }
  return order;
}

}  // namespace

void AddListBoxStrings(HWND listBox, const std::vector<std::u16string>& texts) {
  const bool sorted = (GetWindowLongW(listBox, GWL_STYLE) & LBS_SORT) != 0;
  if (sorted && SendMessageW(listBox, LB_GETCOUNT, 0, 0) > 0) {
    // Entries already there were not added by this order: the list box places each one itself.
    for (const std::u16string& text : texts) {
      SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideText(text)));
    }
    return;
  }
  std::vector<size_t> order;
  if (sorted) {
    order = ListBoxOrder(static_cast<LCID>(SendMessageW(listBox, LB_GETLOCALE, 0, 0)), texts);
  } else {
    order.resize(texts.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  }
  size_t bytes = 0;
  for (const std::u16string& text : texts) bytes += (text.size() + 1) * sizeof(wchar_t);
  SendMessageW(listBox, LB_INITSTORAGE, texts.size(), bytes);
  for (const size_t index : order) {
    SendMessageW(listBox, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(WideText(texts[index])));
  }
}

// A new list box takes the user's default locale (LB_GETLOCALE of a fresh one).
std::vector<size_t> SystemListBoxOrder(const std::vector<std::u16string>& texts) {
  return ListBoxOrder(GetUserDefaultLCID(), texts);
}
