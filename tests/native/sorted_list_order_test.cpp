// The sorted list box's order computed at once, against texts added one by one with the list
// box's own search, on random texts where many differ only in letter case.
#include "framework/sorted_list_order.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

int CompareNoCase(const std::string& a, const std::string& b) {
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const int difference =
        std::tolower(static_cast<unsigned char>(a[i])) - std::tolower(static_cast<unsigned char>(b[i]));
    if (difference != 0) return difference;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

// The list box's insertion, one text at a time: a binary search that stops at an equal text.
std::vector<size_t> AddOneByOne(const std::vector<std::string>& texts) {
  std::vector<size_t> box;
  for (size_t i = 0; i < texts.size(); ++i) {
    long low = 0, high = static_cast<long>(box.size()) - 1;
    long place = -1;
    while (low <= high && place < 0) {
      const long middle = (low + high) / 2;
      const int order = CompareNoCase(texts[box[middle]], texts[i]);
      if (order == 0) place = middle;
      if (order > 0) high = middle - 1;
      if (order < 0) low = middle + 1;
    }
    box.insert(box.begin() + (place < 0 ? low : place), i);
  }
  return box;
}

// `count` texts of up to `length` characters drawn from `characters`.
std::vector<std::string> RandomTexts(size_t count, size_t length, const std::string& characters, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::string> texts(count);
  for (std::string& text : texts) {
    for (size_t size = random() % (length + 1); text.size() < size;) text += characters[random() % characters.size()];
  }
  return texts;
}

TEST(SortedListOrder, IsTheOrderOfAddingOneByOne) {
  struct Case {
    size_t count;
    size_t length;
    std::string characters;  // both cases of a letter: texts that differ only in case
  };
  const Case cases[] = {
      {0, 3, "aB"},        {1, 3, "aB"},        {2, 1, "aA"},
      {7, 1, "aA"},        {100, 2, "aAbB"},    {1000, 1, "aA"},
      {1000, 3, "aAbB"},   {5000, 4, "aAbBcC"}, {3000, 6, "abcdefghABCDEFGH"},
      {20000, 2, "aAbB1"},
  };
  for (const Case& c : cases) {
    for (unsigned seed = 1; seed <= 3; ++seed) {
      SCOPED_TRACE(std::to_string(c.count) + " texts of " + c.characters + ", seed " + std::to_string(seed));
      const std::vector<std::string> texts = RandomTexts(c.count, c.length, c.characters, seed);
      const std::vector<size_t> order =
          SortedListOrder(texts.size(), [&texts](size_t a, size_t b) { return CompareNoCase(texts[a], texts[b]); });
      ASSERT_EQ(order, AddOneByOne(texts));
    }
  }
}

}  // namespace
