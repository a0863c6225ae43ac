// The defaults and the look-up by name, both from the table.
#include "options/stored_options.h"

StoredOptions::StoredOptions() {
  for (const StoredOption& option : kStoredOptions) option.Set(*this, option.defaultValue);
}

const StoredOption* FindStoredOption(const std::string& name) {
  for (const StoredOption& option : kStoredOptions) {
    if (name == option.name) return &option;
  }
  return nullptr;
}
