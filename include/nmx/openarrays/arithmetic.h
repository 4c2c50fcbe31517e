// Open-array functions: element-wise and scalar arithmetic, accumulation and the sum of
// squared differences.
#pragma once

#include <type_traits>
#include <utility>

#include "nmx/base/types.h"
#include "nmx/config.h"
#include "nmx/openarrays/detail/elem.h"
#include "nmx/openarrays/detail/nd.h"

namespace NMX_openarrays {

namespace detail {

/// X := Op(X) for every element of A.
template <class Arr, class Op>
int MapInPlaceBody(Arr& A, Op&& Fn) {
  if (!IsUsable(A)) return -1;
  const auto E = Extents(A);
  ForEachElem(A, E.data(), [&Fn](auto&& X) { X = Fn(static_cast<ElemOf<Arr>>(X)); });
  return 0;
}

/// Result := Op(A) element by element, Result given A's extents. Result is built aside and
/// moved in, so it may be A itself.
template <class Arr, class Op>
int MapBody(const Arr& A, Arr& Result, Op&& Fn) {
  if (!IsUsable(A)) return -1;
  const auto E = Extents(A);
  Arr R;
  SetExtents(R, E);
  ForEachPair(A, R, E.data(), [&Fn](const auto& X, auto&& Y) { Y = Fn(X); });
  Result = std::move(R);
  return 0;
}

/// Result := Op(A, B) element by element. -1 when A or B is empty, -2 when the extents differ.
template <class Arr, class Op>
int ZipBody(const Arr& A, const Arr& B, Arr& Result, Op&& Fn) {
  if (!IsUsable(A) || !IsUsable(B)) return -1;
  const auto E = Extents(A);
  if (Extents(B) != E) return -2;
  Arr R;
  SetExtents(R, E);
  ForEachTriple(A, B, R, E.data(), [&Fn](const auto& X, const auto& Y, auto&& Z) { Z = Fn(X, Y); });
  Result = std::move(R);
  return 0;
}

}  // namespace detail

// Integer members compute in 32-bit arithmetic that wraps (2147483647 + 1 gives -2147483648);
// double members in double. Every function below returns 0 on success and -1 for an empty
// array (nothing is changed then); the two-array functions return -2 for different extents.

/// x := |x| for every element. The integer -2147483648 stays -2147483648 (it has no positive
/// counterpart in 32 bits).
template <class Arr>
requires detail::NumArray<Arr, 1, 4>
int AbsValArray(Arr& A) {
  return detail::MapInPlaceBody(A, [](auto X) { return detail::AbsElem(X); });
}

/// x := 1/x for x != 0, x := ValueForZero for x = 0 (either sign).
template <class Arr>
requires detail::ArrayOf<Arr, double, 1, 4>
int ReciprocalArray(Arr& A, double ValueForZero) {
  return detail::MapInPlaceBody(
      A, [ValueForZero](double X) { return X != 0.0 ? 1.0 / X : ValueForZero; });
}

/// x := x + Delta for every element.
template <class Arr>
requires detail::NumArray<Arr, 1, 4>
int IncArray(Arr& A, std::type_identity_t<detail::ElemOf<Arr>> Delta) {
  return detail::MapInPlaceBody(A, [Delta](auto X) { return detail::AddElem(X, Delta); });
}

/// x := x·Factor for every element.
template <class Arr>
requires detail::NumArray<Arr, 1, 4>
int MultiplyArrayByScalar(Arr& A, std::type_identity_t<detail::ElemOf<Arr>> Factor) {
  return detail::MapInPlaceBody(A, [Factor](auto X) { return detail::MulElem(X, Factor); });
}

/// Result := A·Factor, Result given A's extents.
template <class Arr>
requires detail::NumArray<Arr, 1, 4>
int MultiplyArrayByScalar(const Arr& A, std::type_identity_t<detail::ElemOf<Arr>> Factor,
                          Arr& Result) {
  return detail::MapBody(A, Result, [Factor](auto X) { return detail::MulElem(X, Factor); });
}

/// Result := A + Delta, Result given A's extents.
template <class Arr>
requires detail::NumArray<Arr, 1, 4>
int AddScalarToArray(const Arr& A, std::type_identity_t<detail::ElemOf<Arr>> Delta, Arr& Result) {
  return detail::MapBody(A, Result, [Delta](auto X) { return detail::AddElem(X, Delta); });
}

/// Result := A + B element by element. -2 when the extents differ.
template <class Arr>
requires detail::NumArray<Arr, 1, 4>
int AddArrays(const Arr& A, const Arr& B, Arr& Result) {
  return detail::ZipBody(A, B, Result, [](auto X, auto Y) { return detail::AddElem(X, Y); });
}

/// Result := A - B element by element. -2 when the extents differ.
template <class Arr>
requires detail::NumArray<Arr, 1, 4>
int SubtractArrays(const Arr& A, const Arr& B, Arr& Result) {
  return detail::ZipBody(A, B, Result, [](auto X, auto Y) { return detail::SubElem(X, Y); });
}

/// Result := A·B element by element (1-D, 2-D). -2 when the extents differ.
template <class Arr>
requires detail::NumArray<Arr, 1, 2>
int MultiplyArraysElemw(const Arr& A, const Arr& B, Arr& Result) {
  return detail::ZipBody(A, B, Result, [](auto X, auto Y) { return detail::MulElem(X, Y); });
}

/// A := A + Factor·B element by element (a scaled accumulation, A += Factor·B). Returns 0; -1
/// when A or B is empty; -2 when the extents differ (A unchanged).
template <class Arr>
requires detail::NumArray<Arr, 1, 4>
int AccumulateArray(Arr& A, const Arr& B, std::type_identity_t<detail::ElemOf<Arr>> Factor) {
  if (!detail::IsUsable(A) || !detail::IsUsable(B)) return -1;
  const auto E = detail::Extents(A);
  if (detail::Extents(B) != E) return -2;
  // Each element of B is read before the same element of A is written, so B may be A.
  detail::ForEachPair(A, B, E.data(), [Factor](auto&& X, const auto& Y) {
    X = detail::AddElem(static_cast<detail::ElemOf<Arr>>(X), detail::MulElem(Factor, Y));
  });
  return 0;
}

/// Σ (A[i] - B[i])², summed in double in index order. -1.0 when A or B is empty, -2.0 when the
/// lengths differ.
NMX_API double SumOfSquaredDiffs(const NMX_nmxbase::TDoubleArray& A,
                                 const NMX_nmxbase::TDoubleArray& B);

/// Σ (A[i] - B[Col][i])². -1.0 when A or B is empty; -2.0 when A's length differs from the
/// length of B's columns; -3.0 when Col lies outside B.
NMX_API double SumOfSquaredDiffs(const NMX_nmxbase::TDoubleArray& A,
                                 const NMX_nmxbase::TDouble2DArray& B, int Col);

}  // namespace NMX_openarrays
