#include "nmx/math1/sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <span>
#include <vector>

#include "math1/isa.h"
#include "support/isa_levels.h"
#include "nmx/base/progress.h"
#include "nmx/platform/random.h"

namespace {

using NMX_math1::InsertIntoArray;
using NMX_math1::SortArray;
using NMX_math1::SortIntoArray;
using NMX_nmxbase::TVarKind;

using nmx_test::AtEachIsa;

// Counts the progress steps of a sort through the feedback procedure, and checks that each
// call sees ProcStat one higher than the last.
class ProgressCounter {
 public:
  ProgressCounter() {
    NMX_nmxbase::ProcStat = 100.0;
    NMX_nmxbase::MathFeedBackProc = [this](double Stat) {
      EXPECT_EQ(Stat, NMX_nmxbase::ProcStat);
      EXPECT_EQ(Stat, 101.0 + Calls);
      ++Calls;
    };
  }
  ~ProgressCounter() { NMX_nmxbase::MathFeedBackProc = nullptr; }
  ProgressCounter(const ProgressCounter&) = delete;
  ProgressCounter& operator=(const ProgressCounter&) = delete;

  int Calls = 0;
};

// The comb sort written out plainly, element by element, as the reference for the exchanges
// the library's pass makes: same gaps, same pairs, same test `a > b`. Returns the pass count.
template <typename T>
int ReferenceCombSort(std::vector<T>& D, bool Ascending) {
  const std::size_t N = D.size();
  if (N <= 1) return 0;
  int Passes = 0;
  std::size_t Gap = N;
  bool Swapped = false;
  do {
    Gap = static_cast<std::size_t>(static_cast<long double>(Gap) / 1.3L);
    if (Gap == 0) Gap = 1;
    Swapped = false;
    for (std::size_t I = 0; I + Gap < N; ++I) {
      const bool Out = Ascending ? D[I] > D[I + Gap] : D[I] < D[I + Gap];
      if (Out) {
        std::swap(D[I], D[I + Gap]);
        Swapped = true;
      }
    }
    ++Passes;
  } while (Gap != 1 || Swapped);
  return Passes;
}

TEST(SortArray, SortsSmallArraysBothWays) {
  std::vector<double> D{3, 1, 2};
  SortArray(D, true);
  EXPECT_EQ(D, (std::vector<double>{1, 2, 3}));
  SortArray(D, false);
  EXPECT_EQ(D, (std::vector<double>{3, 2, 1}));

  std::vector<std::int32_t> I{5, -7, 2147483647, -2147483647 - 1, 0};
  SortArray(I, true);
  EXPECT_EQ(I, (std::vector<std::int32_t>{-2147483647 - 1, -7, 0, 5, 2147483647}));

  std::vector<float> F{2.5F, -1.0F, 0.5F};
  SortArray(F, false);
  EXPECT_EQ(F, (std::vector<float>{2.5F, 0.5F, -1.0F}));
}

TEST(SortArray, ReportsOneProgressStepPerPass) {
  struct Case {
    std::vector<double> Data;
    int Passes;  // by hand: gaps floor(10 * gap / 13), then gap-1 passes until one is clean
  };
  const Case Cases[] = {
      {{}, 0},
      {{4}, 0},
      {{1, 2}, 1},                           // the first gap is already 1, nothing moves
      {{2, 1}, 2},                           // gap 1 exchanges, a second gap-1 pass is clean
      {{3, 2, 1}, 2},                        // gap 2 exchanges 3 and 1, gap 1 is clean
      {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 5},  // gaps 7, 5, 3, 2, 1
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    std::vector<double> D = C.Data;
    ProgressCounter Counter;
    SortArray(D, true);
    EXPECT_EQ(Counter.Calls, C.Passes) << "n = " << C.Data.size();
    EXPECT_EQ(NMX_nmxbase::ProcStat, 100.0 + C.Passes);
    EXPECT_TRUE(std::is_sorted(D.begin(), D.end()));
  }
}

TEST(SortArray, WithoutFeedbackProcStillCountsPasses) {
  NMX_nmxbase::MathFeedBackProc = nullptr;
  NMX_nmxbase::ProcStat = 0.0;
  std::vector<double> D{1, 2};
  SortArray(D, true);
  EXPECT_EQ(NMX_nmxbase::ProcStat, 1.0);
}

// Random data of sizes at the edges (0 to 3) and around powers of two, in particular around
// the gap at which the pass switches to its vectorised form (the gap sequences of 4096 and 8192
// end in 8, 6, 4, 3, 2, 1 and 10, 7, 5, 3, 2, 1, so every small-gap form is run on long data): the
// result must be a sorted permutation of the input and, NaN-free or not, exactly what the plain
// reference sort gives, pass for pass.
template <typename T>
void CheckAgainstReference(std::vector<T> D, bool Ascending) {
  std::vector<T> Expected = D;
  std::sort(Expected.begin(), Expected.end());
  if (!Ascending) std::reverse(Expected.begin(), Expected.end());
  std::vector<T> Ref = D;
  const int Passes = ReferenceCombSort(Ref, Ascending);
  ProgressCounter Counter;
  SortArray(D, Ascending);
  EXPECT_EQ(D, Expected);
  EXPECT_EQ(Counter.Calls, Passes);
}

void PropertyOnRandomData() {
  std::vector<std::size_t> Sizes{0, 1, 2, 3, 4, 5};
  for (std::size_t P = 8; P <= 8192; P *= 2) {
    for (std::size_t N : {P - 1, P, P + 1}) Sizes.push_back(N);
  }
  Sizes.push_back(10);  // first gap 7: just below the vectorised form
  Sizes.push_back(11);  // first gap 8: the first size that uses it
  constexpr std::uint64_t kSeed = 20240611;
  NMX_platform::SetRandSeed(kSeed);
  for (std::size_t N : Sizes) {
    for (bool Ascending : {true, false}) {
      SCOPED_TRACE(testing::Message() << "seed " << kSeed << ", n = " << N
                                      << (Ascending ? " ascending" : " descending"));
      // Few distinct values, so that ties (never exchanged) occur often.
      std::vector<double> D(N);
      for (double& X : D) X = NMX_platform::Random(static_cast<int>(N / 2 + 2)) - 3.0;
      CheckAgainstReference(D, Ascending);
      std::vector<std::int32_t> I(N);
      for (std::int32_t& X : I) X = NMX_platform::Random(2000000001) - 1000000000;
      CheckAgainstReference(I, Ascending);
      for (std::int32_t& X : I) X = NMX_platform::Random(5);  // ties
      CheckAgainstReference(I, Ascending);
      std::vector<float> F(N);
      for (float& X : F)
        X = 0.25F * static_cast<float>(NMX_platform::Random(static_cast<int>(N) + 2));
      CheckAgainstReference(F, Ascending);
    }
  }
}

TEST(SortArray, PropertyOnRandomData) {
  AtEachIsa(PropertyOnRandomData);
}

// NaN compares false with everything and is never exchanged; -0 and +0 are equal and keep
// their places. Data with them comes out only partly ordered, but exactly as the element-wise
// pass leaves it, in every form of the pass (the sizes reach the small gaps 1 to 7 too).
template <typename T>
void CheckSpecialValues() {
  const T NaN = std::numeric_limits<T>::quiet_NaN();
  const T Inf = std::numeric_limits<T>::infinity();
  NMX_platform::SetRandSeed(99);
  for (std::size_t N : {7, 40, 333, 4096, 8192}) {
    for (bool Ascending : {true, false}) {
      std::vector<T> D(N);
      for (T& X : D) {
        const int K = NMX_platform::Random(10);
        X = K == 0   ? NaN
            : K == 1 ? T{0}
            : K == 2 ? -T{0}
            : K == 3 ? -Inf
                     : static_cast<T>(NMX_platform::Random());
      }
      std::vector<T> Ref = D;
      ReferenceCombSort(Ref, Ascending);
      SortArray(D, Ascending);
      EXPECT_EQ(std::memcmp(D.data(), Ref.data(), N * sizeof(T)), 0)
          << "seed 99, n = " << N << (Ascending ? " ascending" : " descending");
    }
  }
}

TEST(SortArray, NaNAndSignedZerosFollowTheElementwisePass) {
  AtEachIsa([] {
    CheckSpecialValues<double>();
    CheckSpecialValues<float>();
  });
}

TEST(SortArray, UntypedSortsEveryKindAndIgnoresOthers) {
  for (TVarKind Kind : {NMX_nmxbase::vkDouble, NMX_nmxbase::vkReal}) {
    double D[] = {3, 1, 2};
    SortArray(D, 3, Kind, true);
    EXPECT_EQ(std::vector<double>(D, D + 3), (std::vector<double>{1, 2, 3})) << int{Kind};
  }
  float F[] = {1, 3, 2};
  SortArray(F, 3, NMX_nmxbase::vkSingle, false);
  EXPECT_EQ(std::vector<float>(F, F + 3), (std::vector<float>{3, 2, 1}));
  for (TVarKind Kind : {NMX_nmxbase::vkInteger, NMX_nmxbase::vkLongint}) {
    std::int32_t I[] = {3, -1, 2, 0};
    SortArray(I, 4, Kind, true);
    EXPECT_EQ(std::vector<std::int32_t>(I, I + 4), (std::vector<std::int32_t>{-1, 0, 2, 3}))
        << int{Kind};
  }
  // Only the first N elements take part.
  double Part[] = {3, 2, 1};
  SortArray(Part, 2, NMX_nmxbase::vkDouble, true);
  EXPECT_EQ(std::vector<double>(Part, Part + 3), (std::vector<double>{2, 3, 1}));

  ProgressCounter Counter;
  double D[] = {3, 1, 2};
  SortArray(D, 3, static_cast<TVarKind>(5), true);
  SortArray(D, 3, static_cast<TVarKind>(255), true);
  SortArray(D, 1, NMX_nmxbase::vkDouble, true);
  SortArray(D, 0, NMX_nmxbase::vkDouble, true);
  SortArray(D, -4, NMX_nmxbase::vkDouble, true);
  SortArray(nullptr, 3, NMX_nmxbase::vkDouble, true);
  EXPECT_EQ(std::vector<double>(D, D + 3), (std::vector<double>{3, 1, 2}));
  EXPECT_EQ(Counter.Calls, 0);
}

TEST(SortIntoArray, InsertsInFrontOfTheFirstElementReached) {
  struct Case {
    std::vector<double> Data;
    double Value;
    bool Ascending;
    bool AllowDuplicates;
    int Pos;
    std::vector<double> After;
  };
  const Case Cases[] = {
      {{1, 3, 5}, 4, true, false, 2, {1, 3, 4}},
      {{1, 3, 5}, 0, true, false, 0, {0, 1, 3}},
      {{1, 3, 5}, 5, true, true, 2, {1, 3, 5}},   // in front of the equal last element
      {{1, 3, 5}, 6, true, true, -1, {1, 3, 5}},  // beyond the last element
      {{1, 3, 5}, 3, true, false, -1, {1, 3, 5}},
      {{1, 3, 5}, 3, true, true, 1, {1, 3, 3}},
      {{5, 3, 1}, 4, false, false, 1, {5, 4, 3}},
      {{5, 3, 1}, 0, false, false, -1, {5, 3, 1}},
      {{5, 3, 1}, 3, false, false, -1, {5, 3, 1}},
      {{5, 3, 1}, 9, false, false, 0, {9, 5, 3}},
      {{2}, 1, true, false, 0, {1}},
      {{2}, 3, true, false, -1, {2}},
      {{}, 1, true, true, -1, {}},
      {{1, 3, 5}, std::numeric_limits<double>::quiet_NaN(), true, true, -1, {1, 3, 5}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "Value " << C.Value << (C.Ascending ? " asc" : " desc")
                                    << (C.AllowDuplicates ? " dup" : ""));
    std::vector<double> D = C.Data;
    EXPECT_EQ(SortIntoArray(D, C.Value, C.Ascending, C.AllowDuplicates), C.Pos);
    EXPECT_EQ(D, C.After);

    // The untyped form on the same case, 1-based with 0 for "not inserted", for each kind.
    std::vector<double> UD = C.Data;
    EXPECT_EQ(SortIntoArray(UD.data(), static_cast<int>(UD.size()), NMX_nmxbase::vkReal, &C.Value,
                            C.Ascending, C.AllowDuplicates),
              C.Pos + 1);
    EXPECT_EQ(UD, C.After);
    if (std::isnan(C.Value)) continue;
    std::vector<float> UF(C.Data.begin(), C.Data.end());
    const auto FV = static_cast<float>(C.Value);
    EXPECT_EQ(SortIntoArray(UF.data(), static_cast<int>(UF.size()), NMX_nmxbase::vkSingle, &FV,
                            C.Ascending, C.AllowDuplicates),
              C.Pos + 1);
    EXPECT_EQ(UF, std::vector<float>(C.After.begin(), C.After.end()));
    std::vector<std::int32_t> UI(C.Data.begin(), C.Data.end());
    const auto IV = static_cast<std::int32_t>(C.Value);
    EXPECT_EQ(SortIntoArray(UI.data(), static_cast<int>(UI.size()), NMX_nmxbase::vkLongint, &IV,
                            C.Ascending, C.AllowDuplicates),
              C.Pos + 1);
    EXPECT_EQ(UI, std::vector<std::int32_t>(C.After.begin(), C.After.end()));
  }
}

TEST(SortIntoArray, TypedSingleAndIntegerAndBadUntypedArguments) {
  std::vector<float> F{1, 3, 5};
  EXPECT_EQ(SortIntoArray(F, 2.0F, true, false), 1);
  EXPECT_EQ(F, (std::vector<float>{1, 2, 3}));
  std::vector<std::int32_t> I{-5, -3, -1};
  EXPECT_EQ(SortIntoArray(I, std::int32_t{-3}, true, true), 1);
  EXPECT_EQ(I, (std::vector<std::int32_t>{-5, -3, -3}));
  double D[] = {1, 3, 5};
  const double V = 4;
  EXPECT_EQ(SortIntoArray(D, 3, NMX_nmxbase::vkDouble, &V, true, false), 3);
  EXPECT_EQ(SortIntoArray(D, 3, static_cast<TVarKind>(9), &V, true, false), 0);
  EXPECT_EQ(SortIntoArray(D, 0, NMX_nmxbase::vkDouble, &V, true, false), 0);
  EXPECT_EQ(SortIntoArray(nullptr, 3, NMX_nmxbase::vkDouble, &V, true, false), 0);
  EXPECT_EQ(SortIntoArray(D, 3, NMX_nmxbase::vkDouble, nullptr, true, false), 0);
  EXPECT_EQ(std::vector<double>(D, D + 3), (std::vector<double>{1, 3, 4}));
}

TEST(InsertIntoArray, ShiftsUpAndDropsTheLast) {
  struct Case {
    int Ix;
    std::vector<double> After;
  };
  const Case Cases[] = {
      {0, {9, 1, 2}}, {1, {1, 9, 2}}, {2, {1, 2, 9}}, {3, {1, 2, 3}}, {-1, {1, 2, 3}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    std::vector<double> D{1, 2, 3};
    InsertIntoArray(D, 9.0, C.Ix);
    EXPECT_EQ(D, C.After) << "Ix " << C.Ix;

    // Untyped: the same positions counted from 1.
    std::vector<double> UD{1, 2, 3};
    const double V = 9;
    InsertIntoArray(UD.data(), 3, NMX_nmxbase::vkDouble, &V, C.Ix + 1);
    EXPECT_EQ(UD, C.After) << "untyped Ix " << C.Ix + 1;
    std::vector<std::int32_t> UI{1, 2, 3};
    const std::int32_t IV = 9;
    InsertIntoArray(UI.data(), 3, NMX_nmxbase::vkInteger, &IV, C.Ix + 1);
    EXPECT_EQ(UI, std::vector<std::int32_t>(C.After.begin(), C.After.end()));
    std::vector<float> UF{1, 2, 3};
    const float FV = 9;
    InsertIntoArray(UF.data(), 3, NMX_nmxbase::vkSingle, &FV, C.Ix + 1);
    EXPECT_EQ(UF, std::vector<float>(C.After.begin(), C.After.end()));
  }
  std::vector<float> F{1, 2};
  InsertIntoArray(F, 7.0F, 1);
  EXPECT_EQ(F, (std::vector<float>{1, 7}));
  std::vector<std::int32_t> I{1, 2};
  InsertIntoArray(I, std::int32_t{7}, 0);
  EXPECT_EQ(I, (std::vector<std::int32_t>{7, 1}));
  std::vector<double> Empty;
  InsertIntoArray(Empty, 1.0, 0);
  EXPECT_TRUE(Empty.empty());

  double D[] = {1, 2, 3};
  const double V = 9;
  InsertIntoArray(D, 3, static_cast<TVarKind>(5), &V, 1);
  InsertIntoArray(nullptr, 3, NMX_nmxbase::vkDouble, &V, 1);
  InsertIntoArray(D, 3, NMX_nmxbase::vkDouble, nullptr, 1);
  InsertIntoArray(D, 0, NMX_nmxbase::vkDouble, &V, 1);
  EXPECT_EQ(std::vector<double>(D, D + 3), (std::vector<double>{1, 2, 3}));
}

// The companion-array use: SortIntoArray's position keeps an index array in step.
TEST(InsertIntoArray, KeepsACompanionArrayInStep) {
  std::vector<double> Best(3, std::numeric_limits<double>::infinity());
  std::vector<std::int32_t> Index(3, -1);
  const double Values[] = {5, 2, 8, 1, 3};
  for (std::int32_t K = 0; K < 5; ++K) {
    const int Pos = SortIntoArray(Best, Values[K], true, true);
    InsertIntoArray(Index, K, Pos);
  }
  EXPECT_EQ(Best, (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(Index, (std::vector<std::int32_t>{3, 1, 4}));
}

}  // namespace
