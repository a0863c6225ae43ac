// Merging a picklist with what others saved meanwhile. Items are compared as whole texts, and a
// text is an item as many times as it appears: the lists are multisets. From the list as it was
// when this add-in last read or wrote the file (the base), the list it holds now (ours) and the
// list the file holds now (theirs), the merged list holds, for each text, as many items as
// theirs, plus those ours added, less those ours removed; where both sides added the same text
// it is added once, and where both removed it, it is removed once.
//
// All functions may throw std::bad_alloc.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// How the pick dialog's sorted list box orders texts: element k of the result is the index of
// the text at position k.
using ListOrder = std::vector<size_t> (*)(const std::vector<std::u16string>& texts);

// The order of a list box that compares texts ignoring the case of ASCII letters, as the
// scripted dialogs of the native tests do.
std::vector<size_t> PlainListOrder(const std::vector<std::u16string>& texts);

// The merged items: theirs first, in their order, then what ours added, in its order. Without
// `takeTheirRemovals` (theirs is a damaged file) a text keeps at least the items the base held.
std::vector<std::u16string_view> MergeItems(const std::vector<std::u16string_view>& base,
                                            const std::vector<std::u16string_view>& ours,
                                            const std::vector<std::u16string_view>& theirs,
                                            bool takeTheirRemovals = true);

// True when both lists hold the same texts the same number of times, in any order.
bool SameItems(std::vector<std::u16string_view> a, std::vector<std::u16string_view> b);

// `items` as records, sorted by `order`; `utf8` puts the byte order mark first, which keeps the
// list in UTF-8.
std::u16string SortedListText(const std::vector<std::u16string_view>& items, ListOrder order, bool utf8);
