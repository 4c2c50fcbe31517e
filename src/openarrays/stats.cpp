#include "nmx/openarrays/stats.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <span>
#include <type_traits>
#include <vector>

#include "nmx/math1/moments.h"
#include "openarrays/instantiate.h"
#include "openarrays/nd.h"

namespace NMX_openarrays {

namespace detail {

template <class Arr>
int MeanBody(const Arr& A, const std::array<int, RankOf<Arr>>& Lo,
             const std::array<int, RankOf<Arr>>& Hi, double& Mean) {
  Mean = 0.0;
  ExtentsOf<Arr> BoxLo{}, BoxHi{};
  if (const int Status = CheckRange(A, Lo, Hi, BoxLo, BoxHi); Status != 0) return Status;
  const NMX_math1::TMoments M = BoxMoments(A, BoxLo, BoxHi);
  Mean = M.Sum / static_cast<double>(M.N);
  return 0;
}

template <class Arr>
int StdDevBody(const Arr& A, const std::array<int, RankOf<Arr>>& Lo,
               const std::array<int, RankOf<Arr>>& Hi, double& StdDev) {
  StdDev = 0.0;
  ExtentsOf<Arr> BoxLo{}, BoxHi{};
  if (const int Status = CheckRange(A, Lo, Hi, BoxLo, BoxHi); Status != 0) return Status;
  // The root is taken at the scale of the deviations: right wherever it is representable,
  // also where the variance is not.
  const NMX_math1::TMoments M = BoxMoments(A, BoxLo, BoxHi);
  if (M.N >= 2) StdDev = M.SampleStdDev();
  return 0;
}

template <class Arr>
int MeanVarBody(const Arr& A, const std::array<int, RankOf<Arr>>& Lo,
                const std::array<int, RankOf<Arr>>& Hi, double& Mean, double& Variance) {
  Mean = 0.0;
  Variance = 0.0;
  ExtentsOf<Arr> BoxLo{}, BoxHi{};
  if (const int Status = CheckRange(A, Lo, Hi, BoxLo, BoxHi); Status != 0) return Status;
  const NMX_math1::TMoments M = BoxMoments(A, BoxLo, BoxHi);
  Mean = M.Sum / static_cast<double>(M.N);
  if (M.N >= 2) Variance = M.SampleVariance();
  return 0;
}

/// CountValues over the range given in pairs (low, high per dimension).
template <class Arr>
int CountBody(const Arr& A, const std::array<int, 2 * RankOf<Arr>>& Pairs, ElemOf<Arr> LowVal,
              ElemOf<Arr> HighVal) {
  std::array<int, RankOf<Arr>> Lo{}, Hi{};
  for (std::size_t K = 0; K < Lo.size(); ++K) {
    Lo[K] = Pairs[2 * K];
    Hi[K] = Pairs[2 * K + 1];
  }
  ExtentsOf<Arr> BoxLo{}, BoxHi{};
  if (const int Status = CheckRange(A, Lo, Hi, BoxLo, BoxHi); Status != 0) return Status;
  if (!(LowVal <= HighVal)) return -2;
  int Count = 0;
  ForEachInBox(A, BoxLo, BoxHi, [&](const auto& X, const auto&) {
    if (LowVal <= X && X <= HighVal) ++Count;
  });
  return Count;
}

}  // namespace detail

template <class Arr>
requires NumArray<Arr, 1, 1>
int MeanArray(const Arr& A, int Lo, int Hi, double& Mean) {
  return detail::MeanBody(A, {Lo}, {Hi}, Mean);
}

template <class Arr>
requires NumArray<Arr, 2, 2>
int MeanArray(const Arr& A, int LoCol, int LoRow, int HiCol, int HiRow, double& Mean) {
  return detail::MeanBody(A, {LoCol, LoRow}, {HiCol, HiRow}, Mean);
}

template <class Arr>
requires NumArray<Arr, 3, 3>
int MeanArray(const Arr& A, int LoCol, int LoRow, int LoLay, int HiCol, int HiRow, int HiLay,
              double& Mean) {
  return detail::MeanBody(A, {LoCol, LoRow, LoLay}, {HiCol, HiRow, HiLay}, Mean);
}

template <class Arr>
requires NumArray<Arr, 4, 4>
int MeanArray(const Arr& A, int LoCol, int LoRow, int LoLay, int LoTSlot, int HiCol, int HiRow,
              int HiLay, int HiTSlot, double& Mean) {
  return detail::MeanBody(A, {LoCol, LoRow, LoLay, LoTSlot}, {HiCol, HiRow, HiLay, HiTSlot}, Mean);
}

template <class Arr>
requires NumArray<Arr, 1, 1>
int StdDevArray(const Arr& A, int Lo, int Hi, double& StdDev) {
  return detail::StdDevBody(A, {Lo}, {Hi}, StdDev);
}

template <class Arr>
requires NumArray<Arr, 2, 2>
int StdDevArray(const Arr& A, int LoCol, int LoRow, int HiCol, int HiRow, double& StdDev) {
  return detail::StdDevBody(A, {LoCol, LoRow}, {HiCol, HiRow}, StdDev);
}

template <class Arr>
requires NumArray<Arr, 3, 3>
int StdDevArray(const Arr& A, int LoCol, int LoRow, int LoLay, int HiCol, int HiRow, int HiLay,
                double& StdDev) {
  return detail::StdDevBody(A, {LoCol, LoRow, LoLay}, {HiCol, HiRow, HiLay}, StdDev);
}

template <class Arr>
requires NumArray<Arr, 4, 4>
int StdDevArray(const Arr& A, int LoCol, int LoRow, int LoLay, int LoTSlot, int HiCol, int HiRow,
                int HiLay, int HiTSlot, double& StdDev) {
  return detail::StdDevBody(A, {LoCol, LoRow, LoLay, LoTSlot}, {HiCol, HiRow, HiLay, HiTSlot},
                            StdDev);
}

template <class Arr>
requires NumArray<Arr, 1, 1>
int MeanVarArray(const Arr& A, int Lo, int Hi, double& Mean, double& Variance) {
  return detail::MeanVarBody(A, {Lo}, {Hi}, Mean, Variance);
}

template <class Arr>
requires NumArray<Arr, 2, 2>
int MeanVarArray(const Arr& A, int LoCol, int LoRow, int HiCol, int HiRow, double& Mean,
                 double& Variance) {
  return detail::MeanVarBody(A, {LoCol, LoRow}, {HiCol, HiRow}, Mean, Variance);
}

template <class Arr>
requires NumArray<Arr, 1, 1>
double MeanAbsDev(const Arr& A) {
  if (A.empty()) return -1.0;
  const double Count = static_cast<double>(A.size());
  const double Mean = NMX_math1::CentralMoments(std::span<const ElemOf<Arr>>(A)).Sum / Count;
  double SumAbs = 0.0;
  for (const auto X : A) SumAbs += std::fabs(static_cast<double>(X) - Mean);
  return SumAbs / Count;
}

template <class Arr>
requires NumArray<Arr, 1, 1>
int CountValues(const Arr& A, int Lo, int Hi, std::type_identity_t<ElemOf<Arr>> LowVal,
                std::type_identity_t<ElemOf<Arr>> HighVal) {
  return detail::CountBody(A, {Lo, Hi}, LowVal, HighVal);
}

template <class Arr>
requires NumArray<Arr, 2, 2>
int CountValues(const Arr& A, int LoCol, int HiCol, int LoRow, int HiRow,
                std::type_identity_t<ElemOf<Arr>> LowVal,
                std::type_identity_t<ElemOf<Arr>> HighVal) {
  return detail::CountBody(A, {LoCol, HiCol, LoRow, HiRow}, LowVal, HighVal);
}

template <class Arr>
requires NumArray<Arr, 3, 3>
int CountValues(const Arr& A, int LoCol, int HiCol, int LoRow, int HiRow, int LoLay, int HiLay,
                std::type_identity_t<ElemOf<Arr>> LowVal,
                std::type_identity_t<ElemOf<Arr>> HighVal) {
  return detail::CountBody(A, {LoCol, HiCol, LoRow, HiRow, LoLay, HiLay}, LowVal, HighVal);
}

template <class Arr>
requires NumArray<Arr, 4, 4>
int CountValues(const Arr& A, int LoCol, int HiCol, int LoRow, int HiRow, int LoLay, int HiLay,
                int LoTSlot, int HiTSlot, std::type_identity_t<ElemOf<Arr>> LowVal,
                std::type_identity_t<ElemOf<Arr>> HighVal) {
  return detail::CountBody(A, {LoCol, HiCol, LoRow, HiRow, LoLay, HiLay, LoTSlot, HiTSlot}, LowVal,
                           HighVal);
}

// The members of the family, compiled here.
#define NMX_INST(A) template int MeanArray<A>(const A&, int, int, double&);
NMX_NUM_1(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int MeanArray<A>(const A&, int, int, int, int, double&);
NMX_NUM_2(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int MeanArray<A>(const A&, int, int, int, int, int, int, double&);
NMX_NUM_3(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) \
  template int MeanArray<A>(const A&, int, int, int, int, int, int, int, int, double&);
NMX_NUM_4(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int StdDevArray<A>(const A&, int, int, double&);
NMX_NUM_1(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int StdDevArray<A>(const A&, int, int, int, int, double&);
NMX_NUM_2(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int StdDevArray<A>(const A&, int, int, int, int, int, int, double&);
NMX_NUM_3(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) \
  template int StdDevArray<A>(const A&, int, int, int, int, int, int, int, int, double&);
NMX_NUM_4(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int MeanVarArray<A>(const A&, int, int, double&, double&);
NMX_NUM_1(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int MeanVarArray<A>(const A&, int, int, int, int, double&, double&);
NMX_NUM_2(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template double MeanAbsDev<A>(const A&);
NMX_NUM_1(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int CountValues<A>(const A&, int, int, ElemOf<A>, ElemOf<A>);
NMX_NUM_1(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int CountValues<A>(const A&, int, int, int, int, ElemOf<A>, ElemOf<A>);
NMX_NUM_2(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) \
  template int CountValues<A>(const A&, int, int, int, int, int, int, ElemOf<A>, ElemOf<A>);
NMX_NUM_3(NMX_INST)
#undef NMX_INST
#define NMX_INST(A)                                                                        \
  template int CountValues<A>(const A&, int, int, int, int, int, int, int, int, ElemOf<A>, \
                              ElemOf<A>);
NMX_NUM_4(NMX_INST)
#undef NMX_INST

}  // namespace NMX_openarrays
