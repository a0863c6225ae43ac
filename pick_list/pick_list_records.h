// The record syntax of the picklist: the whole list is one text, each item a record
// "<TLT><NAME>" + text + "</NAME></TLT>\r\n". The file holds it in the ANSI code page, or in UTF-8
// after a byte order mark; the add-in keeps it as UTF-16 text, the mark included (U+FEFF first);
// the pick dialog works on the items in UTF-8.
// Item texts are not escaped, so a text that holds the closing tag cannot be an item.
//
// All functions may throw std::bad_alloc, as any producer of a std::string does.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "framework/code_page.h"

inline constexpr std::string_view kRecordOpenTag = "<TLT><NAME>";
inline constexpr std::string_view kRecordCloseTag = "</NAME></TLT>";
inline constexpr std::string_view kRecordEnd = "</NAME></TLT>\r\n";  // what a build writes after each item

// The longest item the pick dialog keeps, in bytes of the list's own encoding: the ANSI code page
// or UTF-8.
inline constexpr size_t kMaxItemBytes = 4095;

// The items of a picklist in file form, in order. Tags are found only where a character of the
// code page starts, so the trail byte of a double-byte character never begins one. Text outside
// records, and an unclosed record with everything after it, is ignored; an opening tag inside a
// record belongs to the item's text.
// The items of a text in file form as views into it, in order of appearance; the same items
// as ParsePickList without copying each (a large list is parsed once per dialog).
std::vector<std::string_view> FindPickListItems(const CodePage& codePage, std::string_view ansiText);
std::vector<std::string> ParsePickList(const CodePage& codePage, std::string_view ansiText);

// The items of a text whose every ASCII byte or unit is a character of its own, UTF-8 or UTF-16
// text, as views into it: a plain search finds the tags, by the same rule.
template <class Char>
std::vector<std::basic_string_view<Char>> FindRecordItems(std::basic_string_view<Char> text);

// The items, in UTF-8, of a list text as the add-in keeps it (UTF-16, U+FEFF first for a list kept
// in UTF-8), as the pick dialog reads them.
std::vector<std::string> ParsePickListText(std::u16string_view listText);

// The file form of `items`; an empty list gives the empty text.
std::string BuildPickList(const std::vector<std::string>& items);

// The list text, as the add-in keeps it, of `items` in UTF-8: U+FEFF first when `keptInUtf8`.
std::u16string BuildPickListText(const std::vector<std::string>& items, bool keptInUtf8);

// False for a text that would end its record early (it holds the closing tag).
bool CanBeStoredAsItem(std::string_view ansiText);

// `ansiText` cut to at most kMaxItemBytes without splitting a double-byte character.
std::string_view CutToItemLength(const CodePage& codePage, std::string_view ansiText);
// `utf8Text` cut to at most kMaxItemBytes without splitting a character.
std::string_view CutUtf8ToItemLength(std::string_view utf8Text);

// True for a list kept in UTF-8: its UTF-16 form starts with the byte order mark.
bool IsUtf8List(std::u16string_view listText);
