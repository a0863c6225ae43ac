// The Wine suite runs in the host's kind of thread: a single-threaded apartment. The DLL is
// registered once up front (as an installer would); the registration tests re-register it.
#include <gtest/gtest.h>

#include "tlhost/png_file_win.h"
#include "wine_test_support.h"

namespace {
class RegisteredServer : public testing::Environment {
 public:
  void SetUp() override { ASSERT_EQ(0, Regsvr32(false)) << "regsvr32 failed"; }
};
}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  GdiplusSession gdiplus;  // for the screenshots of dialog tests
  testing::AddGlobalTestEnvironment(new RegisteredServer);
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
