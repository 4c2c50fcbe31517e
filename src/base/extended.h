// The x87 80-bit extended format taken apart and put together with integer arithmetic, for any
// binary floating-point type (so the rounding paths of narrower hosts can be checked anywhere).
#pragma once

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace NMX_streams::detail {

inline constexpr int kExtBias = 16383;
inline constexpr int kExtMaxExp = 0x7FFF;
inline constexpr std::uint64_t kExtIntegerBit = std::uint64_t{1} << 63;

/// The two fields of an extended value: the 64-bit significand and the 16 bits of sign and
/// biased exponent.
struct ExtendedBits {
  std::uint64_t Sig = 0;
  std::uint16_t SignExp = 0;
  friend bool operator==(const ExtendedBits&, const ExtendedBits&) = default;
};

/// Sig * 2^K rounded once, to nearest with ties to even, to T. The integer is rounded by
/// hand first, so a result in T's subnormal range is not rounded twice (on conversion and
/// again in ldexp); after that the conversion and the scaling are exact, or overflow to
/// infinity, which is then the correctly rounded result.
template <class T>
T ScaleToFloat(std::uint64_t Sig, int K) {
  constexpr int P = std::numeric_limits<T>::digits;
  // The spacing of T's subnormals, and of its smallest normal binade, is 2^(MinExp - P).
  constexpr int MinExp = std::numeric_limits<T>::min_exponent;
  if (Sig == 0) return T(0);
  const int Msb = std::bit_width(Sig) - 1;
  const int Drop = std::max(Msb + 1 - P, (MinExp - P) - K);
  if (Drop > 0) {
    if (Drop > 64) return T(0);  // below half the smallest subnormal
    std::uint64_t Q = 0, Rem = Sig, Half = kExtIntegerBit;
    if (Drop < 64) {
      Q = Sig >> Drop;
      Rem = Sig & ((std::uint64_t{1} << Drop) - 1);
      Half = std::uint64_t{1} << (Drop - 1);
    }
    if (Rem > Half || (Rem == Half && (Q & 1U) != 0)) ++Q;
    Sig = Q;
    K += Drop;
  }
  return std::ldexp(static_cast<T>(Sig), K);
}

/// The value of an extended bit pattern, rounded to nearest in T. An exponent of all ones
/// gives an infinity (zero fraction) or a quiet NaN, with the stored sign; patterns the x87
/// rejects (an integer bit that disagrees with the exponent) give their arithmetic value.
template <class T>
T DecodeExtended(ExtendedBits Bits) {
  const int Exp = Bits.SignExp & 0x7FFF;
  T Value = T(0);
  if (Exp == kExtMaxExp) {
    Value = (Bits.Sig & ~kExtIntegerBit) == 0 ? std::numeric_limits<T>::infinity()
                                              : std::numeric_limits<T>::quiet_NaN();
  } else {
    // A zero exponent field scales like exponent 1 (subnormals have no integer bit).
    Value = ScaleToFloat<T>(Bits.Sig, std::max(Exp, 1) - kExtBias - 63);
  }
  return std::copysign(Value, (Bits.SignExp & 0x8000) != 0 ? T(-1) : T(1));
}

/// The extended bit pattern of X, rounded to nearest when T is wider than 64 significant bits.
/// Zeros keep their sign; a NaN becomes the quiet NaN of its sign (payloads are not kept).
template <class T>
ExtendedBits EncodeExtended(T X) {
  std::uint64_t Sig = 0;
  int Exp = 0;
  if (std::isnan(X)) {
    Exp = kExtMaxExp;
    Sig = kExtIntegerBit | (kExtIntegerBit >> 1);
  } else if (std::isinf(X)) {
    Exp = kExtMaxExp;
    Sig = kExtIntegerBit;
  } else if (X != T(0)) {
    int E = 0;
    const T M = std::frexp(std::fabs(X), &E);  // |X| = M 2^E, M in [0.5, 1)
    // As a normal extended value |X| = (Sig / 2^63) 2^(Exp - bias) with Sig = M 2^64.
    Exp = E - 1 + kExtBias;
    if (Exp >= 1) {
      T Scaled = std::nearbyint(std::ldexp(M, 64));  // exact unless T is wider than 64 bits
      if (Scaled >= std::ldexp(T(1), 64)) {
        Scaled = std::ldexp(T(1), 63);
        ++Exp;
      }
      Sig = static_cast<std::uint64_t>(Scaled);
      if (Exp >= kExtMaxExp) {  // rounded beyond the largest value: infinity
        Exp = kExtMaxExp;
        Sig = kExtIntegerBit;
      }
    } else {
      // Extended subnormal: |X| = Sig 2^(1 - bias - 63), no integer bit.
      const T Scaled = std::nearbyint(std::ldexp(M, E + kExtBias + 62));
      if (Scaled >= std::ldexp(T(1), 63)) {
        Exp = 1;
        Sig = kExtIntegerBit;
      } else {
        Exp = 0;
        Sig = static_cast<std::uint64_t>(Scaled);
      }
    }
  }
  ExtendedBits Bits;
  Bits.Sig = Sig;
  Bits.SignExp = static_cast<std::uint16_t>(Exp | (std::signbit(X) ? 0x8000 : 0));
  return Bits;
}

}  // namespace NMX_streams::detail
