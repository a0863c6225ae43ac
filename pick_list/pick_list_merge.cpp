// The merge counts each text's items on the three sides in one hash table, so that two lists of
// a hundred thousand items merge in about the time of reading them.
#include "pick_list/pick_list_merge.h"

#include <algorithm>
#include <unordered_map>

#include "framework/sorted_list_order.h"
#include "framework/utf8.h"

namespace {

struct Counts {
  long base = 0;
  long ours = 0;
  long theirs = 0;
  long emitted = 0;
  // How many items of the text the merge keeps.
  long Merged() const {
    const long oursAdded = ours - base, theirsAdded = theirs - base;
    long merged = 0;
    if (oursAdded > 0 && theirsAdded > 0) {
      merged = base + std::max(oursAdded, theirsAdded);  // both added: once
    } else if (oursAdded < 0 && theirsAdded < 0) {
      merged = base + std::min(oursAdded, theirsAdded);  // both removed: once
    } else {
      merged = base + oursAdded + theirsAdded;
    }
    return std::max(0L, merged);
  }
};

}  // namespace

std::vector<size_t> PlainListOrder(const std::vector<std::u16string>& texts) {
  return SortedListOrder(
      texts.size(), [&texts](size_t a, size_t b) { return CompareIgnoringAsciiCase<char16_t>(texts[a], texts[b]); });
}

std::vector<std::u16string_view> MergeItems(const std::vector<std::u16string_view>& base,
                                            const std::vector<std::u16string_view>& ours,
                                            const std::vector<std::u16string_view>& theirs, bool takeTheirRemovals) {
  std::unordered_map<std::u16string_view, Counts> counts;
  counts.reserve(theirs.size() + ours.size() / 8 + 16);
  for (const std::u16string_view item : base) ++counts[item].base;
  for (const std::u16string_view item : ours) ++counts[item].ours;
  for (const std::u16string_view item : theirs) ++counts[item].theirs;
  if (!takeTheirRemovals) {
    for (auto& [text, count] : counts) count.theirs = std::max(count.theirs, count.base);
  }
  // No text keeps more items than the side with more of them holds: theirs, then ours, give them
  // all (and the base, for what a damaged file lost).
  std::vector<std::u16string_view> merged;
  merged.reserve(theirs.size() + ours.size() / 8);
  for (const auto* side : {&theirs, &ours, &base}) {
    if (side == &base && takeTheirRemovals) break;  // the base then holds no text more often than both sides
    for (const std::u16string_view item : *side) {
      Counts& count = counts[item];
      if (count.emitted < count.Merged()) {
        ++count.emitted;
        merged.push_back(item);
      }
    }
  }
  return merged;
}

bool SameItems(std::vector<std::u16string_view> a, std::vector<std::u16string_view> b) {
  if (a.size() != b.size()) return false;
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  return a == b;
}

std::u16string SortedListText(const std::vector<std::u16string_view>& items, ListOrder order, bool utf8) {
  static constexpr std::u16string_view kOpenTag = u"<TLT><NAME>";
  static constexpr std::u16string_view kRecordEnd = u"</NAME></TLT>\r\n";
  const std::vector<std::u16string> texts(items.begin(), items.end());
  size_t size = utf8 ? 1 : 0;
  for (const std::u16string_view item : items) size += kOpenTag.size() + item.size() + kRecordEnd.size();
  std::u16string text;
  text.reserve(size);
  if (utf8) text.push_back(kByteOrderMark);
  for (const size_t index : order(texts)) text.append(kOpenTag).append(texts[index]).append(kRecordEnd);
  return text;
}
