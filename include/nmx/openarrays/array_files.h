// Open-array functions: storing double and integer arrays of rank 1 to 4 in files, as text
// and as binary, with a comment. The layouts are described in docs/FILE_FORMATS.md.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "nmx/config.h"
#include "nmx/openarrays/array_kinds.h"

namespace NMX_openarrays {

/// Element type of an array file.
enum TArrayFileKind : std::uint8_t { afkDouble = 1, afkInteger = 2 };

/// What the header of a binary array file tells.
struct TArrayFileHeader {
  int Version = 0;                     ///< format version (1)
  TArrayFileKind Kind = afkDouble;     ///< element type
  int Rank = 0;                        ///< 1..4
  std::array<int, 4> Extents{};        ///< extents first index outermost, 0 beyond Rank
  std::string Comment;                 ///< the comment stored with the array
};

// Status codes of the array files.
//   Writers: 0 written; -1 the file cannot be created or written; -2 A is ragged (some inner
//   array shorter than its level's extent, so it has no rectangular form to store); -3 the
//   comment is too long for the file (text: 1 MiB once escaped, one line of the reader;
//   binary: 4 GiB).
//   Readers: 0 read; -1 the file cannot be opened; -2 not an array file of this kind (wrong
//   signature, or the file ends within it); -3 a format version this library does not read;
//   -4 the file holds another element type or rank than A; -5 the header is corrupt (an
//   unknown element type or rank, a negative extent, extents of which some but not all are
//   0, more elements than 2^31 - 1, a truncated header or comment); -6 the data is truncated
//   or corrupt (too few or too many values, a word that is no number of the element type,
//   trailing bytes). A reader changes A and Comment only when it returns 0, and never
//   allocates more than the file's bytes can back, whatever a header claims.
// An empty array (an extent of 0) is stored with all extents 0 and reads back as an array
// with no elements at the outermost level.

/// Writes A and Comment to the text array file FName (created or replaced). The numbers are
/// the shortest text that reads back as the same value (NAN, INF, -INF for the non-finite
/// doubles), independent of the locale; lines end with CR LF. Codes above.
template <class Arr>
requires NumArray<Arr, 1, 4>
NMX_API int StoreArray(const std::string& FName, const Arr& A, const std::string& Comment);

/// Reads the text array file FName into A and Comment. The element type and rank of the file
/// must be A's. Lines may end with LF or CR LF. Codes above.
template <class Arr>
requires NumArray<Arr, 1, 4>
NMX_API int LoadArray(const std::string& FName, Arr& A, std::string& Comment);

/// Writes A and Comment to the binary array file FName: raw little-endian IEEE doubles or
/// 32-bit integers, so every value (NaN payloads included) reads back bit for bit. Codes
/// above.
template <class Arr>
requires NumArray<Arr, 1, 4>
NMX_API int SaveBinaryArray(const std::string& FName, const Arr& A, const std::string& Comment);

/// Reads the binary array file FName into A and Comment; the element type and rank of the
/// file must be A's. Codes above.
template <class Arr>
requires NumArray<Arr, 1, 4>
NMX_API int LoadBinaryArray(const std::string& FName, Arr& A, std::string& Comment);

/// Reads only the header (and the comment) of the binary array file FName into Header, so
/// that a caller can learn the element type, rank and extents before loading. Returns 0, or
/// the reader codes -1, -2, -3 and -5 (the data is not looked at); Header is changed only on
/// success.
NMX_API int ReadBinaryArrayHeader(const std::string& FName, TArrayFileHeader& Header);

}  // namespace NMX_openarrays
