// Fuzz target for the file and stream readers of TVector and TIntVector: the input is written to
// a temporary file and read as an ASC data file, as a list file (also auto-detected) and as a
// binary stream, each into a fresh vector and into one that already holds values.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "nmx/vector/intvector.h"
#include "nmx/vector/vector.h"

namespace {

void Check(bool Condition, const char* What) {
  if (!Condition) {
    std::fprintf(stderr, "fuzz_vector_files: %s\n", What);
    __builtin_trap();
  }
}

std::string TempPath(const char* Stem) {
  return (std::filesystem::temp_directory_path() /
          ("nmx_fuzz_vector_files_" + std::to_string(static_cast<long long>(getpid())) + Stem))
      .string();
}

// No reader may allocate more than its input could back: a list or stream may grow the
// vector to 65536 elements freely, an ASC file to half its size plus one.
template <class V>
void CheckSize(const V& Vec, int Before, std::size_t Size) {
  const auto Bound = std::max<std::size_t>({static_cast<std::size_t>(Before), 65536, Size + 1});
  Check(Vec.NrOfElem() >= 1, "a vector keeps at least one element");
  Check(static_cast<std::size_t>(Vec.NrOfElem()) <= Bound, "the size is backed by the input");
  Check(Vec.Data().size() == static_cast<std::size_t>(Vec.NrOfElem()), "data and size agree");
}

template <class V>
void Prefill(V& Vec) {
  Vec.Resize(3);
  Vec.SetVal(1, 7);
  Vec.SetVal(2, 8);
  Vec.SetVal(3, 9);
}

template <class V>
void FuzzAsc(const std::string& Path, std::size_t Size) {
  for (const bool Filled : {false, true}) {
    V Vec;
    if (Filled) Prefill(Vec);
    const int Before = Vec.NrOfElem();
    std::string Comment;
    const int Status = Vec.ImportASC(Path, Comment);
    CheckSize(Vec, Before, Size);
    Check(Status <= 0 && Status >= -8, "ImportASC status in -8..0");
  }
}

template <class V>
void FuzzList(const std::string& Path, std::size_t Size) {
  for (const bool Adjust : {false, true}) {
    V Vec;
    Prefill(Vec);
    Vec.LoadFromFile(Path, Adjust);
    CheckSize(Vec, 3, Size);
  }
}

void FuzzAutoDetect(const std::string& Path, std::size_t Size) {
  for (const bool Adjust : {false, true}) {
    NMX_vector::TVector Vec;
    Check(Vec.LoadFromFile(Path, Adjust, true), "an existing file is auto-detected");
    CheckSize(Vec, 1, Size);
  }
}

bool SameValue(double X, double Y) {
  return X == Y || (std::isnan(X) && std::isnan(Y));
}

bool SameValue(std::int32_t X, std::int32_t Y) {
  return X == Y;
}

template <class V>
void FuzzStream(const std::string& Bytes) {
  for (const bool Adjust : {false, true}) {
    V Vec;
    Prefill(Vec);
    std::istringstream In(Bytes, std::ios::binary);
    const bool Result = Vec.LoadFromStream(In, Adjust);
    CheckSize(Vec, 3, Bytes.size());
    if (!Result || !Adjust) continue;
    // Whatever loaded saves back to a stream that loads to the same vector.
    std::stringstream Again(std::ios::in | std::ios::out | std::ios::binary);
    Vec.SaveToStream(Again, 0, 0);
    V Copy;
    Check(Copy.LoadFromStream(Again, true), "a saved vector loads");
    Check(Copy.NrOfElem() == Vec.NrOfElem(), "stream round trip keeps the size");
    for (int K = 1; K <= Vec.NrOfElem(); ++K) {
      Check(SameValue(Vec.GetVal(K), Copy.GetVal(K)), "stream round trip keeps the values");
    }
  }
}

}  // namespace

// Declared first so that the definition does not trip -Wmissing-declarations in the replay build.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string Bytes(reinterpret_cast<const char*>(Data), Size);
  static const std::string Path = TempPath(".txt");
  {
    std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
    Out.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
    Check(static_cast<bool>(Out), "writing the temporary file");
  }
  FuzzAsc<NMX_vector::TVector>(Path, Size);
  FuzzAsc<NMX_vector::TIntVector>(Path, Size);
  FuzzList<NMX_vector::TVector>(Path, Size);
  FuzzList<NMX_vector::TIntVector>(Path, Size);
  FuzzAutoDetect(Path, Size);
  FuzzStream<NMX_vector::TVector>(Bytes);
  FuzzStream<NMX_vector::TIntVector>(Bytes);
  std::remove(Path.c_str());
  return 0;
}
