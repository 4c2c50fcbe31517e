// Open-array functions: filling with a value, a range, an arithmetic series, a diagonal or
// random numbers.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "nmx/base/types.h"
#include "nmx/config.h"
#include "nmx/math1/random.h"
#include "nmx/openarrays/detail/elem.h"
#include "nmx/openarrays/detail/nd.h"
#include "nmx/platform/random.h"

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

// ---------------------------------------------------------------------------------------------
// FillArray

/// Sets every element of A to Value. Returns 0, or -1 for an empty A.
template <class Arr>
requires detail::NumArray<Arr, 1, 4> || detail::BoolArray<Arr, 1, 2>
int FillArray(Arr& A, std::type_identity_t<detail::ElemOf<Arr>> Value) {
  return detail::FillAllBody(A, Value);
}

/// Sets the elements A[Lo..Hi] to Value. Returns 0, -1 for an empty A, -2 when a bound lies
/// outside A or Lo > Hi (nothing is changed then).
template <class Arr>
requires detail::NumArray<Arr, 1, 1>
int FillArray(Arr& A, std::type_identity_t<detail::ElemOf<Arr>> Value, int Lo, int Hi) {
  return detail::FillBoxBody(A, Value, {Lo}, {Hi});
}

/// The block [LoCol..HiCol][LoRow..HiRow] := Value; codes as for the 1-D range member.
template <class Arr>
requires detail::NumArray<Arr, 2, 2>
int FillArray(Arr& A, std::type_identity_t<detail::ElemOf<Arr>> Value, int LoCol, int LoRow,
              int HiCol, int HiRow) {
  return detail::FillBoxBody(A, Value, {LoCol, LoRow}, {HiCol, HiRow});
}

/// The 3-D block from (LoCol, LoRow, LoLay) to (HiCol, HiRow, HiLay) := Value.
template <class Arr>
requires detail::NumArray<Arr, 3, 3>
int FillArray(Arr& A, std::type_identity_t<detail::ElemOf<Arr>> Value, int LoCol, int LoRow,
              int LoLay, int HiCol, int HiRow, int HiLay) {
  return detail::FillBoxBody(A, Value, {LoCol, LoRow, LoLay}, {HiCol, HiRow, HiLay});
}

/// The 4-D block from (LoCol, LoRow, LoLay, LoTSlot) to (HiCol, HiRow, HiLay, HiTSlot) := Value.
template <class Arr>
requires detail::NumArray<Arr, 4, 4>
int FillArray(Arr& A, std::type_identity_t<detail::ElemOf<Arr>> Value, int LoCol, int LoRow,
              int LoLay, int LoTSlot, int HiCol, int HiRow, int HiLay, int HiTSlot) {
  return detail::FillBoxBody(A, Value, {LoCol, LoRow, LoLay, LoTSlot},
                             {HiCol, HiRow, HiLay, HiTSlot});
}

// ---------------------------------------------------------------------------------------------
// FillArraySerial

/// An arithmetic series. 1-D: A[i] := Offset + i·Diff (one product per element; the integer
/// member wraps in 32 bits). 2-D to 4-D: the elements are visited first index outermost
/// (A[0][0], A[0][1], ..., A[1][0], ...); the first gets Offset, and Diff is added to a running
/// value after each element. Returns 0, or -1 for an empty A.
template <class Arr>
requires detail::ArrayOf<Arr, double, 1, 4> || detail::ArrayOf<Arr, std::int32_t, 1, 3>
int FillArraySerial(Arr& A, std::type_identity_t<detail::ElemOf<Arr>> Offset,
                    std::type_identity_t<detail::ElemOf<Arr>> Diff) {
  return detail::FillSerialBody(A, Offset, Diff);
}

/// The series 0, 1, 2, ... (Offset 0, Diff 1).
template <class Arr>
requires detail::NumArray<Arr, 1, 3>
int FillArraySerial(Arr& A) {
  return detail::FillSerialBody(A, detail::ElemOf<Arr>(0), detail::ElemOf<Arr>(1));
}

// ---------------------------------------------------------------------------------------------
// FillDiagArray

/// For an array whose extents are all equal: the elements whose indices are all equal := Value,
/// every other element := 0. Returns 0, -1 for an empty A, -2 when the extents differ.
template <class Arr>
requires detail::NumArray<Arr, 2, 4>
int FillDiagArray(Arr& A, std::type_identity_t<detail::ElemOf<Arr>> Value) {
  return detail::FillDiagBody(A, Value);
}

// ---------------------------------------------------------------------------------------------
// Random fills. Each call reseeds the platform's generator from the clock first
// (`NMX_platform::Randomize`), so a seed set beforehand does not make the result reproducible.

/// Each element := Mean + StdDev·z with z a standard normal variate (polar method on the
/// platform's generator). Returns 0, -1 for an empty A, -2 when StdDev < 0 or is NaN.
template <class Arr>
requires detail::ArrayOf<Arr, double, 1, 4>
int FillRandomNormal(Arr& A, double Mean, double StdDev) {
  return detail::FillRandomNormalBody(A, Mean, StdDev);
}

/// Uniform random elements. double: RangeLow + (RangeHigh - RangeLow)·u with u in [0, 1).
/// Integer: ⌊RangeLow + (RangeHigh - RangeLow)·u⌋, so RangeHigh itself never occurs (unless it
/// equals RangeLow). Returns 0, -1 for an empty A, -2 when RangeLow > RangeHigh (or NaN).
template <class Arr>
requires detail::NumArray<Arr, 1, 4>
int FillRandomUniform(Arr& A, std::type_identity_t<detail::ElemOf<Arr>> RangeLow,
                      std::type_identity_t<detail::ElemOf<Arr>> RangeHigh) {
  return detail::FillRandomUniformBody(A, RangeLow, RangeHigh);
}

/// Uniform random integers in RangeLow..RangeHigh, both included (m = RangeHigh - RangeLow + 1
/// values). With AllowRepetitions each element is drawn independently; without, the elements
/// are distinct: A receives a uniformly drawn ordered selection of A.size() of the m values
/// (every arrangement equally likely). Returns 0; -1 for an empty A; -2 when RangeHigh < RangeLow; without
/// repetitions -3 when m < A.size() and -4 when m > 1000000.
NMX_API int FillRandomUniform(NMX_nmxbase::TIntArray& A, std::int32_t RangeLow,
                              std::int32_t RangeHigh, bool AllowRepetitions);

}  // namespace NMX_openarrays
