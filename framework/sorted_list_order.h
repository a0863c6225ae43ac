// The order in which a sorted list box holds texts that were added to it one by one, computed
// without adding them: a list box that takes thousands of texts sorted beforehand at its end is
// fast, one that sorts each as it arrives shifts its array every time.
//
// The system's list box (Wine's user32, and the model of ScriptedDialogRunner) finds a new text's
// place by a binary search over the texts it holds and puts it before the first one it meets
// that compares equal. Where texts compare equal (they differ only in letter case) their order
// therefore depends on the path of each search, not simply on the order of arrival; the order
// below follows those searches exactly.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <type_traits>
#include <vector>

// Orders two texts unit by unit (UTF-8 bytes or UTF-16 units) without regard to the case of ASCII
// letters: negative, zero or positive. The system's list box compares linguistically, which orders
// some punctuation differently; for labels, letters and digits the two agree, so this is the order
// the portable code and the tests give a sorted list.
template <typename Char>
int CompareIgnoringAsciiCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
  const auto fold = [](Char c) {
    const auto unit = static_cast<std::make_unsigned_t<Char>>(c);
    return static_cast<int>(unit >= 'a' && unit <= 'z' ? unit - 'a' + 'A' : unit);
  };
  const size_t common = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < common; ++i) {
    const int difference = fold(a[i]) - fold(b[i]);
    if (difference != 0) return difference;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// Where a binary search over `count` held texts puts a new one, when `less` of them compare
// below it and `equal` of them (following those) compare equal to it.
size_t SortedInsertPosition(size_t count, size_t less, size_t equal);

// The order of `count` texts added one by one, first to last, to an empty sorted list box:
// element k is the index of the text at position k. `compare(a, b)` orders the texts at indexes a
// and b as the list box does (negative, zero or positive) and must be a consistent ordering. It is
// called about count * log2(count) times.
std::vector<size_t> SortedListOrder(size_t count, const std::function<int(size_t, size_t)>& compare);
