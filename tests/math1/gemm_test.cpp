#include "math1/gemm.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "math1/isa.h"
#include "support/isa_levels.h"
#include "nmx/platform/random.h"

namespace {

namespace D = NMX_math1::detail;
using D::GemmAscending;
using D::TGemmMode;
using D::TTrans;
using Index = std::ptrdiff_t;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

using nmx_test::AtEachIsa;

// The product as the kernel promises it, written the plain way.
void PlainProduct(TTrans TA, TTrans TB, Index M, Index N, Index K, const double* A, Index Lda,
                  const double* B, Index Ldb, double* C, Index Ldc, TGemmMode Mode) {
  for (Index J = 0; J < N; ++J) {
    for (Index I = 0; I < M; ++I) {
      double S = Mode == TGemmMode::Overwrite ? 0.0 : C[I + J * Ldc];
      for (Index L = 0; L < K; ++L) {
        const double P = (TA == TTrans::No ? A[I + L * Lda] : A[L + I * Lda]) *
                         (TB == TTrans::No ? B[L + J * Ldb] : B[J + L * Ldb]);
        if (Mode == TGemmMode::Overwrite) {
          S += P;
        } else {
          S -= P;
        }
      }
      C[I + J * Ldc] = S;
    }
  }
}

enum class TFill {
  Wide,         // random signs and mantissas, exponents over ±40 binades
  Cancelling,   // ±1e16 beside ±1 and small values: any other order changes the sums
  SignedZeros,  // mostly ±0 with a few ±1: sums of zero products of both signs
  Special,      // wide values with NaN, ±Inf and ±0 sprinkled in
};

double Draw(TFill Fill) {
  using NMX_platform::Random;
  const double Sign = Random(2) == 0 ? 1.0 : -1.0;
  switch (Fill) {
    case TFill::Wide:
      return Sign * (1.0 + Random()) * std::ldexp(1.0, Random(81) - 40);
    case TFill::Cancelling: {
      static constexpr double kValues[] = {1e16, 1.0, 3.0, 0.1, 1e-3, 1e16, 7e15};
      return Sign * kValues[Random(7)];
    }
    case TFill::SignedZeros:
      return Sign * (Random(5) == 0 ? 1.0 : 0.0);
    case TFill::Special: {
      static constexpr double kValues[] = {kNaN, kInf, -kInf, 0.0, -0.0};
      return Random(40) == 0 ? kValues[Random(5)] : Draw(TFill::Wide);
    }
  }
  return 0.0;
}

// Equal bits, or both NaN: which NaN payload a sum of two NaNs keeps depends on the order of
// the operands of the addition instruction, which compilers choose freely for a commutative
// operation, so the reference loop itself does not fix it.
bool SameBits(double X, double Y) {
  return std::bit_cast<std::uint64_t>(X) == std::bit_cast<std::uint64_t>(Y) ||
         (std::isnan(X) && std::isnan(Y));
}

std::string Show(double X) {
  char Text[64];
  std::snprintf(Text, sizeof Text, "%.17g (%a)", X, X);
  return Text;
}

// A matrix stored with Rows rows of Cols columns in a buffer of leading dimension Rows + Pad;
// the padding holds NaN, so an entry read from it poisons a result and one written to it shows.
struct TStored {
  Index Rows, Cols, Ld;
  std::vector<double> Data;
  TStored(Index R, Index C, Index Pad, TFill Fill)
      : Rows(R), Cols(C), Ld(std::max<Index>(R + Pad, 1)),
        Data(static_cast<std::size_t>(std::max<Index>(Ld * C, 1)), kNaN) {
    for (Index J = 0; J < C; ++J) {
      for (Index I = 0; I < R; ++I) Data[static_cast<std::size_t>(I + J * Ld)] = Draw(Fill);
    }
  }
};

struct TCase {
  Index M, N, K;
  TFill Fill;
  Index Pad;      // added to every leading dimension
  bool AllForms;  // all four transpositions, else only the two without mixed forms
};

void CheckCase(const TCase& Case, std::uint64_t Seed) {
  for (const TTrans TA : {TTrans::No, TTrans::Yes}) {
    for (const TTrans TB : {TTrans::No, TTrans::Yes}) {
      if (!Case.AllForms && TA != TB) continue;
      for (const TGemmMode Mode : {TGemmMode::Overwrite, TGemmMode::Subtract}) {
        SCOPED_TRACE(testing::Message()
                     << "TA " << (TA == TTrans::Yes) << " TB " << (TB == TTrans::Yes) << " mode "
                     << (Mode == TGemmMode::Subtract ? "subtract" : "overwrite"));
        NMX_platform::SetRandSeed(Seed);
        const TStored A = TA == TTrans::No ? TStored(Case.M, Case.K, Case.Pad, Case.Fill)
                                           : TStored(Case.K, Case.M, Case.Pad, Case.Fill);
        const TStored B = TB == TTrans::No ? TStored(Case.K, Case.N, Case.Pad, Case.Fill)
                                           : TStored(Case.N, Case.K, Case.Pad, Case.Fill);
        // Overwrite must not read C: its start holds NaN and infinities there too.
        const TStored C0(Case.M, Case.N, Case.Pad,
                         Mode == TGemmMode::Overwrite ? TFill::Special : Case.Fill);
        std::vector<double> Want = C0.Data, Got = C0.Data;
        PlainProduct(TA, TB, Case.M, Case.N, Case.K, A.Data.data(), A.Ld, B.Data.data(), B.Ld,
                     Want.data(), C0.Ld, Mode);
        GemmAscending(TA, TB, Case.M, Case.N, Case.K, A.Data.data(), A.Ld, B.Data.data(), B.Ld,
                      Got.data(), C0.Ld, Mode);
        for (std::size_t P = 0; P < Want.size(); ++P) {
          if (!SameBits(Want[P], Got[P])) {
            const Index I = static_cast<Index>(P) % C0.Ld, J = static_cast<Index>(P) / C0.Ld;
            ADD_FAILURE() << "entry (" << I << ", " << J << ")" << (I >= Case.M ? " (padding)" : "")
                          << ": want " << Show(Want[P]) << " got " << Show(Got[P]);
            return;
          }
        }
      }
    }
  }
}

// Sizes around the tiles (4, 8, 24 rows; 4, 6, 8 columns), the blocks of k (256) and of rows
// (128, 240), the column panels (2046, 2048), vectors, and K = 0.
const TCase kCases[] = {
    {1, 1, 1, TFill::Wide, 0, true},
    {7, 5, 3, TFill::Wide, 2, true},
    {1, 300, 40, TFill::Wide, 1, true},
    {300, 1, 40, TFill::Wide, 0, true},
    {63, 65, 7, TFill::Wide, 3, true},
    {65, 63, 65, TFill::Wide, 0, true},
    {24, 8, 256, TFill::Wide, 0, true},
    {48, 18, 513, TFill::Cancelling, 5, true},
    {17, 33, 300, TFill::Cancelling, 0, true},
    {500, 9, 20, TFill::Wide, 1, true},
    {5, 2100, 3, TFill::Wide, 0, true},
    {33, 17, 0, TFill::Wide, 2, true},
    {40, 30, 25, TFill::SignedZeros, 1, true},
    {60, 30, 3, TFill::SignedZeros, 0, true},
    {9, 7, 2, TFill::SignedZeros, 0, true},
    {70, 50, 300, TFill::Special, 2, true},
    {257, 257, 257, TFill::Wide, 1, false},
};

TEST(GemmAscending, GivesTheBitsOfThePlainLoop) {
  AtEachIsa([] {
    std::uint64_t Seed = 1000;
    for (const TCase& Case : kCases) {
      ++Seed;
      SCOPED_TRACE(testing::Message() << "M " << Case.M << " N " << Case.N << " K " << Case.K
                                      << " fill " << static_cast<int>(Case.Fill) << " pad "
                                      << Case.Pad << " seed " << Seed);
      CheckCase(Case, Seed);
    }
  });
}

// Independently of the reference: a sum of zero products starts from +0, so products of -0
// give +0, and with K = 0 the overwriting product is +0 and the subtracting one leaves C.
TEST(GemmAscending, SumsOfNegativeZerosStartFromPlusZero) {
  struct TSize {
    Index M, N, K;
  };
  for (const TSize S : {TSize{3, 2, 4}, TSize{50, 40, 300}, TSize{50, 40, 0}}) {
    SCOPED_TRACE(testing::Message() << "M " << S.M << " N " << S.N << " K " << S.K);
    AtEachIsa([S] {
      const std::vector<double> A(static_cast<std::size_t>(S.M * S.K + 1), -0.0);
      const std::vector<double> B(static_cast<std::size_t>(S.K * S.N + 1), 1.0);
      std::vector<double> C(static_cast<std::size_t>(S.M * S.N), kNaN);
      GemmAscending(TTrans::No, TTrans::No, S.M, S.N, S.K, A.data(), S.M, B.data(),
                    std::max<Index>(S.K, 1), C.data(), S.M, TGemmMode::Overwrite);
      for (const double X : C) ASSERT_EQ(std::bit_cast<std::uint64_t>(X), 0u) << X;
      std::fill(C.begin(), C.end(), -0.0);
      GemmAscending(TTrans::No, TTrans::No, S.M, S.N, S.K, A.data(), S.M, B.data(),
                    std::max<Index>(S.K, 1), C.data(), S.M, TGemmMode::Subtract);
      // -0 - (-0) is +0; with no product C keeps its -0.
      const std::uint64_t Want = std::bit_cast<std::uint64_t>(S.K == 0 ? -0.0 : 0.0);
      for (const double X : C) ASSERT_EQ(std::bit_cast<std::uint64_t>(X), Want) << X;
    });
  }
}

}  // namespace
