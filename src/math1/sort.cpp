#include "nmx/math1/sort.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "math1/comb_sort.h"
#include "math1/isa.h"
#include "nmx/base/progress.h"

namespace NMX_math1 {
namespace {

using Size = std::size_t;

template <typename T, bool Ascending>
bool OutOfOrder(T A, T B) {
  if constexpr (Ascending) {
    return A > B;
  } else {
    return A < B;
  }
}

// --- Large gaps -------------------------------------------------------------------------------
//
// One stretch of a pass in which no element is both a lower and an upper partner: Lo[0..Len)
// and Hi[0..Len) are disjoint (Len <= gap), so the pairs are independent and the order in
// which they are handled cannot matter. They are handled a vector at a time as branch-free
// selects: the lane mask is exactly `A > B` (ascending), so a pair changes if and only if the
// pair-by-pair pass would exchange it, NaN and signed zeros included.
// The vectors are the compiler's generic ones of Bytes bytes: 16 on the baseline (SSE2 on
// x86-64, NEON on ARM; the plain select loop is not vectorised for floating types there),
// 32 in the AVX2 and AVX-512 variants. The lanes are independent pairs, so the width changes
// nothing but the speed.
template <typename T, bool Ascending, Size Bytes>
bool OrderDisjointPairs(T* Lo, T* Hi, Size Len) {
  constexpr Size kBytes = Bytes;
  constexpr Size kLanes = kBytes / sizeof(T);
  using TVec [[gnu::vector_size(kBytes)]] = T;
  using TLane = std::conditional_t<sizeof(T) == 8, std::int64_t, std::int32_t>;
  using TMask [[gnu::vector_size(kBytes)]] = TLane;
  TMask AnyLane{};
  Size K = 0;
  for (; K + kLanes <= Len; K += kLanes) {
    TVec A, B;
    std::memcpy(&A, Lo + K, kBytes);
    std::memcpy(&B, Hi + K, kBytes);
    TMask S;
    if constexpr (Ascending) {
      S = A > B;
    } else {
      S = A < B;
    }
    const TVec NewLo = S ? B : A;
    const TVec NewHi = S ? A : B;
    std::memcpy(Lo + K, &NewLo, kBytes);
    std::memcpy(Hi + K, &NewHi, kBytes);
    AnyLane |= S;
  }
  bool Swapped = false;
  for (Size L = 0; L < kLanes; ++L) Swapped |= AnyLane[L] != 0;
  for (; K < Len; ++K) {
    const T A = Lo[K];
    const T B = Hi[K];
    const bool S = OutOfOrder<T, Ascending>(A, B);
    Lo[K] = S ? B : A;
    Hi[K] = S ? A : B;
    Swapped |= S;
  }
  return Swapped;
}

// --- Small gaps -------------------------------------------------------------------------------
//
// With a small gap the stretches above are too short, and a pass that exchanges in memory
// waits on its own stores. But a pass with gap G is G interleaved bubble passes, one along
// each residue class modulo G: the pair (i, i + G) takes the element that the pair (i - G, i)
// left at i, and what it leaves at i is final for this pass. So the G elements moving up are
// carried in registers, each pair stores one final element, and the exchange is a min/max
// pair, with no branch to mispredict on data that is still far from sorted.
//
// TCarry<T> supplies the register form of an element and one step: Step(Carry, B, Flags)
// returns the element that stays below (in the order of the sort) and leaves the one that
// moves on in Carry, and records in Flags whether the two were exchanged.

template <typename T>
struct TCarry;

#if defined(__SSE2__)
// minsd(X, Y) is X < Y ? X : Y and maxsd(X, Y) is X > Y ? X : Y, exactly, for NaN and signed
// zeros too: ascending, (A > B ? B : A) is min(B, A) and (A > B ? A : B) is max(A, B). A plain
// conditional would be compiled to a branch.
template <>
struct TCarry<double> {
  using R = __m128d;
  static R Load(const double* P) { return _mm_load_sd(P); }
  static void Store(double* P, R V) { _mm_store_sd(P, V); }
  static R NoFlags() { return _mm_setzero_pd(); }
  static bool Any(R Flags) { return (_mm_movemask_pd(Flags) & 1) != 0; }
  template <bool Ascending>
  static R Step(R& Carry, R B, R& Flags) {
    const R A = Carry;
    if constexpr (Ascending) {
      Flags = _mm_or_pd(Flags, _mm_cmplt_sd(B, A));
      Carry = _mm_max_sd(A, B);
      return _mm_min_sd(B, A);
    } else {
      Flags = _mm_or_pd(Flags, _mm_cmplt_sd(A, B));
      Carry = _mm_min_sd(A, B);
      return _mm_max_sd(B, A);
    }
  }
};

template <>
struct TCarry<float> {
  using R = __m128;
  static R Load(const float* P) { return _mm_load_ss(P); }
  static void Store(float* P, R V) { _mm_store_ss(P, V); }
  static R NoFlags() { return _mm_setzero_ps(); }
  static bool Any(R Flags) { return (_mm_movemask_ps(Flags) & 1) != 0; }
  template <bool Ascending>
  static R Step(R& Carry, R B, R& Flags) {
    const R A = Carry;
    if constexpr (Ascending) {
      Flags = _mm_or_ps(Flags, _mm_cmplt_ss(B, A));
      Carry = _mm_max_ss(A, B);
      return _mm_min_ss(B, A);
    } else {
      Flags = _mm_or_ps(Flags, _mm_cmplt_ss(A, B));
      Carry = _mm_min_ss(A, B);
      return _mm_max_ss(B, A);
    }
  }
};
#endif

// The generic form, by conditionals; used for the floating types where no min/max
// instructions are known to this file (the compiler may or may not avoid the branch there).
template <typename T>
struct TCarry {
  using R = T;
  static R Load(const T* P) { return *P; }
  static void Store(T* P, R V) { *P = V; }
  static unsigned NoFlags() { return 0; }
  static bool Any(unsigned Flags) { return Flags != 0; }
  template <bool Ascending>
  static R Step(R& Carry, R B, unsigned& Flags) {
    const R A = Carry;
    const bool S = OutOfOrder<T, Ascending>(A, B);
    Flags |= static_cast<unsigned>(S);
    Carry = S ? A : B;
    return S ? B : A;
  }
};

// 32-bit integers: the difference in 64 bits cannot overflow, and its sign spread over all
// bits is the exchange mask, so the min/max is arithmetic and no compiler turns it into a
// branch.
template <>
struct TCarry<std::int32_t> {
  using R = std::int64_t;
  static R Load(const std::int32_t* P) { return *P; }
  static void Store(std::int32_t* P, R V) { *P = static_cast<std::int32_t>(V); }
  static std::uint64_t NoFlags() { return 0; }
  static bool Any(std::uint64_t Flags) { return Flags != 0; }
  template <bool Ascending>
  static R Step(R& Carry, R B, std::uint64_t& Flags) {
    const R A = Carry;
    // Ascending, the pair is exchanged when B < A: Diff < 0. Descending when A < B.
    const R Diff = Ascending ? B - A : A - B;
    const auto Mask = static_cast<std::uint64_t>(Diff >> 63);  // all ones when exchanged
    Flags |= Mask;
    const R Move = static_cast<R>(static_cast<std::uint64_t>(B - A) & Mask);
    Carry = B - Move;  // A when exchanged, else B
    return A + Move;   // B when exchanged, else A
  }
};

template <typename T, bool Ascending, Size G>
bool CarryPass(T* D, Size N) {
  using Ops = TCarry<T>;
  typename Ops::R Carry[G];
  for (Size R = 0; R < G; ++R) Carry[R] = Ops::Load(D + R);
  auto Flags = Ops::NoFlags();
  const Size Pairs = N - G;
  Size I = 0;
  // G pairs at a time, so that pair i always finds its carry in Carry[i mod G] and the
  // unrolled body keeps all of them in registers.
  for (; I + G <= Pairs; I += G) {
    for (Size R = 0; R < G; ++R) {
      Ops::Store(D + I + R,
                 Ops::template Step<Ascending>(Carry[R], Ops::Load(D + I + R + G), Flags));
    }
  }
  for (Size R = 0; I < Pairs; ++I, ++R) {
    Ops::Store(D + I, Ops::template Step<Ascending>(Carry[R], Ops::Load(D + I + G), Flags));
  }
  // The carries are the last element of each class: positions Pairs..N-1.
  for (Size J = Pairs; J < N; ++J) Ops::Store(D + J, Carry[J % G]);
  return Ops::Any(Flags);
}

// The pass element by element, exchanging in memory. Faster than the carried form only where
// almost no pair is out of order, so that the branch is always predicted: the gap-1 passes
// after the first, which mostly confirm that the data is in order.
template <typename T, bool Ascending>
bool PlainPass(T* D, Size N, Size Gap) {
  bool Swapped = false;
  for (Size I = 0; I + Gap < N; ++I) {
    if (OutOfOrder<T, Ascending>(D[I], D[I + Gap])) {
      std::swap(D[I], D[I + Gap]);
      Swapped = true;
    }
  }
  return Swapped;
}

// Gaps from this one up go by stretches; below it by carried classes.
constexpr Size kMinBlockGap = 8;

// One comb pass with the given gap: the pairs (i, i + Gap) for i = 0, 1, ... in that order,
// each exchanged when out of order. Every form above makes exactly those exchanges.
// FirstOfGap is false for a repeated gap-1 pass.
template <typename T, bool Ascending, Size Bytes>
bool CombPass(T* D, Size N, Size Gap, bool FirstOfGap) {
  static_assert(kMinBlockGap == 8, "the cases below cover the gaps 1 to 7");
  if (Gap >= kMinBlockGap) {
    const Size Pairs = N - Gap;
    bool Swapped = false;
    // A stretch only reads elements that earlier stretches have finished with, so stretch by
    // stretch equals element by element.
    for (Size Start = 0; Start < Pairs; Start += Gap) {
      const Size Len = std::min(Gap, Pairs - Start);
      Swapped |= OrderDisjointPairs<T, Ascending, Bytes>(D + Start, D + Start + Gap, Len);
    }
    return Swapped;
  }
  switch (Gap) {
    case 1:
      return FirstOfGap ? CarryPass<T, Ascending, 1>(D, N) : PlainPass<T, Ascending>(D, N, 1);
    case 2:
      return CarryPass<T, Ascending, 2>(D, N);
    case 3:
      return CarryPass<T, Ascending, 3>(D, N);
    case 4:
      return CarryPass<T, Ascending, 4>(D, N);
    case 5:
      return CarryPass<T, Ascending, 5>(D, N);
    case 6:
      return CarryPass<T, Ascending, 6>(D, N);
    default:
      return CarryPass<T, Ascending, 7>(D, N);
  }
}

template <typename T, bool Ascending, Size Bytes>
void CombSortDir(T* D, Size N, Size StartGap, bool Progress) {
  Size Gap = StartGap;
  bool Swapped = false;
  bool FirstOfGap = true;
  do {
    const Size Next = detail::NextCombGap(Gap);
    FirstOfGap = Next != Gap;
    Gap = Next;
    Swapped = CombPass<T, Ascending, Bytes>(D, N, Gap, FirstOfGap);
    if (Progress) NMX_nmxbase::StepProgress();
  } while (Gap != 1 || Swapped);
}

template <typename T, Size Bytes>
void CombSortBody(T* D, Size N, bool Ascending, Size StartGap, bool Progress) {
  if (Ascending) {
    CombSortDir<T, true, Bytes>(D, N, StartGap, Progress);
  } else {
    CombSortDir<T, false, Bytes>(D, N, StartGap, Progress);
  }
}

// The instruction-set variants, each the whole sort compiled for its level. 32-byte vectors
// halve the time of the baseline's 16-byte ones on 10^6 doubles; 64-byte vectors in the
// AVX-512 body were 10 to 20 % slower than 32-byte ones on the processor measured (one that
// splits 512-bit operations), so that body keeps 32 bytes with the AVX-512 encodings.
template <typename T>
struct TSortVariants {
#if NMX_ISA_VARIANTS
  NMX_TARGET_AVX512 static void Avx512(T* D, Size N, bool Asc, Size StartGap, bool Progress) {
    CombSortBody<T, 32>(D, N, Asc, StartGap, Progress);
  }
  NMX_TARGET_AVX2 static void Avx2(T* D, Size N, bool Asc, Size StartGap, bool Progress) {
    CombSortBody<T, 32>(D, N, Asc, StartGap, Progress);
  }
#endif
  static void Baseline(T* D, Size N, bool Asc, Size StartGap, bool Progress) {
    CombSortBody<T, 16>(D, N, Asc, StartGap, Progress);
  }
};

template <typename T>
void CombSortAny(std::span<T> Data, bool Ascending, Size StartGap, bool Progress) {
  if (Data.size() <= 1) return;
  using V = TSortVariants<T>;
#if NMX_ISA_VARIANTS
  switch (detail::ActiveIsa()) {
    case detail::TIsa::Avx512:
      return V::Avx512(Data.data(), Data.size(), Ascending, StartGap, Progress);
    case detail::TIsa::Avx2:
      return V::Avx2(Data.data(), Data.size(), Ascending, StartGap, Progress);
    case detail::TIsa::Baseline:
      break;
  }
#endif
  V::Baseline(Data.data(), Data.size(), Ascending, StartGap, Progress);
}

template <typename T>
void CombSort(std::span<T> Data, bool Ascending) {
  CombSortAny(Data, Ascending, Data.size(), true);
}

template <typename T>
bool Reaches(T Elem, T Value, bool Ascending) {
  return Ascending ? Elem >= Value : Elem <= Value;
}

// Move Data[Ix..High-1] one place up, dropping the last element, and store Value at Ix.
template <typename T>
void ShiftIn(std::span<T> Data, T Value, Size Ix) {
  std::copy_backward(Data.begin() + static_cast<std::ptrdiff_t>(Ix), Data.end() - 1, Data.end());
  Data[Ix] = Value;
}

template <typename T>
int SortInto(std::span<T> Data, T Value, bool Ascending, bool AllowDuplicates) {
  if (Data.empty()) return -1;
  const Size High = Data.size() - 1;
  Size I = 0;
  while (I < High && !Reaches(Data[I], Value, Ascending)) ++I;
  if (!Reaches(Data[I], Value, Ascending)) return -1;
  if (!AllowDuplicates && Data[I] == Value) return -1;
  ShiftIn(Data, Value, I);
  return static_cast<int>(I);
}

template <typename T>
void InsertInto(std::span<T> Data, T Value, int Ix) {
  if (Ix < 0 || static_cast<Size>(Ix) >= Data.size()) return;
  ShiftIn(Data, Value, static_cast<Size>(Ix));
}

// The untyped forms: call Fn with the elements at Data as a span of the kind's element type.
// Returns false for a kind outside the table.
template <typename F>
bool WithKind(void* Data, int N, NMX_nmxbase::TVarKind Kind, F&& Fn) {
  const auto Count = static_cast<Size>(N);
  switch (Kind) {
    case NMX_nmxbase::vkDouble:
    case NMX_nmxbase::vkReal:
      Fn(std::span<double>(static_cast<double*>(Data), Count));
      return true;
    case NMX_nmxbase::vkSingle:
      Fn(std::span<float>(static_cast<float*>(Data), Count));
      return true;
    case NMX_nmxbase::vkInteger:
    case NMX_nmxbase::vkLongint:
      Fn(std::span<std::int32_t>(static_cast<std::int32_t*>(Data), Count));
      return true;
  }
  return false;
}

// The element Value points at; memcpy because an untyped reference promises no alignment.
template <typename T>
T LoadValue(const void* Value) {
  T V;
  std::memcpy(&V, Value, sizeof V);
  return V;
}

}  // namespace

namespace detail {

void CombSort(std::span<double> Data, bool Ascending, std::size_t StartGap, bool Progress) {
  CombSortAny(Data, Ascending, StartGap, Progress);
}
void CombSort(std::span<float> Data, bool Ascending, std::size_t StartGap, bool Progress) {
  CombSortAny(Data, Ascending, StartGap, Progress);
}
void CombSort(std::span<std::int32_t> Data, bool Ascending, std::size_t StartGap, bool Progress) {
  CombSortAny(Data, Ascending, StartGap, Progress);
}

}  // namespace detail

void SortArray(std::span<double> Data, bool Ascending) {
  CombSort(Data, Ascending);
}
void SortArray(std::span<std::int32_t> Data, bool Ascending) {
  CombSort(Data, Ascending);
}
void SortArray(std::span<float> Data, bool Ascending) {
  CombSort(Data, Ascending);
}

void SortArray(void* Data, int N, NMX_nmxbase::TVarKind Kind, bool Ascending) {
  if (Data == nullptr || N <= 1) return;
  WithKind(Data, N, Kind, [Ascending](auto Span) { CombSort(Span, Ascending); });
}

int SortIntoArray(std::span<double> Data, double Value, bool Ascending, bool AllowDuplicates) {
  return SortInto(Data, Value, Ascending, AllowDuplicates);
}

int SortIntoArray(std::span<float> Data, float Value, bool Ascending, bool AllowDuplicates) {
  return SortInto(Data, Value, Ascending, AllowDuplicates);
}

int SortIntoArray(std::span<std::int32_t> Data, std::int32_t Value, bool Ascending,
                  bool AllowDuplicates) {
  return SortInto(Data, Value, Ascending, AllowDuplicates);
}

int SortIntoArray(void* Data, int N, NMX_nmxbase::TVarKind Kind, const void* Value, bool Ascending,
                  bool AllowDuplicates) {
  if (Data == nullptr || Value == nullptr || N <= 0) return 0;
  int Pos = -1;
  WithKind(Data, N, Kind, [&](auto Span) {
    using T = typename decltype(Span)::element_type;
    Pos = SortInto(Span, LoadValue<T>(Value), Ascending, AllowDuplicates);
  });
  return Pos + 1;
}

void InsertIntoArray(std::span<double> Data, double Value, int Ix) {
  InsertInto(Data, Value, Ix);
}

void InsertIntoArray(std::span<float> Data, float Value, int Ix) {
  InsertInto(Data, Value, Ix);
}

void InsertIntoArray(std::span<std::int32_t> Data, std::int32_t Value, int Ix) {
  InsertInto(Data, Value, Ix);
}

void InsertIntoArray(void* Data, int N, NMX_nmxbase::TVarKind Kind, const void* Value, int Ix) {
  if (Data == nullptr || Value == nullptr || N <= 0 || Ix < 1 || Ix > N) return;
  WithKind(Data, N, Kind, [&](auto Span) {
    using T = typename decltype(Span)::element_type;
    InsertInto(Span, LoadValue<T>(Value), Ix - 1);
  });
}

}  // namespace NMX_math1
