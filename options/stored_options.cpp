// The defaults and the look-up by name, both from the table.
#include "options/stored_options.h"

#include <algorithm>

StoredOptions::StoredOptions() {
  for (const StoredOption& option : kStoredOptions) option.Set(*this, option.defaultValue);
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
