// Fuzz target for the file and stream readers of TMatrix: the input is written to a temporary
// file and read as an ASC data file, as a list file and as a binary stream, each into a fresh
// matrix and into one that already holds values; whatever loads saves and loads back alike.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "nmx/matrix/matrix.h"

namespace {

using NMX_matrix::TMatrix;

void Check(bool Condition, const char* What) {
  if (!Condition) {
    std::fprintf(stderr, "fuzz_matrix_files: %s\n", What);
    __builtin_trap();
  }
}

std::string TempPath(const char* Stem) {
  return (std::filesystem::temp_directory_path() /
          ("nmx_fuzz_matrix_files_" + std::to_string(static_cast<long long>(getpid())) + Stem))
      .string();
}

// No reader may allocate more than its input could back: a list or stream may grow the
// matrix to 65536 cells freely; an ASC file to about the number of values it can hold.
void CheckSize(const TMatrix& M, std::size_t Before, std::size_t Size) {
  const std::size_t Cells = static_cast<std::size_t>(M.NrOfColumns()) *
                            static_cast<std::size_t>(M.NrOfRows());
  Check(M.NrOfColumns() >= 1 && M.NrOfRows() >= 1, "a matrix keeps one cell");
  Check(M.Data().size() == Cells, "cells and dimensions agree");
  Check(Cells <= std::max<std::size_t>({Before, 65536, 2 * (Size + 2) + 2}), "backed by the input");
}

void Prefill(TMatrix& M) {
  M.Resize(2, 3);
  M.Fill(7.0);
}

// The same bits in every cell; any NaN matches any NaN (the files write one NAN for all).
bool SameCells(const TMatrix& A, const TMatrix& B) {
  if (A.NrOfColumns() != B.NrOfColumns() || A.NrOfRows() != B.NrOfRows()) return false;
  for (std::size_t K = 0; K < A.Data().size(); ++K) {
    const double X = A.Data()[K], Y = B.Data()[K];
    if (std::memcmp(&X, &Y, sizeof X) != 0 && !(std::isnan(X) && std::isnan(Y))) return false;
  }
  return true;
}

void FuzzAsc(const std::string& Path, std::size_t Size) {
  for (const bool Filled : {false, true}) {
    TMatrix M;
    if (Filled) Prefill(M);
    const std::size_t Before = M.Data().size();
    std::string Comment;
    NMX_nmxbase::TStr2DArray Names;
    const int Status = M.ImportASC(Path, Comment, Names);
    CheckSize(M, Before, Size);
    Check(Status <= 0 && Status >= -8, "ImportASC status in -8..0");
    if (Status != 0) continue;
    // What was read is written and read back to the same bits and names.
    static const std::string Again = TempPath(".again");
    Check(M.ExportAsASC(Again, Comment, Names) == 0, "export after import");
    TMatrix Copy;
    std::string Comment2;
    NMX_nmxbase::TStr2DArray Names2;
    Check(Copy.ImportASC(Again, Comment2, Names2) == 0, "reimport");
    Check(SameCells(M, Copy), "ASC round trip keeps the cells");
    std::remove(Again.c_str());
  }
}

void FuzzList(const std::string& Path, std::size_t Size) {
  for (const bool Adjust : {false, true}) {
    TMatrix M;
    Prefill(M);
    M.LoadFromFile(Path, Adjust);
    CheckSize(M, 6, Size);
  }
}

void FuzzStream(const std::string& Bytes) {
  for (const bool Adjust : {false, true}) {
    TMatrix M;
    Prefill(M);
    std::istringstream In(Bytes, std::ios::binary);
    const bool Result = M.LoadFromStream(In, Adjust);
    CheckSize(M, 6, Bytes.size());
    if (!Result || !Adjust) continue;
    std::stringstream Again(std::ios::in | std::ios::out | std::ios::binary);
    M.SaveToStream(Again, 0, 0, 0, 0);
    TMatrix Copy;
    Check(Copy.LoadFromStream(Again, true), "a saved matrix loads");
    Check(SameCells(M, Copy), "stream round trip keeps the cells");
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
  FuzzAsc(Path, Size);
  FuzzList(Path, Size);
  FuzzStream(Bytes);
  std::remove(Path.c_str());
  return 0;
}
