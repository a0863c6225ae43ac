// Filling a Win32 list box with a whole list at once.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Adds `texts` to `listBox` as LB_ADDSTRING would one after the other, in the order given. An
// empty sorted list box gets them sorted beforehand into the very order its own inserts would
// give (ties included, compared as it compares) and appended with storage reserved, which avoids
// a search and an array shift per entry.
void AddListBoxStrings(HWND listBox, const std::vector<std::u16string>& texts);

// The order in which an empty sorted list box of the user's locale would hold `texts` added one
// after the other: element k is the index of the text at position k.
std::vector<size_t> SystemListBoxOrder(const std::vector<std::u16string>& texts);
