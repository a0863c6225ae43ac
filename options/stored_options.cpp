// The defaults, the look-up by name and the text form of each kind, all from the table.
#include "options/stored_options.h"

#include <algorithm>

#include "framework/decimal_text.h"
#include "framework/utf8.h"

StoredOptions::StoredOptions() {
  for (const StoredOption& option : kStoredOptions) SetDefault(option, *this);
}

void SetDefault(const StoredOption& option, StoredOptions& options) {
  switch (option.kind) {
    case StoredKind::Number:
      options.*option.number = option.defaultNumber;
      break;
    case StoredKind::Flag:
      options.*option.flag = option.defaultNumber != 0;
      break;
    case StoredKind::Text:
      options.*option.text = option.defaultText;
      break;
  }
}

std::string StoredText(const StoredOption& option, const StoredOptions& options) {
  switch (option.kind) {
    case StoredKind::Number:
      return WriteInt32(options.*option.number);
    case StoredKind::Flag:
      return options.*option.flag ? "1" : "0";
    case StoredKind::Text:
      break;
  }
  return options.*option.text;
}

StoredTextTaken TakeStoredText(const StoredOption& option, const std::string& text, StoredOptions& options) {
  if (option.kind == StoredKind::Text) {
    const size_t length = option.anyCharacter ? Utf8ToUtf16(text).size() : text.size();
    if (length > option.maxLength) return StoredTextTaken::TooLong;
    options.*option.text = text;
    return StoredTextTaken::Taken;
  }
  if (text.empty()) return StoredTextTaken::LeftAlone;
  const int32_t number = ReadLeadingInt32(text);
  if (option.kind == StoredKind::Number) {
    options.*option.number = number;
  } else {
    options.*option.flag = number != 0;
  }
  return StoredTextTaken::Taken;
}

const StoredOption* FindStoredOption(const std::string& name) {
  for (const StoredOption& option : kStoredOptions) {
    if (name == option.name) return &option;
  }
  return nullptr;
}

LabelStyle NumberLabelStyle(const StoredOptions& options) {
  return LabelStyle{options.TLDefPrefix, options.TLDefSuffix, options.TLDefDigits, options.TLDefLetterSet};
}

int32_t NumberStep(const StoredOptions& options) {
  return std::clamp(options.TLDefStep, kLowestStep, kHighestStep);
}
