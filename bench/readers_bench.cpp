// The text readers of TVector against a std::from_chars loop over the same file: the whole
// file read into memory, then every white-space separated word parsed as a double. 10^6
// values, written once by the library's own writers (an ASC file, a list file) and as a
// plain list under a title line. Bytes processed are the file's size, so the console shows
// the reading speed.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "nmx/platform/random.h"
#include "nmx/vector/vector.h"
#include "support/ratio_main.h"

namespace {

constexpr int kValues = 1000000;

struct TFiles {
  std::string Asc, List, Plain;
  TFiles() {
    const auto Dir = std::filesystem::temp_directory_path();
    Asc = (Dir / "nmx_bench_values.asc").string();
    List = (Dir / "nmx_bench_values.lst").string();
    Plain = (Dir / "nmx_bench_values.txt").string();
    NMX_platform::SetRandSeed(20241211);
    NMX_vector::TVector V;
    V.Resize(kValues);
    V.FillRandomGauss(250.0, 40.0);
    V.ExportAsASC(Asc, 6, "readings");
    V.StoreOnFile(1, kValues, 6, List);
    std::FILE* F = std::fopen(Plain.c_str(), "wb");
    std::fputs("reading\n", F);
    for (int K = 1; K <= kValues; ++K) std::fprintf(F, "%.6f\n", V.GetVal(K));
    std::fclose(F);
  }
  ~TFiles() {
    std::error_code Ignored;
    for (const std::string* P : {&Asc, &List, &Plain}) std::filesystem::remove(*P, Ignored);
  }
};

const TFiles& Files() {
  static const TFiles F;
  return F;
}

std::int64_t SizeOf(const std::string& Path) {
  return static_cast<std::int64_t>(std::filesystem::file_size(Path));
}

// The peer: read the file whole with one read, then parse every word after the first Skip
// lines.
std::vector<double> FromCharsLoop(const std::string& Path, int Skip) {
  std::ifstream In(Path, std::ios::binary);
  std::string Text(static_cast<std::size_t>(SizeOf(Path)), '\0');
  In.read(Text.data(), static_cast<std::streamsize>(Text.size()));
  const char* P = Text.data();
  const char* End = P + Text.size();
  for (int L = 0; L < Skip && P < End; ++L) {
    while (P < End && *P != '\n') ++P;
    ++P;
  }
  std::vector<double> Values;
  Values.reserve(kValues);
  auto White = [](char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n'; };
  while (P < End) {
    while (P < End && White(*P)) ++P;
    const char* W = P;
    while (P < End && !White(*P)) ++P;
    if (W == P) break;
    double X = 0.0;
    std::from_chars(W, P, X);
    Values.push_back(X);
  }
  return Values;
}

template <class Read>
void TimeRead(benchmark::State& State, const std::string& Path, Read&& Fn) {
  for (auto _ : State) {
    Fn(Path);
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(State.iterations() * SizeOf(Path));
}

void BM_ImportASC(benchmark::State& State) {
  TimeRead(State, Files().Asc, [](const std::string& P) {
    NMX_vector::TVector V;
    std::string Comment;
    if (V.ImportASC(P, Comment) != 0) std::abort();
  });
}
void BM_FromChars_Asc(benchmark::State& State) {
  TimeRead(State, Files().Asc, [](const std::string& P) {
    benchmark::DoNotOptimize(FromCharsLoop(P, 4).data());
  });
}
void BM_LoadFromFile_List(benchmark::State& State) {
  TimeRead(State, Files().List, [](const std::string& P) {
    NMX_vector::TVector V;
    if (!V.LoadFromFile(P, true)) std::abort();
  });
}
void BM_FromChars_List(benchmark::State& State) {
  TimeRead(State, Files().List, [](const std::string& P) {
    benchmark::DoNotOptimize(FromCharsLoop(P, 1).data());
  });
}
void BM_LoadFromFile_AutoDetect(benchmark::State& State) {
  TimeRead(State, Files().Plain, [](const std::string& P) {
    NMX_vector::TVector V;
    if (!V.LoadFromFile(P, true, true)) std::abort();
  });
}
void BM_FromChars_Plain(benchmark::State& State) {
  TimeRead(State, Files().Plain, [](const std::string& P) {
    benchmark::DoNotOptimize(FromCharsLoop(P, 1).data());
  });
}

BENCHMARK(BM_ImportASC)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FromChars_Asc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFromFile_List)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FromChars_List)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFromFile_AutoDetect)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FromChars_Plain)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  Files();  // written before any timing
  return nmx_bench::RunWithRatios(
      argc, argv,
      {{"ImportASC / from_chars loop", "BM_ImportASC", "BM_FromChars_Asc"},
       {"LoadFromFile (list) / from_chars loop", "BM_LoadFromFile_List", "BM_FromChars_List"},
       {"LoadFromFile (auto-detect) / from_chars loop", "BM_LoadFromFile_AutoDetect",
        "BM_FromChars_Plain"}});
}
