#include "tlhost/plain_number.h"

#include <cstdlib>

namespace {

constexpr size_t kMaxDigits = 9;

// The count of digits from `at` on.
size_t DigitsAt(const std::string& word, size_t at) {
  size_t count = 0;
  while (at + count < word.size() && word[at + count] >= '0' && word[at + count] <= '9') ++count;
  return count;
}

}  // namespace

bool ReadInteger(const std::string& word, long* value) {
  const size_t sign = !word.empty() && word[0] == '-' ? 1 : 0;
  const size_t digits = DigitsAt(word, sign);
  if (digits == 0 || digits > kMaxDigits || sign + digits != word.size()) return false;
  *value = std::strtol(word.c_str(), nullptr, 10);
  return true;
}

bool ReadNumber(const std::string& word, double* value) {
  const size_t sign = !word.empty() && word[0] == '-' ? 1 : 0;
  const size_t whole = DigitsAt(word, sign);
  if (whole == 0 || whole > kMaxDigits) return false;
  size_t end = sign + whole;
  if (end < word.size() && word[end] == '.') {
    const size_t fraction = DigitsAt(word, end + 1);
    if (fraction == 0 || fraction > kMaxDigits) return false;
    end += 1 + fraction;
  }
  if (end != word.size()) return false;
  *value = std::strtod(word.c_str(), nullptr);  // the C locale's point: the program never sets another
  return true;
}
