#include "nmx/openarrays/fill.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

#include "nmx/math1/random.h"
#include "nmx/platform/random.h"
#include "openarrays/instantiate.h"
#include "openarrays/nd.h"

namespace NMX_openarrays {

namespace detail {

template <class Arr>
int FillBoxBody(Arr& A, ElemOf<Arr> Value, const std::array<int, RankOf<Arr>>& Lo,
                const std::array<int, RankOf<Arr>>& Hi) {
  if (!IsUsable(A)) return -1;
  ExtentsOf<Arr> BoxLo{}, BoxHi{};
  if (!MakeBox(Lo, Hi, Extents(A), BoxLo, BoxHi)) return -2;
  ForEachInBox(A, BoxLo, BoxHi, [Value](auto&& X, const auto&) { X = Value; });
  return 0;
}

template <class Arr>
int FillAllBody(Arr& A, ElemOf<Arr> Value) {
  if (!IsUsable(A)) return -1;
  const auto E = Extents(A);
  ForEachElem(A, E.data(), [Value](auto&& X) { X = Value; });
  return 0;
}

template <class Arr>
int FillSerialBody(Arr& A, ElemOf<Arr> Offset, ElemOf<Arr> Diff) {
  using T = ElemOf<Arr>;
  if (!IsUsable(A)) return -1;
  if constexpr (RankOf<Arr> == 1) {
    // One product per element: no drift along a long array.
    for (std::size_t I = 0; I < A.size(); ++I) {
      if constexpr (IsInt32<T>) {
        A[I] = AddElem(Offset, MulElem(static_cast<T>(static_cast<std::uint32_t>(I)), Diff));
      } else {
        A[I] = Offset + static_cast<double>(I) * Diff;
      }
    }
  } else {
    // The multi-dimensional members keep a running value: Diff is added after each element.
    T Running = Offset;
    const auto E = Extents(A);
    ForEachElem(A, E.data(), [&Running, Diff](auto&& X) {
      X = Running;
      Running = AddElem(Running, Diff);
    });
  }
  return 0;
}

template <class Arr>
int FillDiagBody(Arr& A, ElemOf<Arr> Value) {
  using T = ElemOf<Arr>;
  if (!IsUsable(A)) return -1;
  const auto E = Extents(A);
  for (std::size_t K = 1; K < E.size(); ++K) {
    if (E[K] != E[0]) return -2;
  }
  ExtentsOf<Arr> BoxLo{}, BoxHi{};
  FullBox(E, BoxLo, BoxHi);
  ForEachInBox(A, BoxLo, BoxHi, [Value](auto&& X, const auto& Ix) {
    bool OnDiagonal = true;
    for (std::size_t K = 1; K < Ix.size(); ++K) OnDiagonal = OnDiagonal && Ix[K] == Ix[0];
    X = OnDiagonal ? Value : T(0);
  });
  return 0;
}

template <class Arr>
int FillRandomNormalBody(Arr& A, double Mean, double StdDev) {
  if (!IsUsable(A)) return -1;
  if (!(StdDev >= 0.0)) return -2;
  NMX_platform::Randomize();
  // Variates come in pairs; the spare one lives only during this call.
  bool HaveSpare = false;
  double Spare = 0.0;
  const auto E = Extents(A);
  ForEachElem(A, E.data(), [&](auto&& X) {
    double Z = Spare;
    if (HaveSpare) {
      HaveSpare = false;
    } else {
      NMX_math1::PolarNormalPair(Z, Spare);
      HaveSpare = true;
    }
    X = Mean + StdDev * Z;
  });
  return 0;
}

template <class Arr>
int FillRandomUniformBody(Arr& A, ElemOf<Arr> RangeLow, ElemOf<Arr> RangeHigh) {
  using T = ElemOf<Arr>;
  if (!IsUsable(A)) return -1;
  if (!(RangeLow <= RangeHigh)) return -2;
  NMX_platform::Randomize();
  const auto E = Extents(A);
  if constexpr (IsInt32<T>) {
    const double Low = RangeLow;
    const double Width = static_cast<double>(RangeHigh) - Low;  // exact: below 2^32
    ForEachElem(A, E.data(), [&](auto&& X) {
      double V = std::floor(Low + Width * NMX_platform::Random());
      // A draw just below 1 may round the product up to Width; RangeHigh must not occur.
      if (RangeLow < RangeHigh && V >= static_cast<double>(RangeHigh)) V -= 1.0;
      X = static_cast<T>(V);
    });
  } else {
    const double Width = RangeHigh - RangeLow;
    ForEachElem(A, E.data(), [&](auto&& X) { X = RangeLow + Width * NMX_platform::Random(); });
  }
  return 0;
}

}  // namespace detail

template <class Arr>
requires NumArray<Arr, 1, 4> || BoolArray<Arr, 1, 2>
int FillArray(Arr& A, std::type_identity_t<ElemOf<Arr>> Value) {
  return detail::FillAllBody(A, Value);
}

template <class Arr>
requires NumArray<Arr, 1, 1>
int FillArray(Arr& A, std::type_identity_t<ElemOf<Arr>> Value, int Lo, int Hi) {
  return detail::FillBoxBody(A, Value, {Lo}, {Hi});
}

template <class Arr>
requires NumArray<Arr, 2, 2>
int FillArray(Arr& A, std::type_identity_t<ElemOf<Arr>> Value, int LoCol, int LoRow, int HiCol,
              int HiRow) {
  return detail::FillBoxBody(A, Value, {LoCol, LoRow}, {HiCol, HiRow});
}

template <class Arr>
requires NumArray<Arr, 3, 3>
int FillArray(Arr& A, std::type_identity_t<ElemOf<Arr>> Value, int LoCol, int LoRow, int LoLay,
              int HiCol, int HiRow, int HiLay) {
  return detail::FillBoxBody(A, Value, {LoCol, LoRow, LoLay}, {HiCol, HiRow, HiLay});
}

template <class Arr>
requires NumArray<Arr, 4, 4>
int FillArray(Arr& A, std::type_identity_t<ElemOf<Arr>> Value, int LoCol, int LoRow, int LoLay,
              int LoTSlot, int HiCol, int HiRow, int HiLay, int HiTSlot) {
  return detail::FillBoxBody(A, Value, {LoCol, LoRow, LoLay, LoTSlot},
                             {HiCol, HiRow, HiLay, HiTSlot});
}

template <class Arr>
requires ArrayOf<Arr, double, 1, 4> || ArrayOf<Arr, std::int32_t, 1, 3>
int FillArraySerial(Arr& A, std::type_identity_t<ElemOf<Arr>> Offset,
                    std::type_identity_t<ElemOf<Arr>> Diff) {
  return detail::FillSerialBody(A, Offset, Diff);
}

template <class Arr>
requires NumArray<Arr, 1, 3>
int FillArraySerial(Arr& A) {
  return detail::FillSerialBody(A, ElemOf<Arr>(0), ElemOf<Arr>(1));
}

template <class Arr>
requires NumArray<Arr, 2, 4>
int FillDiagArray(Arr& A, std::type_identity_t<ElemOf<Arr>> Value) {
  return detail::FillDiagBody(A, Value);
}

template <class Arr>
requires ArrayOf<Arr, double, 1, 4>
int FillRandomNormal(Arr& A, double Mean, double StdDev) {
  return detail::FillRandomNormalBody(A, Mean, StdDev);
}

template <class Arr>
requires NumArray<Arr, 1, 4>
int FillRandomUniform(Arr& A, std::type_identity_t<ElemOf<Arr>> RangeLow,
                      std::type_identity_t<ElemOf<Arr>> RangeHigh) {
  return detail::FillRandomUniformBody(A, RangeLow, RangeHigh);
}

int FillRandomUniform(NMX_nmxbase::TIntArray& A, std::int32_t RangeLow, std::int32_t RangeHigh,
                      bool AllowRepetitions) {
  if (A.empty()) return -1;
  if (RangeHigh < RangeLow) return -2;
  // Up to 2^32 values: count in 64 bits.
  const std::int64_t M = std::int64_t{RangeHigh} - std::int64_t{RangeLow} + 1;
  if (!AllowRepetitions) {
    if (M < static_cast<std::int64_t>(A.size())) return -3;
    if (M > 1000000) return -4;
  }
  NMX_platform::Randomize();
  const auto Low = static_cast<std::uint32_t>(RangeLow);
  if (AllowRepetitions) {
    for (auto& X : A) {
      const auto J = static_cast<std::uint32_t>(detail::RandomIndex(static_cast<std::size_t>(M)));
      X = static_cast<std::int32_t>(Low + J);  // Low + J <= RangeHigh: no wrap in effect
    }
    return 0;
  }
  NMX_nmxbase::TIntArray Values(static_cast<std::size_t>(M));
  for (std::size_t I = 0; I < Values.size(); ++I) {
    Values[I] = static_cast<std::int32_t>(Low + static_cast<std::uint32_t>(I));
  }
  // A partial Fisher-Yates draw: every ordered choice of A.size() distinct values is equally
  // likely. (The cyclic shuffle of ShuffleArray would never leave a value in its place, so
  // with m = A.size() the first element could never be RangeLow.)
  for (std::size_t I = 0; I < A.size(); ++I) {
    const std::size_t J = I + detail::RandomIndex(Values.size() - I);
    std::swap(Values[I], Values[J]);
    A[I] = Values[I];
  }
  return 0;
}

// The members of the family, compiled here.
#define NMX_INST(A) template int FillArray<A>(A&, ElemOf<A>);
NMX_NUM_1_4(NMX_INST)
NMX_BOOL_1_2(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int FillArray<A>(A&, ElemOf<A>, int, int);
NMX_NUM_1(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int FillArray<A>(A&, ElemOf<A>, int, int, int, int);
NMX_NUM_2(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int FillArray<A>(A&, ElemOf<A>, int, int, int, int, int, int);
NMX_NUM_3(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) \
  template int FillArray<A>(A&, ElemOf<A>, int, int, int, int, int, int, int, int);
NMX_NUM_4(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int FillArraySerial<A>(A&, ElemOf<A>, ElemOf<A>);
NMX_DBL_1_4(NMX_INST)
NMX_INT_1_3(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int FillArraySerial<A>(A&);
    NMX_NUM_1_3(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int FillDiagArray<A>(A&, ElemOf<A>);
        NMX_NUM_2_4(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int FillRandomNormal<A>(A&, double, double);
            NMX_DBL_1_4(NMX_INST)
#undef NMX_INST
#define NMX_INST(A) template int FillRandomUniform<A>(A&, ElemOf<A>, ElemOf<A>);
                NMX_NUM_1_4(NMX_INST)
#undef NMX_INST

}  // namespace NMX_openarrays
