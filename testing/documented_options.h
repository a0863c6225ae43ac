// The stored options as the add-in documents them for its users: each value's name, kind and
// default as stored, in the order in which they are read, written and shown. Written out by hand
// so that the tests hold the add-in's own table to it instead of reading their expectations from
// that table.
#pragma once

#include "options/stored_options.h"

struct DocumentedOption {
  const char* name;
  StoredKind kind;
  const char* defaultText;  // the default as the value is stored, without its NUL
};

// clang-format off
inline constexpr DocumentedOption kDocumentedOptions[] = {
    {"TLDefConvertPoint", StoredKind::Flag,   "1"},
    {"TLDefMode",         StoredKind::Number, "0"},
    {"TLDefFormat",       StoredKind::Number, "0"},
    {"TLDefObjDSource",   StoredKind::Number, "0"},
    {"TLDefRenObjects",   StoredKind::Number, "1"},
    {"TLDefRenFixOrder",  StoredKind::Flag,   "1"},
    {"TLDefRenReset",     StoredKind::Flag,   "0"},
    {"TLPickAutoAdd",     StoredKind::Flag,   "1"},
    {"TLPickAutoPick",    StoredKind::Flag,   "1"},
    {"TLDefPrefix",       StoredKind::Text,   ""},
    {"TLDefSuffix",       StoredKind::Text,   ""},
    {"TLDefStep",         StoredKind::Number, "1"},
    {"TLDefDigits",       StoredKind::Number, "0"},
    {"TLDefLetterSet",    StoredKind::Number, "0"},
    {"TLDefRenOrder",     StoredKind::Number, "0"},
    {"TLDefRenTolerance", StoredKind::Text,   "2.5"},
    {"TLDefContinue",     StoredKind::Flag,   "0"},
    {"TLPartsList",       StoredKind::Text,   ""},
};
// clang-format on
