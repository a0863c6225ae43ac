// The add-in's lifetime as a host may end it: the host lets go of its own reference while a
// placement runs, so that only the event subscription holds the add-in. An event that ends the
// placement makes the add-in unsubscribe, which drops that last reference in the middle of its
// own method: the method must finish its work (the prompt cleared, the local menu taken back)
// on a live object, and the object must be gone afterwards.
//
// To see a use after destruction at once, the class is made in process from the linked library
// and, while an event is out, every block this program frees is filled with 0xDD and kept: an
// object used after its destruction then reads garbage pointers instead of its old contents.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstring>
#include <functional>
#include <new>

#include "addin_session.h"

namespace {
bool poisonFrees = false;
}  // namespace

void operator delete(void* block) noexcept {
  if (block == nullptr) return;
  if (poisonFrees) {
    std::memset(block, 0xDD, _msize(block));
    return;  // kept: nothing else may take its place while the event is out
  }
  // The runtime's operator new takes its blocks from malloc; a compiler that sees a new beside
  // this delete (the test files compiled as one) does not know that.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
  std::free(block);
#pragma GCC diagnostic pop
}
void operator delete(void* block, std::size_t) noexcept {
  operator delete(block);
}

namespace {

constexpr int32_t kLineCommand = 4001;

TEST(Lifetime, AnEventThroughTheLastReferenceEndsThePlacementCleanly) {
  const struct {
    const char* name;
    std::function<void(SimHost&)> raise;
  } events[] = {
      {"BeforeExit", [](SimHost& host) { host.RaiseDrawingEvent(kDispBeforeExit); }},
      {"RunTool", [](SimHost& host) { host.UserPicksHostTool(kLineCommand); }},
      {"DrawingDeactivate", [](SimHost& host) { host.RaiseDrawingEvent(kDispDrawingDeactivate); }},
  };
  for (const auto& event : events) {
    SessionStart start;
    start.inProcess = true;
    AddinSession s(start);
    ASSERT_EQ(S_OK, s.Run(kNumber)) << event.name;
    ASSERT_EQ(1, s.host.SubscriberCount());
    s.addin.Reset();  // the host's own reference, let go without Terminate
    ASSERT_FALSE(AddinModuleFree(true)) << event.name << ": the subscription holds the add-in";

    poisonFrees = true;
    event.raise(s.host);
    poisonFrees = false;
    EXPECT_EQ(0, s.host.SubscriberCount()) << event.name;
    EXPECT_EQ(0, s.host.LocalMenuCount()) << event.name << ": the menu was not taken back";
    EXPECT_EQ(u"", s.host.Prompt()) << event.name;
    EXPECT_TRUE(AddinModuleFree(true)) << event.name << ": the add-in outlived its last reference";
    // Closing the session checks that every host object was released.
  }
}

}  // namespace
