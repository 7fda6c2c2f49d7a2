// A per-thread thread count: it holds on its own thread only, nests, and restores what it found.
#include <gtest/gtest.h>

#include <thread>

#include "core/runtime/execution.h"

namespace {

TEST(ThreadCountScope, SetsTheCountOfItsOwnThreadOnly) {
  core::setThreadCount(3);
  int seenElsewhere = 0;
  {
    core::ThreadCountScope scope(1);
    EXPECT_EQ(core::threadCount(), 1);
    std::thread other([&] { seenElsewhere = core::threadCount(); });
    other.join();
  }
  EXPECT_EQ(seenElsewhere, 3);
  EXPECT_EQ(core::threadCount(), 3);
  core::setThreadCount(0);
}

TEST(ThreadCountScope, NestsAndRestoresTheCountItFound) {
  core::setThreadCount(2);
  {
    core::ThreadCountScope outer(5);
    {
      core::ThreadCountScope inner(7);
      EXPECT_EQ(core::threadCount(), 7);
    }
    EXPECT_EQ(core::threadCount(), 5);
    {
      core::ThreadCountScope processWide(0);  // 0 or less: the process-wide setting
      EXPECT_EQ(core::threadCount(), 2);
    }
    EXPECT_EQ(core::threadCount(), 5);
  }
  EXPECT_EQ(core::threadCount(), 2);
  core::setThreadCount(0);
}

}  // namespace
