#include "nmx/openarrays/monotony.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "openarrays/instantiate.h"

namespace NMX_openarrays {
namespace {

// The sign of A - B by comparison (no subtraction, so no integer overflow); 0 for equal
// values and for a pair with a NaN.
template <class T>
int SignOfDiff(T A, T B) noexcept {
  return (A > B) - (A < B);
}

// The breaks of the differences Diff(j) = A[j] - A[j-1], j = 1..n-1, given Bends(Diff, d).
template <class Arr, class DiffOf, class BendsAt>
int Breaks(const Arr& A, NMX_nmxbase::TIntArray& Out, DiffOf&& Diff, BendsAt&& Bends) {
  if (A.size() < 3) return 0;
  NMX_nmxbase::TIntArray Found;
  auto D = Diff(1);
  for (std::size_t J = 2; J < A.size(); ++J) {
    const auto Dj = Diff(J);
    if (Bends(Dj, D)) {
      Found.push_back(static_cast<std::int32_t>(J - 1));
      D = Dj;
    }
  }
  Out = std::move(Found);
  return static_cast<int>(Out.size());
}

}  // namespace

int CheckLinearity(const NMX_nmxbase::TDoubleArray& A, double Tolerance,
                   NMX_nmxbase::TIntArray& Breaks_) {
  return Breaks(
      A, Breaks_, [&A](std::size_t J) { return A[J] - A[J - 1]; },
      [Tolerance](double Dj, double D) { return std::fabs(Dj - D) > Tolerance; });
}

int CheckLinearity(const NMX_nmxbase::TIntArray& A, NMX_nmxbase::TIntArray& Breaks_) {
  return Breaks(
      A, Breaks_, [&A](std::size_t J) { return std::int64_t{A[J]} - std::int64_t{A[J - 1]}; },
      [](std::int64_t Dj, std::int64_t D) { return Dj != D; });
}

template <class Arr>
requires NumArray<Arr, 1, 1>
bool IsMonotone(const Arr& A) {
  if (A.size() < 3) return true;
  int Dir = 0;
  for (std::size_t K = 0; K + 1 < A.size(); ++K) {
    const int S = SignOfDiff(A[K], A[K + 1]);
    if (S == 0) continue;
    if (Dir == 0) {
      Dir = S;
    } else if (S != Dir) {
      return false;
    }
  }
  return true;
}

template <class Arr>
requires NumArray<Arr, 1, 1>
bool IsStrictlyMonotone(const Arr& A) {
  if (A.size() < 3) return true;
  const int Dir = SignOfDiff(A[0], A[1]);
  if (Dir == 0) return false;
  for (std::size_t K = 1; K + 1 < A.size(); ++K) {
    if (SignOfDiff(A[K], A[K + 1]) != Dir) return false;
  }
  return true;
}

template <class Arr>
requires NumArray<Arr, 1, 1>
bool IsDichotomous(const Arr& A, ElemOf<Arr>& Val1, ElemOf<Arr>& Val2) {
  using T = ElemOf<Arr>;
  Val1 = T(0);
  Val2 = T(0);
  if (A.size() < 2) return false;
  Val1 = A[0];
  std::size_t I = 1;
  while (I < A.size() && A[I] == Val1) ++I;
  if (I == A.size()) return false;  // one value only
  Val2 = A[I];
  for (++I; I < A.size(); ++I) {
    if (A[I] != Val1 && A[I] != Val2) return false;
  }
  if (Val2 < Val1) std::swap(Val1, Val2);
  return true;
}

#define NMX_INST(A)                              \
  template bool IsMonotone<A>(const A&);         \
  template bool IsStrictlyMonotone<A>(const A&); \
  template bool IsDichotomous<A>(const A&, ElemOf<A>&, ElemOf<A>&);
NMX_NUM_1(NMX_INST)
#undef NMX_INST

}  // namespace NMX_openarrays
