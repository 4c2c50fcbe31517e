// The text and binary array files. Both readers check every claim of a header against what
// the file holds before they allocate by it, and build the result aside, so that A is only
// replaced once the whole file has been read.
#include "nmx/openarrays/array_files.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "base/file_helpers.h"
#include "base/text_scanner.h"
#include "nmx/base/strings.h"
#include "openarrays/instantiate.h"
#include "openarrays/nd.h"

namespace NMX_openarrays {
namespace {

using NMX_filesys::detail::TTextScanner;

constexpr int kVersion = 1;
constexpr std::string_view kTextSignature = "NMXARRAY-TEXT";
constexpr std::string_view kBinarySignature = "NMXARRAY";
// The fixed part of a binary header: signature, version, kind, rank, four extents, comment
// length.
constexpr std::size_t kBinaryHeaderBytes = 32;
// Data is read and written this many elements at a time, so a reader's memory grows only
// with what it has actually read.
constexpr std::size_t kChunk = 65536;

template <class T>
constexpr TArrayFileKind KindOf() {
  return std::is_same_v<T, double> ? afkDouble : afkInteger;
}

// The extents of a file: per dimension, first index outermost.
template <class Arr>
using TExtents = detail::ExtentsOf<Arr>;

// The extents under which A is stored: its own, or all 0 for an empty A. False for a ragged A.
template <class Arr>
bool StorageExtents(const Arr& A, TExtents<Arr>& E) {
  E = detail::Extents(A);
  if (std::find(E.begin(), E.end(), std::size_t{0}) != E.end()) {
    E.fill(0);
    return true;
  }
  return detail::CoversExtents(A, E.data());
}

// The elements of A within E, first index outermost.
template <class Arr>
std::vector<ElemOf<Arr>> Flatten(const Arr& A, const TExtents<Arr>& E) {
  std::vector<ElemOf<Arr>> Flat;
  if (E[0] == 0) return Flat;
  detail::ForEachElem(A, E.data(), [&Flat](ElemOf<Arr> X) { Flat.push_back(X); });
  return Flat;
}

// The nested array of extents E holding Flat in order.
template <class Arr>
Arr Unflatten(const std::vector<ElemOf<Arr>>& Flat, const TExtents<Arr>& E) {
  Arr A;
  if (E[0] == 0) return A;
  detail::SetExtents(A, E);
  std::size_t K = 0;
  detail::ForEachElem(A, E.data(), [&Flat, &K](ElemOf<Arr>& X) { X = Flat[K++]; });
  return A;
}

// Checks extents read from a header: all 0 (an empty array) or none 0, and a product that
// fits the int range (no index of the library could reach further). Count receives it.
bool ValidExtents(const std::int64_t* E, int Rank, std::int64_t& Count) {
  int Zeros = 0;
  Count = 1;
  for (int K = 0; K < Rank; ++K) {
    if (E[K] < 0 || E[K] > std::numeric_limits<std::int32_t>::max()) return false;
    if (E[K] == 0) ++Zeros;
    Count *= std::max<std::int64_t>(E[K], 1);
    if (Count > std::numeric_limits<std::int32_t>::max()) return false;
  }
  if (Zeros != 0 && Zeros != Rank) return false;
  if (Zeros == Rank) Count = 0;
  return true;
}

// Finishes writing F: 0 when everything reached the file, else -1.
int Finish(std::ofstream& F) {
  F.close();
  return F ? 0 : -1;
}

// ---- text files ----------------------------------------------------------------------------

// The comment as one line: backslash, CR and LF escaped.
std::string EscapeComment(std::string_view C) {
  std::string Out;
  Out.reserve(C.size());
  for (const char Ch : C) {
    switch (Ch) {
      case '\\':
        Out += "\\\\";
        break;
      case '\r':
        Out += "\\r";
        break;
      case '\n':
        Out += "\\n";
        break;
      default:
        Out += Ch;
    }
  }
  return Out;
}

bool UnescapeComment(std::string_view Line, std::string& Out) {
  Out.clear();
  for (std::size_t K = 0; K < Line.size(); ++K) {
    if (Line[K] != '\\') {
      Out += Line[K];
      continue;
    }
    if (++K == Line.size()) return false;
    switch (Line[K]) {
      case '\\':
        Out += '\\';
        break;
      case 'r':
        Out += '\r';
        break;
      case 'n':
        Out += '\n';
        break;
      default:
        return false;
    }
  }
  return true;
}

// X as the shortest text that reads back as X; never depends on the locale.
void AppendNumber(std::string& Out, double X) {
  if (std::isnan(X)) {
    Out += "NAN";
  } else if (std::isinf(X)) {
    Out += X < 0 ? "-INF" : "INF";
  } else {
    std::array<char, 32> Buf{};
    const auto Res = std::to_chars(Buf.data(), Buf.data() + Buf.size(), X);
    Out.append(Buf.data(), Res.ptr);
  }
}

void AppendNumber(std::string& Out, std::int32_t X) {
  std::array<char, 16> Buf{};
  const auto Res = std::to_chars(Buf.data(), Buf.data() + Buf.size(), X);
  Out.append(Buf.data(), Res.ptr);
}

bool ParseElem(std::string_view Word, double& X) {
  return NMX_filesys::detail::ParseNumber(Word, X);
}

bool ParseElem(std::string_view Word, std::int32_t& X) {
  int V = 0;
  if (!NMX_filesys::detail::ParseInt(Word, V)) return false;
  X = V;
  return true;
}

// The header of a text file: signature and version, kind, rank and extents, comment.
struct TTextHeader {
  TArrayFileKind Kind = afkDouble;
  int Rank = 0;
  std::array<std::int64_t, 4> Extents{};
  std::int64_t Count = 0;
  std::string Comment;
};

int ReadTextHeader(TTextScanner& In, TTextHeader& H) {
  NMX_nmxbase::TStrArray Words;
  std::string_view Line;
  if (!In.NextLine(Line)) return -2;
  if (NMX_stringl::Tokenize(Line, Words) != 2 || Words[0] != kTextSignature) return -2;
  int Version = 0;
  if (!NMX_filesys::detail::ParseInt(Words[1], Version)) return -2;
  if (Version != kVersion) return -3;
  if (!In.NextLine(Line)) return -5;
  const int N = NMX_stringl::Tokenize(Line, Words);
  if (N < 3) return -5;
  if (Words[0] == "double") {
    H.Kind = afkDouble;
  } else if (Words[0] == "int32") {
    H.Kind = afkInteger;
  } else {
    return -5;
  }
  if (!NMX_filesys::detail::ParseInt(Words[1], H.Rank) || H.Rank < 1 || H.Rank > 4 ||
      N != H.Rank + 2) {
    return -5;
  }
  for (int K = 0; K < H.Rank; ++K) {
    int E = 0;
    if (!NMX_filesys::detail::ParseInt(Words[static_cast<std::size_t>(K) + 2], E)) return -5;
    H.Extents[static_cast<std::size_t>(K)] = E;
  }
  if (!ValidExtents(H.Extents.data(), H.Rank, H.Count)) return -5;
  if (!In.NextLine(Line) || !UnescapeComment(Line, H.Comment)) return -5;
  return 0;
}

// ---- binary files --------------------------------------------------------------------------

void PutLE(std::string& Out, std::uint64_t V, int Bytes) {
  for (int K = 0; K < Bytes; ++K) Out += static_cast<char>((V >> (8 * K)) & 0xFF);
}

std::uint64_t GetLE(const unsigned char* P, int Bytes) {
  std::uint64_t V = 0;
  for (int K = Bytes - 1; K >= 0; --K) V = (V << 8) | P[K];
  return V;
}

std::uint64_t BitsOf(double X) {
  return std::bit_cast<std::uint64_t>(X);
}
std::uint64_t BitsOf(std::int32_t X) {
  return std::bit_cast<std::uint32_t>(X);
}
void FromBits(std::uint64_t V, double& X) {
  X = std::bit_cast<double>(V);
}
void FromBits(std::uint64_t V, std::int32_t& X) {
  X = std::bit_cast<std::int32_t>(static_cast<std::uint32_t>(V));
}

// Reads N bytes into Out a chunk at a time: the string grows only with bytes that arrived.
bool ReadBytes(std::istream& In, std::uint64_t N, std::string& Out) {
  Out.clear();
  while (Out.size() < N) {
    const std::size_t Take =
        static_cast<std::size_t>(std::min<std::uint64_t>(N - Out.size(), kChunk));
    const std::size_t Old = Out.size();
    Out.resize(Old + Take);
    In.read(Out.data() + Old, static_cast<std::streamsize>(Take));
    if (static_cast<std::size_t>(In.gcount()) != Take) return false;
  }
  return true;
}

// Reads the binary header and comment. Extents beyond the rank are 0 in a valid file.
int ReadBinaryHeader(std::istream& In, TArrayFileHeader& H, std::int64_t& Count) {
  std::array<unsigned char, kBinaryHeaderBytes> B{};
  In.read(reinterpret_cast<char*>(B.data()), static_cast<std::streamsize>(kBinarySignature.size()));
  if (static_cast<std::size_t>(In.gcount()) != kBinarySignature.size() ||
      std::memcmp(B.data(), kBinarySignature.data(), kBinarySignature.size()) != 0) {
    return -2;
  }
  In.read(reinterpret_cast<char*>(B.data()) + 8, kBinaryHeaderBytes - 8);
  if (static_cast<std::size_t>(In.gcount()) < 2) return -5;
  const int Version = static_cast<int>(GetLE(B.data() + 8, 2));
  if (Version != kVersion) return -3;
  if (static_cast<std::size_t>(In.gcount()) != kBinaryHeaderBytes - 8) return -5;
  const int Kind = B[10];
  const int Rank = B[11];
  if ((Kind != afkDouble && Kind != afkInteger) || Rank < 1 || Rank > 4) return -5;
  std::array<std::int64_t, 4> E{};
  for (std::size_t K = 0; K < 4; ++K) {
    E[K] = std::bit_cast<std::int32_t>(static_cast<std::uint32_t>(GetLE(B.data() + 12 + 4 * K, 4)));
    if (static_cast<int>(K) >= Rank && E[K] != 0) return -5;
  }
  if (!ValidExtents(E.data(), Rank, Count)) return -5;
  const std::uint64_t CommentBytes = GetLE(B.data() + 28, 4);
  std::string Comment;
  if (!ReadBytes(In, CommentBytes, Comment)) return -5;
  H.Version = Version;
  H.Kind = static_cast<TArrayFileKind>(Kind);
  H.Rank = Rank;
  for (std::size_t K = 0; K < 4; ++K) H.Extents[K] = static_cast<int>(E[K]);
  H.Comment = std::move(Comment);
  return 0;
}

template <class Arr>
bool MatchesArray(const TArrayFileHeader& H) {
  return H.Kind == KindOf<ElemOf<Arr>>() && H.Rank == RankOf<Arr>;
}

}  // namespace

template <class Arr>
requires NumArray<Arr, 1, 4>
int StoreArray(const std::string& FName, const Arr& A, const std::string& Comment) {
  TExtents<Arr> E;
  if (!StorageExtents(A, E)) return -2;
  const std::string Escaped = EscapeComment(Comment);
  if (Escaped.size() > TTextScanner::kMaxWord) return -3;
  std::ofstream F;
  if (!NMX_filesys::detail::OpenOut(FName, F)) return -1;
  std::string Line(kTextSignature);
  Line += ' ';
  AppendNumber(Line, std::int32_t{kVersion});
  NMX_filesys::detail::WriteLine(F, Line);
  Line = std::is_same_v<ElemOf<Arr>, double> ? "double " : "int32 ";
  AppendNumber(Line, std::int32_t{RankOf<Arr>});
  for (const std::size_t X : E) {
    Line += ' ';
    AppendNumber(Line, static_cast<std::int32_t>(X));
  }
  NMX_filesys::detail::WriteLine(F, Line);
  NMX_filesys::detail::WriteLine(F, Escaped);
  // Each run along the last index on a line of its own.
  const std::vector<ElemOf<Arr>> Flat = Flatten(A, E);
  const std::size_t Run = E[RankOf<Arr> - 1];
  for (std::size_t K = 0; K < Flat.size(); K += Run) {
    Line.clear();
    for (std::size_t J = K; J < K + Run; ++J) {
      if (J != K) Line += ' ';
      AppendNumber(Line, Flat[J]);
    }
    NMX_filesys::detail::WriteLine(F, Line);
  }
  return Finish(F);
}

template <class Arr>
requires NumArray<Arr, 1, 4>
int LoadArray(const std::string& FName, Arr& A, std::string& Comment) {
  using T = ElemOf<Arr>;
  std::ifstream F;
  if (!NMX_filesys::detail::OpenIn(FName, F)) return -1;
  TTextScanner In(F);
  TTextHeader H;
  if (const int Status = ReadTextHeader(In, H); Status != 0) return Status;
  if (H.Kind != KindOf<T>() || H.Rank != RankOf<Arr>) return -4;
  // The values are collected as they arrive, never reserved by the header's count.
  std::vector<T> Flat;
  std::string_view Word;
  while (In.NextWord(Word)) {
    T X{};
    if (static_cast<std::int64_t>(Flat.size()) == H.Count || !ParseElem(Word, X)) return -6;
    Flat.push_back(X);
  }
  if (In.Failed() || static_cast<std::int64_t>(Flat.size()) != H.Count) return -6;
  TExtents<Arr> E;
  for (std::size_t K = 0; K < E.size(); ++K) E[K] = static_cast<std::size_t>(H.Extents[K]);
  A = Unflatten<Arr>(Flat, E);
  Comment = std::move(H.Comment);
  return 0;
}

template <class Arr>
requires NumArray<Arr, 1, 4>
int SaveBinaryArray(const std::string& FName, const Arr& A, const std::string& Comment) {
  using T = ElemOf<Arr>;
  TExtents<Arr> E;
  if (!StorageExtents(A, E)) return -2;
  if (Comment.size() > std::numeric_limits<std::uint32_t>::max()) return -3;
  std::ofstream F;
  if (!NMX_filesys::detail::OpenOut(FName, F)) return -1;
  std::string Head(kBinarySignature);
  PutLE(Head, kVersion, 2);
  PutLE(Head, KindOf<T>(), 1);
  PutLE(Head, RankOf<Arr>, 1);
  for (std::size_t K = 0; K < 4; ++K) PutLE(Head, K < E.size() ? E[K] : 0, 4);
  PutLE(Head, Comment.size(), 4);
  F.write(Head.data(), static_cast<std::streamsize>(Head.size()));
  F.write(Comment.data(), static_cast<std::streamsize>(Comment.size()));
  const std::vector<T> Flat = Flatten(A, E);
  std::string Bytes;
  for (std::size_t K = 0; K < Flat.size(); K += kChunk) {
    Bytes.clear();
    for (std::size_t J = K; J < std::min(Flat.size(), K + kChunk); ++J) {
      PutLE(Bytes, BitsOf(Flat[J]), sizeof(T));
    }
    F.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
  }
  return Finish(F);
}

template <class Arr>
requires NumArray<Arr, 1, 4>
int LoadBinaryArray(const std::string& FName, Arr& A, std::string& Comment) {
  using T = ElemOf<Arr>;
  std::ifstream F;
  if (!NMX_filesys::detail::OpenIn(FName, F)) return -1;
  TArrayFileHeader H;
  std::int64_t Count = 0;
  if (const int Status = ReadBinaryHeader(F, H, Count); Status != 0) return Status;
  if (!MatchesArray<Arr>(H)) return -4;
  // A data part shorter than the header claims is found before anything is allocated for
  // it, where the stream can tell its size; elsewhere the chunks stop at the end of the data.
  const std::int64_t Left = NMX_filesys::detail::RemainingBytes(F);
  const std::int64_t Need = Count * static_cast<std::int64_t>(sizeof(T));
  if (Left >= 0 && Left != Need) return -6;
  std::vector<T> Flat;
  std::string Bytes;
  while (static_cast<std::int64_t>(Flat.size()) < Count) {
    const auto Take =
        std::min<std::uint64_t>(static_cast<std::uint64_t>(Count) - Flat.size(), kChunk);
    if (!ReadBytes(F, Take * sizeof(T), Bytes)) return -6;
    const auto* P = reinterpret_cast<const unsigned char*>(Bytes.data());
    for (std::size_t J = 0; J < Take; ++J) {
      T X{};
      FromBits(GetLE(P + J * sizeof(T), sizeof(T)), X);
      Flat.push_back(X);
    }
  }
  if (F.peek() != std::ifstream::traits_type::eof()) return -6;
  TExtents<Arr> E;
  for (std::size_t K = 0; K < E.size(); ++K) E[K] = static_cast<std::size_t>(H.Extents[K]);
  A = Unflatten<Arr>(Flat, E);
  Comment = std::move(H.Comment);
  return 0;
}

int ReadBinaryArrayHeader(const std::string& FName, TArrayFileHeader& Header) {
  std::ifstream F;
  if (!NMX_filesys::detail::OpenIn(FName, F)) return -1;
  TArrayFileHeader H;
  std::int64_t Count = 0;
  if (const int Status = ReadBinaryHeader(F, H, Count); Status != 0) return Status;
  Header = std::move(H);
  return 0;
}

#define NMX_INST(A)                                                                  \
  template int StoreArray<A>(const std::string&, const A&, const std::string&);      \
  template int LoadArray<A>(const std::string&, A&, std::string&);                   \
  template int SaveBinaryArray<A>(const std::string&, const A&, const std::string&); \
  template int LoadBinaryArray<A>(const std::string&, A&, std::string&);
NMX_NUM_1_4(NMX_INST)
#undef NMX_INST

}  // namespace NMX_openarrays
