// Tests of the search (search.h) and sorting (sort.h) functions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "nmx/base/progress.h"
#include "nmx/openarrays/search.h"
#include "nmx/openarrays/sort.h"
#include "openarrays/nd_builders.h"

namespace {

using namespace NMX_openarrays;
using namespace oa_test;

TEST(FindInArray, IntegerKey) {
  EXPECT_EQ(FindInArray(7, TIntArray{3, 7, 7}), 1);
  EXPECT_EQ(FindInArray(9, TIntArray{3, 7, 7}), -2);
  EXPECT_EQ(FindInArray(7, TIntArray{}), -1);
}

TEST(FindInArray, Text) {
  struct Case {
    std::string Text;
    NMX_nmxbase::TStrArray A;
    bool IgnoreCase, Partial;
    int Expected;
  };
  const Case Cases[] = {
      {"ab", {"xAbx", "ab"}, true, true, 0},
      {"ab", {"xAbx", "ab"}, false, false, 1},
      {"ab", {"xAbx", "ab"}, false, true, 1},
      {"AB", {"xAbx", "ab"}, true, false, 1},
      {"AB", {"xAbx", "ab"}, false, false, -2},
      {"ab", {}, true, true, -1},
      {"", {"q", ""}, false, true, 0},
      {"", {"q", ""}, false, false, 1},
      // Only ASCII letters fold: bytes above 127 compare as they are.
      {"\xC4", {"\xE4", "\xC4"}, true, false, 1},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message()
                 << "'" << C.Text << "' case " << C.IgnoreCase << " partial " << C.Partial);
    EXPECT_EQ(FindInArray(C.Text, C.A, C.IgnoreCase, C.Partial), C.Expected);
  }
}

TEST(FindInSortedArray, BisectionToTheNearest) {
  const double kNaN = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    TDoubleArray A;
    double Value;
    bool Ascending;
    int Expected;
  };
  const Case Cases[] = {
      {{1, 2, 3}, 0.5, true, -2},
      {{1, 2, 3}, 3.5, true, -2},
      {{1, 2, 3}, kNaN, true, -2},
      {{1, 2, 3}, 2.5, true, 2},  // a tie goes to the higher index
      {{1, 2, 3}, 2.4, true, 1},
      {{1, 2, 3}, 1, true, 0},
      {{1, 2, 3}, 3, true, 2},
      {{1, 2, 4, 8, 16}, 4, true, 2},  // met on the way
      {{1, 2, 4, 8, 16}, 11, true, 3},
      {{1, 2, 4, 8, 16}, 13, true, 4},
      {{3, 2, 1}, 2.6, false, 0},
      {{3, 2, 1}, 2.5, false, 1},
      {{3, 2, 1}, 0.9, false, -2},
      {{5}, 5, true, 0},
      {{}, 1, true, -1},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message()
                 << C.Value << " in " << C.A.size() << " elements, asc " << C.Ascending);
    EXPECT_EQ(FindInSortedArray(C.Value, C.A, C.Ascending), C.Expected);
  }
}

TEST(SortArray, IndexTrailFollowsTheExchanges) {
  TDoubleArray A{1, 3, 2};
  TIntArray Ix{9, 9, 9, 9};
  ASSERT_EQ(SortArray(false, A, Ix), 0);
  EXPECT_EQ(A, (TDoubleArray{3, 2, 1}));
  EXPECT_EQ(Ix, (TIntArray{2, 3, 1}));

  // Any data: A is ordered and Ix[k] names the original position of A[k]. Values repeat, so
  // ties are exercised; lengths around the first gaps of the comb.
  for (std::size_t N : {2U, 3U, 4U, 13U, 14U, 100U, 1025U}) {
    for (const bool Asc : {true, false}) {
      SCOPED_TRACE(::testing::Message() << "n " << N << " asc " << Asc);
      TIntArray X(N), Orig;
      for (std::size_t K = 0; K < N; ++K) X[K] = static_cast<std::int32_t>((K * 7919) % 37);
      Orig = X;
      TIntArray Trail;
      ASSERT_EQ(SortArray(Asc, X, Trail), 0);
      ASSERT_EQ(Trail.size(), N);
      for (std::size_t K = 0; K + 1 < N; ++K)
        EXPECT_TRUE(Asc ? X[K] <= X[K + 1] : X[K] >= X[K + 1]);
      TIntArray Seen(N, 0);
      for (std::size_t K = 0; K < N; ++K) {
        ASSERT_GE(Trail[K], 1);
        ASSERT_LE(Trail[K], static_cast<std::int32_t>(N));
        EXPECT_EQ(Orig[static_cast<std::size_t>(Trail[K] - 1)], X[K]);
        ++Seen[static_cast<std::size_t>(Trail[K] - 1)];
      }
      EXPECT_EQ(Seen, TIntArray(N, 1));
    }
  }
  TDoubleArray One{4};
  EXPECT_EQ(SortArray(true, One, Ix), -1);
  EXPECT_EQ(Ix, TIntArray{1});
  TIntArray Empty;
  EXPECT_EQ(SortArray(true, Empty, Ix), -1);
  EXPECT_TRUE(Ix.empty());
}

TEST(SortAndRemoveDuplicates, KeepsEachValueOnce) {
  struct Case {
    TIntArray A;
    bool Ascending;
    TIntArray Expected;
    int Removed;
  };
  const Case Cases[] = {
      {{3, 1, 3, 2, 1}, true, {1, 2, 3}, 2},
      {{3, 1, 3, 2, 1}, false, {3, 2, 1}, 2},
      {{5, 5}, true, {5}, 1},
      {{2, 1}, true, {1, 2}, 0},
      {{INT32_MIN, INT32_MAX, INT32_MIN}, true, {INT32_MIN, INT32_MAX}, 1},
      {{7}, true, {7}, -1},
      {{}, true, {}, -1},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << C.A.size() << " elements, asc " << C.Ascending);
    TIntArray A = C.A;
    EXPECT_EQ(SortAndRemoveDuplicates(A, C.Ascending), C.Removed);
    EXPECT_EQ(A, C.Expected);
  }
  // The sort reports its passes through the process-wide counter.
  const double Before = NMX_nmxbase::ProcStat.load();
  TIntArray A{4, 3, 2, 1};
  SortAndRemoveDuplicates(A, true);
  EXPECT_GT(NMX_nmxbase::ProcStat.load(), Before);
}

}  // namespace
