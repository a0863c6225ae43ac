// Reading and writing the picklist records. The reader steps over whole characters of the code
// page; on a page without lead bytes every byte is a whole character, and the plain search of
// the standard library is both safe and several times faster than stepping byte by byte.
#include "picklist/pick_list_records.h"

namespace {

bool HasLeadBytes(const CodePage& codePage) {
  for (int byte = 0; byte < 256; ++byte) {
    if (codePage.IsLeadByte(static_cast<unsigned char>(byte))) return true;
  }
  return false;
}

// Finds the tags of one text where a character of the code page starts.
class TagFinder {
 public:
  TagFinder(const CodePage& codePage, std::string_view text)
      : codePage_(codePage), text_(text), singleByte_(!HasLeadBytes(codePage)) {}

  // The first match of `tag` at a character boundary at or after the boundary `from`; npos if
  // there is none.
  size_t Find(std::string_view tag, size_t from) const {
    if (singleByte_) return text_.find(tag, from);
    for (size_t pos = from; text_.size() - pos >= tag.size(); pos = NextCharBoundary(codePage_, text_, pos)) {
      if (text_[pos] == tag[0] && text_.compare(pos, tag.size(), tag) == 0) return pos;
    }
    return std::string_view::npos;
  }

 private:
  const CodePage& codePage_;
  std::string_view text_;
  bool singleByte_;
};

}  // namespace

std::vector<std::string> ParsePickList(const CodePage& codePage, std::string_view ansiText) {
  const TagFinder finder(codePage, ansiText);
  std::vector<std::string> items;
  size_t pos = 0;
  for (;;) {
    const size_t open = finder.Find(kRecordOpenTag, pos);
    if (open == std::string_view::npos) break;
    // Searched from the opening tag itself, whose characters are steps of the same walk. The
    // closing tag cannot begin inside the opening one: nothing there reads "</".
    const size_t close = finder.Find(kRecordCloseTag, open);
    if (close == std::string_view::npos) break;
    const size_t textStart = open + kRecordOpenTag.size();
    items.emplace_back(ansiText.substr(textStart, close - textStart));
    pos = close + kRecordCloseTag.size();
  }
  return items;
}

std::vector<std::string> ParsePickListText(const CodePage& codePage, std::u16string_view wideText) {
  return ParsePickList(codePage, codePage.ToAnsi(wideText));
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

std::u16string BuildPickListText(const CodePage& codePage, const std::vector<std::string>& items) {
  static constexpr std::u16string_view kWideOpenTag = u"<TLT><NAME>";
  static constexpr std::u16string_view kWideRecordEnd = u"</NAME></TLT>\r\n";
  std::u16string text;
  for (const std::string& item : items) {
    text.append(kWideOpenTag).append(codePage.ToWide(item)).append(kWideRecordEnd);
  }
  return text;
}

bool CanBeStoredAsItem(std::string_view ansiText) {
  return ansiText.find(kRecordCloseTag) == std::string_view::npos;
}

std::string_view CutToItemLength(const CodePage& codePage, std::string_view ansiText) {
  return TruncateOnCharBoundary(codePage, ansiText, kMaxItemBytes);
}
