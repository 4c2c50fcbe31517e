#include "nmx/math1/moments.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

#include "math1/isa.h"

namespace NMX_math1 {
namespace {

using Size = std::size_t;

// Values are taken a block at a time; a block of doubles (8 KiB) stays in the first-level
// cache between the passes that the first block needs.
constexpr Size kBlock = 1024;

// Eight lanes of deviation sums, lane k taking the values k, k + 8, k + 16, ... of a block.
// The lanes are held in vectors of the width the instruction set has (W doubles: 2 on the
// baseline, 4 with AVX2, 8 with AVX-512), but every lane makes the same additions in the same
// order and the lanes are summed in one fixed tree, so every variant gives the same bits.
constexpr Size kLanes = 8;

// (An alias template cannot carry a dependent vector_size: GCC drops it. A member typedef can.)
template <Size W>
struct TVecTypes {
  typedef double Double __attribute__((vector_size(W * sizeof(double))));
  typedef std::int32_t Int __attribute__((vector_size(W * sizeof(std::int32_t))));
};
template <Size W>
using VecOf = typename TVecTypes<W>::Double;
template <Size W>
using VecIntOf = typename TVecTypes<W>::Int;
static_assert(sizeof(VecOf<4>) == 4 * sizeof(double) && sizeof(VecIntOf<2>) == 8);

// Vectors go in and out by reference: wide ones passed by value would take a calling
// convention that differs between the variants.
template <class T, Size W>
inline void LoadLanes(const T* P, VecOf<W>& V) noexcept {
  if constexpr (std::is_same_v<T, double>) {
    std::memcpy(&V, P, sizeof V);
  } else {
    VecIntOf<W> I;
    std::memcpy(&I, P, sizeof I);
    V = __builtin_convertvector(I, VecOf<W>);
  }
}

// The eight lanes, held in kLanes / W vectors, summed in a fixed tree order.
template <Size W>
inline double Reduce(const VecOf<W> (&A)[kLanes / W]) noexcept {
  double L[kLanes];
  std::memcpy(L, A, sizeof L);
  return ((L[0] + L[1]) + (L[2] + L[3])) + ((L[4] + L[5]) + (L[6] + L[7]));
}

// The sums of the powers of the deviations d = (x - Shift)·Scale over one block.
struct TDevSums {
  double D1 = 0.0, D2 = 0.0, D3 = 0.0, D4 = 0.0;
};

// One pass over a block: the deviation sums in lanes and, with WithSum, the plain sum S in
// element order. The plain sum is a chain of dependent additions; the lanes have none and
// run in its shadow, so the pass costs what the plain sum costs.
template <class T, int Order, bool WithSum, bool Scaled, Size W>
inline TDevSums Deviations(const T* P, Size Len, double Shift, double Scale, double& S) noexcept {
  constexpr Size kParts = kLanes / W;
  using V = VecOf<W>;
  V A1[kParts]{}, A2[kParts]{}, A3[kParts]{}, A4[kParts]{};
  Size I = 0;
  for (; I + kLanes <= Len; I += kLanes) {
    if constexpr (WithSum) {
      for (Size K = 0; K < kLanes; ++K) S += static_cast<double>(P[I + K]);
    }
    for (Size J = 0; J < kParts; ++J) {
      V D;
      LoadLanes<T, W>(P + I + J * W, D);
      D -= Shift;
      if constexpr (Scaled) D *= Scale;
      const V D2 = D * D;
      A1[J] += D;
      A2[J] += D2;
      if constexpr (Order == 4) {
        A3[J] += D2 * D;
        A4[J] += D2 * D2;
      }
    }
  }
  double T1 = 0.0, T2 = 0.0, T3 = 0.0, T4 = 0.0;
  for (; I < Len; ++I) {
    const double X = static_cast<double>(P[I]);
    if constexpr (WithSum) S += X;
    double D = X - Shift;
    if constexpr (Scaled) D *= Scale;
    const double D2 = D * D;
    T1 += D;
    T2 += D2;
    if constexpr (Order == 4) {
      T3 += D2 * D;
      T4 += D2 * D2;
    }
  }
  TDevSums Out;
  Out.D1 = Reduce<W>(A1) + T1;
  Out.D2 = Reduce<W>(A2) + T2;
  if constexpr (Order == 4) {
    Out.D3 = Reduce<W>(A3) + T3;
    Out.D4 = Reduce<W>(A4) + T4;
  }
  return Out;
}

// The blocks merged so far: their count, their mean (relative to the origin, in the scaled
// units of the deviations) and their central sums.
struct TMerged {
  double N = 0.0;
  double Mean = 0.0;
  double M2 = 0.0, M3 = 0.0, M4 = 0.0;
};

// Adds a block of L values with mean MeanB and central sums B.M2..B.M4 to A, by the pairwise
// formulas: with δ the difference of the means and n = na + nb,
//   M2 = M2a + M2b + δ² na nb / n
//   M3 = M3a + M3b + δ³ na nb (na - nb) / n² + 3δ (na M2b - nb M2a) / n
//   M4 = M4a + M4b + δ⁴ na nb (na² - na nb + nb²) / n³ + 6δ² (na² M2b + nb² M2a) / n²
//        + 4δ (na M3b - nb M3a) / n
template <int Order>
inline void Merge(TMerged& A, const TMerged& B) noexcept {
  if (A.N == 0.0) {
    A = B;
    return;
  }
  const double Na = A.N, Nb = B.N, N = Na + Nb;
  const double Delta = B.Mean - A.Mean;
  const double DeltaN = Delta / N;
  if constexpr (Order == 4) {
    const double DeltaN2 = DeltaN * DeltaN;
    A.M4 += B.M4 + Delta * DeltaN2 * DeltaN * Na * Nb * (Na * Na - Na * Nb + Nb * Nb) +
            6.0 * DeltaN2 * (Na * Na * B.M2 + Nb * Nb * A.M2) +
            4.0 * DeltaN * (Na * B.M3 - Nb * A.M3);
    A.M3 += B.M3 + Delta * DeltaN2 * Na * Nb * (Na - Nb) + 3.0 * DeltaN * (Na * B.M2 - Nb * A.M2);
  }
  A.M2 += B.M2 + Delta * DeltaN * Na * Nb;
  A.Mean += DeltaN * Nb;
  A.N = N;
}

// The central sums of a block from its deviation sums about a shift: with δ = D1 / L the
// offset of the block's mean from the shift, the binomial expansions of Σ(d - δ)^k. The shift
// is close to the mean, so δ is small and the corrections cancel nothing.
template <int Order>
inline TMerged BlockCentral(const TDevSums& S, double L, double MeanOfBlock) noexcept {
  TMerged B;
  B.N = L;
  B.Mean = MeanOfBlock;
  const double Delta = S.D1 / L;
  B.M2 = S.D2 - S.D1 * Delta;
  if constexpr (Order == 4) {
    const double Delta2 = Delta * Delta;
    B.M3 = S.D3 - 3.0 * Delta * S.D2 + 2.0 * L * Delta2 * Delta;
    B.M4 = S.D4 - 4.0 * Delta * S.D3 + 6.0 * Delta2 * S.D2 - 3.0 * L * Delta2 * Delta2;
  }
  return B;
}

template <class T>
using Pieces = std::span<const std::span<const T>>;

// The plain sum of a block, in element order, continuing S.
template <class T>
inline double AddInOrder(const T* P, Size Len, double S) noexcept {
  for (Size I = 0; I < Len; ++I) S += static_cast<double>(P[I]);
  return S;
}

// One pass over all pieces. The first block is read twice: once for its plain sum, whose
// mean becomes the origin and the first shift, then for the deviations. Every later block is
// read once, about the mean of the blocks before it, with the plain sum in the same loop.
// With Scaled, the deviations are multiplied by Scale and the plain sum is not formed.
template <class T, int Order, bool Scaled, Size W>
TMerged MomentsPass(Pieces<T> X, double Scale, double& S, double& Origin) noexcept {
  TMerged All;
  bool First = true;
  double Shift = 0.0;
  double Plain = 0.0;
  for (const std::span<const T> Piece : X) {
    for (Size Start = 0; Start < Piece.size(); Start += kBlock) {
      const Size Len = std::min(kBlock, Piece.size() - Start);
      const T* P = Piece.data() + Start;
      const double L = static_cast<double>(Len);
      TDevSums D;
      if (First) {
        Plain = AddInOrder(P, Len, Plain);
        Origin = Plain / L;
        Shift = Origin;
        double Unused = 0.0;
        D = Deviations<T, Order, false, Scaled, W>(P, Len, Shift, Scale, Unused);
        First = false;
      } else {
        D = Deviations<T, Order, !Scaled, Scaled, W>(P, Len, Shift, Scale, Plain);
      }
      double Offset = Shift - Origin;
      if constexpr (Scaled) Offset *= Scale;
      Merge<Order>(All, BlockCentral<Order>(D, L, Offset + D.D1 / L));
      Shift = Scaled ? Origin + All.Mean / Scale : Origin + All.Mean;
    }
  }
  if constexpr (!Scaled) S = Plain;
  return All;
}

template <class T>
bool IsConstant(Pieces<T> X) noexcept {
  bool Have = false;
  T First{};
  for (const std::span<const T> Piece : X) {
    for (const T V : Piece) {
      if (!Have) {
        First = V;
        Have = true;
      } else if (!(V == First)) {
        return false;
      }
    }
  }
  return true;
}

// The largest |x - Center|; false when it is not finite (non-finite data).
template <class T>
bool LargestDeviation(Pieces<T> X, double Center, double& Largest) noexcept {
  double M = 0.0;
  for (const std::span<const T> Piece : X) {
    for (const T V : Piece) {
      const double D = std::fabs(static_cast<double>(V) - Center);
      if (!(D <= std::numeric_limits<double>::max())) return false;  // NaN or infinite
      M = std::max(M, D);
    }
  }
  Largest = M;
  return true;
}

// The power of two that brings the largest deviation into [1, 2); 0 when there is none.
int ScaleExponent(double Largest) noexcept {
  return Largest > 0.0 ? std::ilogb(Largest) : 0;
}

// Whether the sums about the unscaled deviations kept their digits: no power of a deviation
// overflowed, and those that fell below the normal range are negligible against the sum. For
// the fourth powers the bounds of M2 are tighter, since M2²/N <= M4 <= M2².
template <int Order>
bool InRange(double M2) noexcept {
  if constexpr (Order == 4) return M2 >= 0x1p-450 && M2 <= 0x1p500;
  return M2 >= 0x1p-960 && M2 <= 0x1p1000;
}

// Whether M2 is so small against the mean that the data may have no spread at all: the mean
// of equal values need not be that value exactly, so their deviations are a few units in the
// last place, not 0.
bool MayBeConstant(double M2, double N, double Mean) noexcept {
  const double Tiny = 0x1p-36 * std::fabs(Mean);
  return !(M2 > N * Tiny * Tiny);
}

template <class T, int Order, Size W>
TMoments MomentsOf(Pieces<T> X) noexcept {
  TMoments M;
  for (const std::span<const T> Piece : X) M.N += Piece.size();
  if (M.N == 0) return M;
  const double N = static_cast<double>(M.N);
  double S = 0.0, Origin = 0.0;
  TMerged R = MomentsPass<T, Order, false, W>(X, 1.0, S, Origin);
  M.Sum = S;
  if (MayBeConstant(R.M2, N, S / N) && IsConstant(X)) return M;
  M.M2 = R.M2;
  M.M3 = R.M3;
  M.M4 = R.M4;
  if (InRange<Order>(R.M2)) return M;
  double Largest = 0.0;
  if (!LargestDeviation(X, Origin, Largest) || Largest == 0.0) return M;
  const int E = ScaleExponent(Largest);
  double Unused = 0.0;
  R = MomentsPass<T, Order, true, W>(X, std::ldexp(1.0, -E), Unused, Origin);
  M.Exponent = E;
  M.M2 = R.M2;
  M.M3 = R.M3;
  M.M4 = R.M4;
  return M;
}

// --- co-moments ------------------------------------------------------------------------------

struct TCoDevSums {
  double X1 = 0.0, Y1 = 0.0, X2 = 0.0, Y2 = 0.0, XY = 0.0;
};

template <class T, bool WithSum, bool Scaled, Size W>
inline TCoDevSums CoDeviations(const T* PX, const T* PY, Size Len, double ShiftX, double ShiftY,
                               double ScaleX, double ScaleY, double& SX, double& SY) noexcept {
  constexpr Size kParts = kLanes / W;
  using V = VecOf<W>;
  V AX[kParts]{}, AY[kParts]{}, AXX[kParts]{}, AYY[kParts]{}, AXY[kParts]{};
  Size I = 0;
  for (; I + kLanes <= Len; I += kLanes) {
    if constexpr (WithSum) {
      for (Size K = 0; K < kLanes; ++K) {
        SX += static_cast<double>(PX[I + K]);
        SY += static_cast<double>(PY[I + K]);
      }
    }
    for (Size J = 0; J < kParts; ++J) {
      V DX, DY;
      LoadLanes<T, W>(PX + I + J * W, DX);
      LoadLanes<T, W>(PY + I + J * W, DY);
      DX -= ShiftX;
      DY -= ShiftY;
      if constexpr (Scaled) {
        DX *= ScaleX;
        DY *= ScaleY;
      }
      AX[J] += DX;
      AY[J] += DY;
      AXX[J] += DX * DX;
      AYY[J] += DY * DY;
      AXY[J] += DX * DY;
    }
  }
  TCoDevSums Tail;
  for (; I < Len; ++I) {
    const double X = static_cast<double>(PX[I]), Y = static_cast<double>(PY[I]);
    if constexpr (WithSum) {
      SX += X;
      SY += Y;
    }
    double DX = X - ShiftX, DY = Y - ShiftY;
    if constexpr (Scaled) {
      DX *= ScaleX;
      DY *= ScaleY;
    }
    Tail.X1 += DX;
    Tail.Y1 += DY;
    Tail.X2 += DX * DX;
    Tail.Y2 += DY * DY;
    Tail.XY += DX * DY;
  }
  TCoDevSums Out;
  Out.X1 = Reduce<W>(AX) + Tail.X1;
  Out.Y1 = Reduce<W>(AY) + Tail.Y1;
  Out.X2 = Reduce<W>(AXX) + Tail.X2;
  Out.Y2 = Reduce<W>(AYY) + Tail.Y2;
  Out.XY = Reduce<W>(AXY) + Tail.XY;
  return Out;
}

struct TCoMerged {
  double N = 0.0;
  double MeanX = 0.0, MeanY = 0.0;
  double M2X = 0.0, M2Y = 0.0, CXY = 0.0;
};

// C = Ca + Cb + δx δy na nb / n, beside the M2 update of each sequence.
inline void CoMerge(TCoMerged& A, const TCoMerged& B) noexcept {
  if (A.N == 0.0) {
    A = B;
    return;
  }
  const double Na = A.N, Nb = B.N, N = Na + Nb;
  const double DX = B.MeanX - A.MeanX, DY = B.MeanY - A.MeanY;
  const double W = Na * Nb / N;
  A.M2X += B.M2X + DX * DX * W;
  A.M2Y += B.M2Y + DY * DY * W;
  A.CXY += B.CXY + DX * DY * W;
  A.MeanX += DX * (Nb / N);
  A.MeanY += DY * (Nb / N);
  A.N = N;
}

template <class T, bool Scaled, Size W>
TCoMerged CoPass(std::span<const T> X, std::span<const T> Y, double ScaleX, double ScaleY,
                 double& SX, double& SY, double& OriginX, double& OriginY) noexcept {
  const Size N = X.size();
  TCoMerged All;
  double ShiftX = 0.0, ShiftY = 0.0, PlainX = 0.0, PlainY = 0.0;
  for (Size Start = 0; Start < N; Start += kBlock) {
    const Size Len = std::min(kBlock, N - Start);
    const T* PX = X.data() + Start;
    const T* PY = Y.data() + Start;
    const double L = static_cast<double>(Len);
    TCoDevSums D;
    if (Start == 0) {
      PlainX = AddInOrder(PX, Len, PlainX);
      PlainY = AddInOrder(PY, Len, PlainY);
      OriginX = ShiftX = PlainX / L;
      OriginY = ShiftY = PlainY / L;
      double UX = 0.0, UY = 0.0;
      D = CoDeviations<T, false, Scaled, W>(PX, PY, Len, ShiftX, ShiftY, ScaleX, ScaleY, UX, UY);
    } else {
      D = CoDeviations<T, !Scaled, Scaled, W>(PX, PY, Len, ShiftX, ShiftY, ScaleX, ScaleY, PlainX,
                                           PlainY);
    }
    TCoMerged B;
    B.N = L;
    const double DeltaX = D.X1 / L, DeltaY = D.Y1 / L;
    B.MeanX = (Scaled ? (ShiftX - OriginX) * ScaleX : ShiftX - OriginX) + DeltaX;
    B.MeanY = (Scaled ? (ShiftY - OriginY) * ScaleY : ShiftY - OriginY) + DeltaY;
    B.M2X = D.X2 - D.X1 * DeltaX;
    B.M2Y = D.Y2 - D.Y1 * DeltaY;
    B.CXY = D.XY - D.X1 * DeltaY;
    CoMerge(All, B);
    ShiftX = OriginX + (Scaled ? All.MeanX / ScaleX : All.MeanX);
    ShiftY = OriginY + (Scaled ? All.MeanY / ScaleY : All.MeanY);
  }
  if constexpr (!Scaled) {
    SX = PlainX;
    SY = PlainY;
  }
  return All;
}

template <class T, Size W>
TCoMoments CoMomentsOf(std::span<const T> X, std::span<const T> Y) noexcept {
  TCoMoments C;
  C.N = std::min(X.size(), Y.size());
  if (C.N == 0) return C;
  X = X.first(C.N);
  Y = Y.first(C.N);
  const double N = static_cast<double>(C.N);
  double OX = 0.0, OY = 0.0;
  TCoMerged R = CoPass<T, false, W>(X, Y, 1.0, 1.0, C.SumX, C.SumY, OX, OY);
  const std::span<const T> XS[1] = {X};
  const std::span<const T> YS[1] = {Y};
  const bool ConstX = MayBeConstant(R.M2X, N, C.SumX / N) && IsConstant<T>(XS);
  const bool ConstY = MayBeConstant(R.M2Y, N, C.SumY / N) && IsConstant<T>(YS);
  if (ConstX || ConstY) {
    if (!ConstX) C.M2X = R.M2X;
    if (!ConstY) C.M2Y = R.M2Y;
    return C;
  }
  C.M2X = R.M2X;
  C.M2Y = R.M2Y;
  C.CXY = R.CXY;
  if (InRange<2>(R.M2X) && InRange<2>(R.M2Y)) return C;
  double LX = 0.0, LY = 0.0;
  if (!LargestDeviation<T>(XS, OX, LX) || !LargestDeviation<T>(YS, OY, LY)) return C;
  const int EX = ScaleExponent(LX), EY = ScaleExponent(LY);
  double UX = 0.0, UY = 0.0;
  R = CoPass<T, true, W>(X, Y, std::ldexp(1.0, -EX), std::ldexp(1.0, -EY), UX, UY, OX, OY);
  C.ExponentX = EX;
  C.ExponentY = EY;
  C.M2X = R.M2X;
  C.M2Y = R.M2Y;
  C.CXY = R.CXY;
  return C;
}

// --- the variants ----------------------------------------------------------------------------

template <class T>
TMoments Dispatch(Pieces<T> X, int HighestOrder) noexcept {
  const bool Fourth = HighestOrder > 2;
#if NMX_ISA_VARIANTS
  struct Avx512 {
    NMX_TARGET_AVX512 static TMoments Second(Pieces<T> X) { return MomentsOf<T, 2, 8>(X); }
    NMX_TARGET_AVX512 static TMoments Fourth(Pieces<T> X) { return MomentsOf<T, 4, 8>(X); }
  };
  struct Avx2 {
    NMX_TARGET_AVX2 static TMoments Second(Pieces<T> X) { return MomentsOf<T, 2, 4>(X); }
    NMX_TARGET_AVX2 static TMoments Fourth(Pieces<T> X) { return MomentsOf<T, 4, 4>(X); }
  };
  switch (detail::ActiveIsa()) {
    case detail::TIsa::Avx512:
      return Fourth ? Avx512::Fourth(X) : Avx512::Second(X);
    case detail::TIsa::Avx2:
      return Fourth ? Avx2::Fourth(X) : Avx2::Second(X);
    case detail::TIsa::Baseline:
      break;
  }
#endif
  return Fourth ? MomentsOf<T, 4, 2>(X) : MomentsOf<T, 2, 2>(X);
}

template <class T>
TCoMoments CoDispatch(std::span<const T> X, std::span<const T> Y) noexcept {
#if NMX_ISA_VARIANTS
  struct Variants {
    NMX_TARGET_AVX512 static TCoMoments Avx512(std::span<const T> X, std::span<const T> Y) {
      return CoMomentsOf<T, 8>(X, Y);
    }
    NMX_TARGET_AVX2 static TCoMoments Avx2(std::span<const T> X, std::span<const T> Y) {
      return CoMomentsOf<T, 4>(X, Y);
    }
  };
  switch (detail::ActiveIsa()) {
    case detail::TIsa::Avx512:
      return Variants::Avx512(X, Y);
    case detail::TIsa::Avx2:
      return Variants::Avx2(X, Y);
    case detail::TIsa::Baseline:
      break;
  }
#endif
  return CoMomentsOf<T, 2>(X, Y);
}

}  // namespace

double TMoments::SampleVariance() const noexcept {
  if (N < 2) return std::nan("");
  return std::ldexp(M2 / static_cast<double>(N - 1), 2 * Exponent);
}

double TMoments::SampleStdDev() const noexcept {
  if (N < 2) return std::nan("");
  return std::ldexp(std::sqrt(M2 / static_cast<double>(N - 1)), Exponent);
}

double TCoMoments::Correlation() const noexcept {
  // The product of the two sums leaves the double range only for scaled sums of extreme
  // length; then the roots are taken one by one.
  double Denom = std::sqrt(M2X * M2Y);
  if (!(Denom > 0.0) || std::isinf(Denom)) Denom = std::sqrt(M2X) * std::sqrt(M2Y);
  return CXY / Denom;
}

TMoments CentralMoments(std::span<const double> X, int HighestOrder) {
  const std::span<const double> One[1] = {X};
  return Dispatch<double>(One, HighestOrder);
}

TMoments CentralMoments(std::span<const std::int32_t> X, int HighestOrder) {
  const std::span<const std::int32_t> One[1] = {X};
  return Dispatch<std::int32_t>(One, HighestOrder);
}

TMoments CentralMoments(std::span<const std::span<const double>> Pieces, int HighestOrder) {
  return Dispatch<double>(Pieces, HighestOrder);
}

TMoments CentralMoments(std::span<const std::span<const std::int32_t>> Pieces, int HighestOrder) {
  return Dispatch<std::int32_t>(Pieces, HighestOrder);
}

TCoMoments CoMoments(std::span<const double> X, std::span<const double> Y) {
  return CoDispatch(X, Y);
}

TCoMoments CoMoments(std::span<const std::int32_t> X, std::span<const std::int32_t> Y) {
  return CoDispatch(X, Y);
}

}  // namespace NMX_math1
