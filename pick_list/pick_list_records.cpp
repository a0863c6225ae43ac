// Reading and writing the picklist records. The reader steps over whole characters of the code
// page; on a page without lead bytes every byte is a whole character, and the plain search of
// the standard library is both safe and several times faster than stepping byte by byte. UTF-8
// and UTF-16 text never hold an ASCII byte or unit inside another character: the plain search
// serves them too.
#include "pick_list/pick_list_records.h"

#include "framework/utf8.h"

namespace {

bool HasLeadBytes(const CodePage& codePage) {
  for (int byte = 0; byte < 256; ++byte) {
    if (codePage.IsLeadByte(static_cast<unsigned char>(byte))) return true;
  }
  return false;
}

template <class Char>
struct Tags;
template <>
struct Tags<char> {
  static constexpr std::string_view kOpen = kRecordOpenTag;
  static constexpr std::string_view kClose = kRecordCloseTag;
};
template <>
struct Tags<char16_t> {
  static constexpr std::u16string_view kOpen = u"<TLT><NAME>";
  static constexpr std::u16string_view kClose = u"</NAME></TLT>";
};

// Finds the tags of a double-byte text where a character of the code page starts.
class DoubleByteTagFinder {
 public:
  DoubleByteTagFinder(const CodePage& codePage, std::string_view text) : codePage_(codePage), text_(text) {}

  // The first opening tag at or after the character boundary `from`; npos if there is none.
  size_t FindOpeningTag(size_t from) const { return FindOnBoundary(kRecordOpenTag, from); }
  // The closing tag of the record whose opening tag starts at `open`; the walk over characters
  // starts at the opening tag itself.
  size_t FindClosingTag(size_t open) const { return FindOnBoundary(kRecordCloseTag, open); }

 private:
  size_t FindOnBoundary(std::string_view tag, size_t from) const {
    for (size_t pos = from; text_.size() - pos >= tag.size(); pos = NextCharBoundary(codePage_, text_, pos)) {
      if (text_[pos] == tag[0] && text_.compare(pos, tag.size(), tag) == 0) return pos;
    }
    return std::string_view::npos;
  }

  const CodePage& codePage_;
  std::string_view text_;
};

}  // namespace

template <class Char>
std::vector<std::basic_string_view<Char>> FindRecordItems(std::basic_string_view<Char> text) {
  using View = std::basic_string_view<Char>;
  std::vector<View> items;
  size_t pos = 0;
  for (;;) {
    const size_t open = text.find(Tags<Char>::kOpen, pos);
    if (open == View::npos) break;
    // The closing tag cannot begin inside the opening one (nothing there reads "</").
    const size_t textStart = open + Tags<Char>::kOpen.size();
    const size_t close = text.find(Tags<Char>::kClose, textStart);
    if (close == View::npos) break;
    items.push_back(text.substr(textStart, close - textStart));
    pos = close + Tags<Char>::kClose.size();
  }
  return items;
}
template std::vector<std::string_view> FindRecordItems(std::string_view text);
template std::vector<std::u16string_view> FindRecordItems(std::u16string_view text);

std::vector<std::string_view> FindPickListItems(const CodePage& codePage, std::string_view ansiText) {
  if (!HasLeadBytes(codePage)) return FindRecordItems(ansiText);
  const DoubleByteTagFinder finder(codePage, ansiText);
  std::vector<std::string_view> items;
  size_t pos = 0;
  for (;;) {
    const size_t open = finder.FindOpeningTag(pos);
    if (open == std::string_view::npos) break;
    const size_t close = finder.FindClosingTag(open);
    if (close == std::string_view::npos) break;
    const size_t textStart = open + kRecordOpenTag.size();
    items.push_back(ansiText.substr(textStart, close - textStart));
    pos = close + kRecordCloseTag.size();
  }
  return items;
}

std::vector<std::string> ParsePickList(const CodePage& codePage, std::string_view ansiText) {
  const std::vector<std::string_view> found = FindPickListItems(codePage, ansiText);
  return std::vector<std::string>(found.begin(), found.end());
}

std::vector<std::string> ParsePickListText(std::u16string_view listText) {
  const std::string text = Utf16ToUtf8(listText);
  const std::vector<std::string_view> found = FindRecordItems(std::string_view(text));
  return std::vector<std::string>(found.begin(), found.end());
}

std::string BuildPickList(const std::vector<std::string>& items) {
  size_t size = 0;
  for (const std::string& item : items) size += kRecordOpenTag.size() + item.size() + kRecordEnd.size();
  std::string text;
  text.reserve(size);
  for (const std::string& item : items) {
    text.append(kRecordOpenTag).append(item).append(kRecordEnd);
  }
  return text;
}

std::u16string BuildPickListText(const std::vector<std::string>& items, bool keptInUtf8) {
  std::u16string text;
  if (keptInUtf8) text.push_back(kByteOrderMark);
  text += Utf8ToUtf16(BuildPickList(items));
  return text;
}

bool CanBeStoredAsItem(std::string_view ansiText) {
  return ansiText.find(kRecordCloseTag) == std::string_view::npos;
}

std::string_view CutToItemLength(const CodePage& codePage, std::string_view ansiText) {
  return TruncateOnCharBoundary(codePage, ansiText, kMaxItemBytes);
}

std::string_view CutUtf8ToItemLength(std::string_view utf8Text) {
  return utf8Text.substr(0, Utf8BoundaryAtOrBefore(utf8Text, kMaxItemBytes));
}

bool IsUtf8List(std::u16string_view listText) {
  return !listText.empty() && listText.front() == kByteOrderMark;
}
