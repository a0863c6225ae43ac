// What reaches the host when a body throws: allocation failures, a size no container can hold
// included, are E_OUTOFMEMORY; anything else is E_UNEXPECTED; a body's own code passes through.
#include "framework/com_try.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

TEST(ComTry, ExceptionsBecomeStatusCodes) {
  const struct Case {
    const char* name;
    HRESULT (*body)();
    HRESULT expected;
  } cases[] = {
      {"a code", [] { return static_cast<HRESULT>(0x8004F00D); }, static_cast<HRESULT>(0x8004F00D)},
      {"bad_alloc", []() -> HRESULT { throw std::bad_alloc(); }, E_OUTOFMEMORY},
      {"a vector beyond its max_size",
       []() -> HRESULT {
         std::vector<std::u16string> items;
         items.reserve(items.max_size() + 1);
         return S_OK;
       },
       E_OUTOFMEMORY},
      {"a text too long", []() -> HRESULT { throw std::length_error("too long"); }, E_OUTOFMEMORY},
      {"a logic error", []() -> HRESULT { throw std::out_of_range("index"); }, E_UNEXPECTED},
      {"not an exception type", []() -> HRESULT { throw 7; }, E_UNEXPECTED},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, ComTry(c.body)) << c.name;
}

}  // namespace
