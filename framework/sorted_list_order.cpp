// The sorted list box's order without the list box. Texts fall into classes of texts that compare
// equal; a stable sort gives each text its class. A text's place among the texts of other
// classes is fixed by the sort, so only its place within its own class depends on the searches:
// replaying each insertion needs just the counts of earlier texts below its class and in it,
// which a Fenwick tree over the classes gives in log time. The places within each class are
// then laid out from the last insertion back to the first, each taking the free slot its offset
// names, again with a Fenwick tree. Comparisons are those of one sort; everything else is
// integer work of n log n.
#include "framework/sorted_list_order.h"

#include <algorithm>
#include <numeric>

namespace {

// Counts over positions 0..size-1 with prefix sums and a search for the k-th unit.
class FenwickTree {
 public:
  explicit FenwickTree(size_t size) : tree_(size + 1, 0) {}

  void Add(size_t position, int delta) {
    for (size_t i = position + 1; i < tree_.size(); i += i & (~i + 1)) tree_[i] += delta;
  }
  // The sum over positions before `position`.
  size_t Prefix(size_t position) const {
    long sum = 0;
    for (size_t i = position; i > 0; i -= i & (~i + 1)) sum += tree_[i];
    return static_cast<size_t>(sum);
  }
  // The smallest position whose prefix up to and including it reaches `k` (k >= 1).
  size_t FindKth(size_t k) const {
    size_t position = 0;
    size_t step = 1;
    while (step * 2 < tree_.size()) step *= 2;
    for (; step > 0; step /= 2) {
      if (position + step < tree_.size() && static_cast<size_t>(tree_[position + step]) < k) {
        position += step;
        k -= static_cast<size_t>(tree_[position]);
      }
    }
    return position;
  }

 private:
  std::vector<long> tree_;
};

}  // namespace

size_t SortedInsertPosition(size_t count, size_t less, size_t equal) {
  // The list box's search over its items: the middle of [low, high], an equal item ends it.
  long low = 0;
  long high = static_cast<long>(count) - 1;
  while (low <= high) {
    const long middle = (low + high) / 2;
    if (static_cast<size_t>(middle) < less) {
      low = middle + 1;
    } else if (static_cast<size_t>(middle) >= less + equal) {
      high = middle - 1;
    } else {
      return static_cast<size_t>(middle);
    }
  }
  return static_cast<size_t>(low);
}

std::vector<size_t> SortedListOrder(size_t count, const std::function<int(size_t, size_t)>& compare) {
  std::vector<size_t> sorted(count);
  std::iota(sorted.begin(), sorted.end(), size_t{0});
  std::stable_sort(sorted.begin(), sorted.end(), [&compare](size_t a, size_t b) { return compare(a, b) < 0; });

  // Classes of equal texts in sorted order, and where each begins among the sorted positions.
  std::vector<size_t> classOf(count);
  std::vector<size_t> classStart;
  for (size_t k = 0; k < count; ++k) {
    if (k == 0 || compare(sorted[k - 1], sorted[k]) != 0) classStart.push_back(k);
    classOf[sorted[k]] = classStart.size() - 1;
  }

  // Each text's offset within its class at the moment it arrives.
  std::vector<size_t> offset(count);
  std::vector<size_t> arrivedInClass(classStart.size(), 0);
  FenwickTree arrivedByClass(classStart.size());
  for (size_t i = 0; i < count; ++i) {
    const size_t c = classOf[i];
    const size_t less = arrivedByClass.Prefix(c);
    offset[i] = SortedInsertPosition(i, less, arrivedInClass[c]) - less;
    arrivedByClass.Add(c, 1);
    ++arrivedInClass[c];
  }

  // The last text to arrive keeps the offset it was given; each earlier one takes the free slot
  // its offset names among those of its class that later arrivals left.
  std::vector<size_t> order(count);
  FenwickTree free(count);
  for (size_t k = 0; k < count; ++k) free.Add(k, 1);
  for (size_t i = count; i-- > 0;) {
    const size_t slot = free.FindKth(free.Prefix(classStart[classOf[i]]) + offset[i] + 1);
    free.Add(slot, -1);
    order[slot] = i;
  }
  return order;
}
