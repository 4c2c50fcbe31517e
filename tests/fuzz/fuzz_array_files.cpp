// Fuzz target for the array files: the input is written to a temporary file and read as a
// text and as a binary array file into every array type (double and integer, rank 1 to 4),
// and its binary header is read alone. Statuses stay within the documented codes, a failed
// read leaves the array and comment as they were, nothing larger than the input is built,
// and whatever loads is written and read back to the same values.
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <type_traits>
#include <vector>

#include "nmx/base/types.h"
#include "nmx/openarrays/array_files.h"

namespace {

using namespace NMX_openarrays;

void Check(bool Condition, const char* What) {
  if (!Condition) {
    std::fprintf(stderr, "fuzz_array_files: %s\n", What);
    __builtin_trap();
  }
}

std::string TempPath(const char* Stem) {
  return (std::filesystem::temp_directory_path() /
          ("nmx_fuzz_array_files_" + std::to_string(static_cast<long long>(getpid())) + Stem))
      .string();
}

template <class A>
void Collect(const A& X, std::vector<ElemOf<A>>& Out) {
  if constexpr (RankOf<A> == 1) {
    Out.insert(Out.end(), X.begin(), X.end());
  } else {
    for (const auto& Inner : X) Collect(Inner, Out);
  }
}

// Equal values, a NaN matching any NaN (the text form keeps no payloads); with Bits the same
// bits throughout.
template <class A>
bool Same(const A& X, const A& Y, bool Bits) {
  std::vector<ElemOf<A>> FX, FY;
  Collect(X, FX);
  Collect(Y, FY);
  if (FX.size() != FY.size()) return false;
  for (std::size_t K = 0; K < FX.size(); ++K) {
    if (std::memcmp(&FX[K], &FY[K], sizeof FX[K]) == 0) continue;
    if constexpr (std::is_same_v<ElemOf<A>, double>) {
      if (!Bits && std::isnan(FX[K]) && std::isnan(FY[K])) continue;
    }
    return false;
  }
  return true;
}

template <class A>
A Sentinel() {
  A X(1);
  if constexpr (RankOf<A> == 1) {
    X[0] = 7;
  } else {
    X[0] = Sentinel<typename A::value_type>();
  }
  return X;
}

template <class A>
void FuzzType(const std::string& Path, std::size_t Size) {
  static const std::string Again = TempPath(".again");
  for (const bool Binary : {false, true}) {
    A X = Sentinel<A>();
    std::string Comment = "kept";
    const int Status = Binary ? LoadBinaryArray(Path, X, Comment) : LoadArray(Path, X, Comment);
    Check(Status <= 0 && Status >= -6, "status within -6..0");
    if (Status != 0) {
      Check(Same(X, Sentinel<A>(), true) && Comment == "kept", "a failed read changes nothing");
      continue;
    }
    std::vector<ElemOf<A>> Values;
    Collect(X, Values);
    Check(Values.size() * (Binary ? sizeof(ElemOf<A>) : 1) <= Size, "backed by the input");
    Check(Comment.size() <= Size, "comment backed by the input");
    A Y;
    std::string Comment2;
    if (Binary) {
      Check(SaveBinaryArray(Again, X, Comment) == 0, "save after load");
      Check(LoadBinaryArray(Again, Y, Comment2) == 0, "reload");
    } else {
      Check(StoreArray(Again, X, Comment) == 0, "store after load");
      Check(LoadArray(Again, Y, Comment2) == 0, "reload");
    }
    Check(Same(X, Y, Binary) && Comment == Comment2, "round trip keeps values and comment");
    std::remove(Again.c_str());
  }
}

}  // namespace

// Declared first so that the definition does not trip -Wmissing-declarations in the replay build.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  static const std::string Path = TempPath(".arr");
  {
    std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
    if (Size != 0)
      Out.write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));
    Check(static_cast<bool>(Out), "writing the temporary file");
  }
  FuzzType<NMX_nmxbase::TDoubleArray>(Path, Size);
  FuzzType<NMX_nmxbase::TDouble2DArray>(Path, Size);
  FuzzType<NMX_nmxbase::TDouble3DArray>(Path, Size);
  FuzzType<NMX_nmxbase::TDouble4DArray>(Path, Size);
  FuzzType<NMX_nmxbase::TIntArray>(Path, Size);
  FuzzType<NMX_nmxbase::TInt2DArray>(Path, Size);
  FuzzType<NMX_nmxbase::TInt3DArray>(Path, Size);
  FuzzType<NMX_nmxbase::TInt4DArray>(Path, Size);
  TArrayFileHeader H;
  const int Status = ReadBinaryArrayHeader(Path, H);
  Check(Status == 0 || Status == -2 || Status == -3 || Status == -5, "header status");
  if (Status == 0) Check(H.Rank >= 1 && H.Rank <= 4 && H.Comment.size() <= Size, "header fields");
  std::remove(Path.c_str());
  return 0;
}
