#include "testing/fake_tool_services.h"

#include <algorithm>

int FakeToolServices::Count(const std::string& call) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}
