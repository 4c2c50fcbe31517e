#include "nmx/base/errors.h"

#include <gtest/gtest.h>

#include <vector>

#include "nmx/base/progress.h"
#include "nmx/platform/component.h"

namespace {

using NMX_nmxbase::ComponentMessage;

TEST(Errors, ComponentMessageQuotesTheName) {
  NMX_platform::TComponent C;
  C.SetName("Vec1");
  EXPECT_EQ(ComponentMessage(&C, NMX_nmxbase::kNoMemory), "Component \"Vec1\": not enough memory");
  EXPECT_EQ(ComponentMessage(nullptr, "vectors have different dimensions"),
            "Component \"\": vectors have different dimensions");
}

TEST(Errors, EveryLibraryErrorIsAPlatformException) {
  bool Caught = false;
  try {
    throw NMX_nmxbase::ENMXError("Factorial: negative argument");
  } catch (const NMX_platform::Exception& E) {
    Caught = true;
    EXPECT_STREQ(E.what(), "Factorial: negative argument");
  }
  EXPECT_TRUE(Caught);
}

// The globals are process-wide: the test restores them.
TEST(Progress, StepProgressCountsAndReports) {
  const double Saved = NMX_nmxbase::ProcStat;
  NMX_nmxbase::ProcStat = 10.0;
  NMX_nmxbase::MathFeedBackProc = nullptr;
  NMX_nmxbase::StepProgress();  // no procedure set: only the count moves
  EXPECT_EQ(NMX_nmxbase::ProcStat, 11.0);

  std::vector<double> Seen;
  NMX_nmxbase::MathFeedBackProc = [&](double P) { Seen.push_back(P); };
  NMX_nmxbase::StepProgress();
  NMX_nmxbase::StepProgress();
  EXPECT_EQ(Seen, (std::vector<double>{12.0, 13.0}));  // called after the count was raised

  NMX_nmxbase::MathFeedBackProc = nullptr;
  NMX_nmxbase::ProcStat = Saved;
}

}  // namespace
