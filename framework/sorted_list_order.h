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
#include <vector>

// Where a binary search over `count` held texts puts a new one, when `less` of them compare
// below it and `equal` of them (following those) compare equal to it.
size_t SortedInsertPosition(size_t count, size_t less, size_t equal);

// The order of `count` texts added one by one, first to last, to an empty sorted list box:
// element k is the index of the text at position k. `compare(a, b)` orders the texts at indexes a
// and b as the list box does (negative, zero or positive) and must be a consistent ordering. It is
// called about count * log2(count) times.
std::vector<size_t> SortedListOrder(size_t count, const std::function<int(size_t, size_t)>& compare);
