#include "nmx/openarrays/arithmetic.h"

#include <cstddef>
#include <type_traits>
#include <utility>
#include "openarrays/instantiate.h"
#include "openarrays/nd.h"

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

template <class Arr>
requires NumArray<Arr, 1, 4>
int AbsValArray(Arr& A) {
  return detail::MapInPlaceBody(A, [](auto X) { return detail::AbsElem(X); });
}

template <class Arr>
requires ArrayOf<Arr, double, 1, 4>
int ReciprocalArray(Arr& A, double ValueForZero) {
  return detail::MapInPlaceBody(
      A, [ValueForZero](double X) { return X != 0.0 ? 1.0 / X : ValueForZero; });
}

template <class Arr>
requires NumArray<Arr, 1, 4>
int IncArray(Arr& A, std::type_identity_t<ElemOf<Arr>> Delta) {
  return detail::MapInPlaceBody(A, [Delta](auto X) { return detail::AddElem(X, Delta); });
}

template <class Arr>
requires NumArray<Arr, 1, 4>
int MultiplyArrayByScalar(Arr& A, std::type_identity_t<ElemOf<Arr>> Factor) {
  return detail::MapInPlaceBody(A, [Factor](auto X) { return detail::MulElem(X, Factor); });
}

template <class Arr>
requires NumArray<Arr, 1, 4>
int MultiplyArrayByScalar(const Arr& A, std::type_identity_t<ElemOf<Arr>> Factor, Arr& Result) {
  return detail::MapBody(A, Result, [Factor](auto X) { return detail::MulElem(X, Factor); });
}

template <class Arr>
requires NumArray<Arr, 1, 4>
int AddScalarToArray(const Arr& A, std::type_identity_t<ElemOf<Arr>> Delta, Arr& Result) {
  return detail::MapBody(A, Result, [Delta](auto X) { return detail::AddElem(X, Delta); });
}

template <class Arr>
requires NumArray<Arr, 1, 4>
int AddArrays(const Arr& A, const Arr& B, Arr& Result) {
  return detail::ZipBody(A, B, Result, [](auto X, auto Y) { return detail::AddElem(X, Y); });
}

template <class Arr>
requires NumArray<Arr, 1, 4>
int SubtractArrays(const Arr& A, const Arr& B, Arr& Result) {
  return detail::ZipBody(A, B, Result, [](auto X, auto Y) { return detail::SubElem(X, Y); });
}

template <class Arr>
requires NumArray<Arr, 1, 2>
int MultiplyArraysElemw(const Arr& A, const Arr& B, Arr& Result) {
  return detail::ZipBody(A, B, Result, [](auto X, auto Y) { return detail::MulElem(X, Y); });
}

template <class Arr>
requires NumArray<Arr, 1, 4>
int AccumulateArray(Arr& A, const Arr& B, std::type_identity_t<ElemOf<Arr>> Factor) {
  if (!detail::IsUsable(A) || !detail::IsUsable(B)) return -1;
  const auto E = detail::Extents(A);
  if (detail::Extents(B) != E) return -2;
  // Each element of B is read before the same element of A is written, so B may be A.
  detail::ForEachPair(A, B, E.data(), [Factor](auto&& X, const auto& Y) {
    X = detail::AddElem(static_cast<ElemOf<Arr>>(X), detail::MulElem(Factor, Y));
  });
  return 0;
}

double SumOfSquaredDiffs(const NMX_nmxbase::TDoubleArray& A, const NMX_nmxbase::TDoubleArray& B) {
  if (A.empty() || B.empty()) return -1.0;
  if (A.size() != B.size()) return -2.0;
  double Sum = 0.0;
  for (std::size_t I = 0; I < A.size(); ++I) {
    const double D = A[I] - B[I];
    Sum += D * D;
  }
  return Sum;
}

double SumOfSquaredDiffs(const NMX_nmxbase::TDoubleArray& A, const NMX_nmxbase::TDouble2DArray& B,
                         int Col) {
  if (A.empty() || !detail::IsUsable(B)) return -1.0;
  const auto E = detail::Extents(B);
  if (A.size() != E[1]) return -2.0;
  if (!detail::InExtent(Col, E[0])) return -3.0;
  const auto& Column = B[static_cast<std::size_t>(Col)];
  double Sum = 0.0;
  for (std::size_t I = 0; I < A.size(); ++I) {
    const double D = A[I] - Column[I];
    Sum += D * D;
  }
  return Sum;
}

// The members of the family, compiled here.
#define NMX_INST(A) template int AbsValArray<A>(A&);
NMX_NUM_1_4(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int ReciprocalArray<A>(A&, double);
NMX_DBL_1_4(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int IncArray<A>(A&, ElemOf<A>);
NMX_NUM_1_4(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int MultiplyArrayByScalar<A>(A&, ElemOf<A>);
NMX_NUM_1_4(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int MultiplyArrayByScalar<A>(const A&, ElemOf<A>, A&);
NMX_NUM_1_4(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int AddScalarToArray<A>(const A&, ElemOf<A>, A&);
NMX_NUM_1_4(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int AddArrays<A>(const A&, const A&, A&);
NMX_NUM_1_4(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int SubtractArrays<A>(const A&, const A&, A&);
NMX_NUM_1_4(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int MultiplyArraysElemw<A>(const A&, const A&, A&);
NMX_NUM_1_2(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int AccumulateArray<A>(A&, const A&, ElemOf<A>);
NMX_NUM_1_4(NMX_INST)
#undef NMX_INST

}  // namespace NMX_openarrays
