// Matrix inversion and LU factors of a 500 × 500 matrix against LAPACK on the same data:
// - InvertArray (copy in, Crout's decomposition with implicit pivoting, one forward and back
//   substitution per column of the identity, copy out) against dgetrf + dgetri on a copy.
// - Determinant (copy in, LU with partial pivoting, the pivots' product) against dgetrf on a
//   copy.
// LAPACK runs on one thread (OpenBLAS is told so when it is the provider), and the nmx side is
// timed at each instruction-set level too. Both sides include their copies of the input.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "math1/isa.h"
#include "nmx/openarrays/linalg.h"
#include "nmx/platform/random.h"
#include "support/ratio_main.h"

extern "C" {
void dgetrf_(const int* M, const int* N, double* A, const int* Lda, int* Ipiv, int* Info);
void dgetri_(const int* N, double* A, const int* Lda, const int* Ipiv, double* Work,
             const int* LWork, int* Info);
}

namespace {

constexpr int kN = 500;

using NMX_nmxbase::TDouble2DArray;

// Uniform in [-1, 1): well conditioned enough for an inverse of every digit that matters.
const TDouble2DArray& Matrix() {
  static const TDouble2DArray A = [] {
    NMX_platform::SetRandSeed(20240901);
    TDouble2DArray M(kN, std::vector<double>(kN));
    for (auto& Col : M) {
      for (double& X : Col) X = 2 * NMX_platform::Random() - 1;
    }
    return M;
  }();
  return A;
}

// The same matrix column-major, as LAPACK takes it.
const std::vector<double>& ColumnMajor() {
  static const std::vector<double> B = [] {
    std::vector<double> V(static_cast<std::size_t>(kN) * kN);
    for (int J = 0; J < kN; ++J) {
      std::memcpy(&V[static_cast<std::size_t>(J) * kN], Matrix()[J].data(), kN * sizeof(double));
    }
    return V;
  }();
  return B;
}

void BM_InvertArray(benchmark::State& State) {
  TDouble2DArray A = Matrix();
  for (auto _ : State) {
    A = Matrix();  // same sizes: no allocation
    const int Status = NMX_openarrays::InvertArray(A);
    benchmark::DoNotOptimize(Status);
    benchmark::DoNotOptimize(A[0][0]);
  }
}

void BM_InvertArray_Isa(benchmark::State& State) {
  namespace D = NMX_math1::detail;
  const auto Level = static_cast<D::TIsa>(State.range(0));
  if (Level > D::HostIsa()) {
    State.SkipWithError("level not available on this processor");
    return;
  }
  D::SetIsa(Level);
  BM_InvertArray(State);
  D::SetIsa(D::HostIsa());
}

void BM_Lapack_dgetrf_dgetri(benchmark::State& State) {
  std::vector<double> A = ColumnMajor();
  std::vector<int> Ipiv(kN);
  const int N = kN;
  int Info = 0, LWork = -1;
  double Query = 0;
  dgetri_(&N, A.data(), &N, Ipiv.data(), &Query, &LWork, &Info);
  LWork = static_cast<int>(Query);
  std::vector<double> Work(static_cast<std::size_t>(LWork));
  for (auto _ : State) {
    std::memcpy(A.data(), ColumnMajor().data(), A.size() * sizeof(double));
    dgetrf_(&N, &N, A.data(), &N, Ipiv.data(), &Info);
    dgetri_(&N, A.data(), &N, Ipiv.data(), Work.data(), &LWork, &Info);
    benchmark::DoNotOptimize(Info);
    benchmark::DoNotOptimize(A[0]);
  }
}

void BM_Determinant(benchmark::State& State) {
  for (auto _ : State) {
    double D = NMX_openarrays::Determinant(Matrix());
    benchmark::DoNotOptimize(D);
  }
}

void BM_Lapack_dgetrf(benchmark::State& State) {
  std::vector<double> A = ColumnMajor();
  std::vector<int> Ipiv(kN);
  const int N = kN;
  int Info = 0;
  for (auto _ : State) {
    std::memcpy(A.data(), ColumnMajor().data(), A.size() * sizeof(double));
    dgetrf_(&N, &N, A.data(), &N, Ipiv.data(), &Info);
    benchmark::DoNotOptimize(Info);
    benchmark::DoNotOptimize(A[0]);
  }
}

BENCHMARK(BM_InvertArray)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lapack_dgetrf_dgetri)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InvertArray_Isa)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Determinant)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lapack_dgetrf)->Unit(benchmark::kMillisecond);

// OpenBLAS starts a thread per core; the comparison is one core against one core.
void SingleThreadedLapack() {
  using TSetThreads = void (*)(int);
  if (void* F = dlsym(RTLD_DEFAULT, "openblas_set_num_threads")) {
    reinterpret_cast<TSetThreads>(F)(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  SingleThreadedLapack();
  return nmx_bench::RunWithRatios(
      argc, argv,
      {{"InvertArray 500 / dgetrf+dgetri", "BM_InvertArray", "BM_Lapack_dgetrf_dgetri"},
       {"Determinant 500 / dgetrf", "BM_Determinant", "BM_Lapack_dgetrf"},
       {"InvertArray, AVX2/baseline", "BM_InvertArray_Isa/1", "BM_InvertArray_Isa/0"},
       {"InvertArray, AVX-512/baseline", "BM_InvertArray_Isa/2", "BM_InvertArray_Isa/0"}});
}
