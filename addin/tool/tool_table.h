// The add-in's five tools, fixed and in this order: the position is the tool index used
// everywhere. Each tool has five texts in the module's string table at ids 10X1-10X5, X = index + 1.
#pragma once

#include <cstdint>

enum ToolIndex : int32_t {
  NumberTool = 0,
  PicklistTool = 1,
  ObjectTool = 2,
  RenumberTool = 3,
  OptionsTool = 4,
};

constexpr int32_t kToolCount = 5;

enum class ToolText : int32_t {
  CommandName = 1,  // host menu path, items separated by '|', '&' marking the access key
  StatusPrompt = 2,
  ToolTip = 3,
  MenuCaption = 4,
  Group = 5,
};

// String-table id of one text of a tool, or 0 for an index outside the table.
constexpr int32_t ToolStringId(int32_t toolIndex, ToolText text) {
  return toolIndex < 0 || toolIndex >= kToolCount ? 0 : 1000 + (toolIndex + 1) * 10 + static_cast<int32_t>(text);
}
