// CRC-32 one byte at a time: the checksum behind the containers' CRCofData texts.
#pragma once

#include <cstdint>

#include "nmx/config.h"

namespace NMX_nmxbase {

/// The CRC-32 register after feeding byte B into Crc: the standard reflected CRC-32
/// (polynomial EDB88320 hex). Start the register at FFFFFFFF and invert it at the end to get
/// the usual checksum (CRC-32 of "123456789" is CBF43926).
NMX_API std::uint32_t CalcNextCRC32(std::uint8_t B, std::uint32_t Crc) noexcept;

}  // namespace NMX_nmxbase
