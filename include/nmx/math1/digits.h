// Fixed-width hexadecimal, octal and binary digit text of 32-bit integers.
#pragma once

#include <cstdint>
#include <string>

#include "nmx/config.h"

namespace NMX_math1 {

/// The NDig lowest hexadecimal digits of Value taken as unsigned 32-bit, most significant
/// first, with leading zeros and upper-case letters; NDig is clamped to 1..16 (digits above
/// the eighth are zeros). Hex(255, 4) is "00FF", Hex(-1, 8) "FFFFFFFF", Hex(74565, 2) "45".
NMX_API std::string Hex(std::int32_t Value, std::uint8_t NDig);

/// The same in base 8; NDig is clamped to 1..11.
NMX_API std::string Octal(std::int32_t Value, std::uint8_t NDig);

/// The same in base 2; NDig is clamped to 1..32.
NMX_API std::string Bin(std::int32_t Value, std::uint8_t NDig);

}  // namespace NMX_math1
