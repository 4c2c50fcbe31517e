// TMatrix's products, spectral norm and cross-product matrix against the reference libraries, single-threaded, on the same random
// data, through the component's own calls (so the copies in and out are counted too):
// - Multiply, 1000 × 1000, against OpenBLAS dgemm (one thread) and Eigen's product;
// - Norm(ntSpectral), 200 × 200, against dgesvd computing the same factors (U in place of A,
//   and Vᵀ);
// - Square, 2000 rows × 500 columns, on the calling thread, against dsyrk (upper triangle).
// The inversion is timed against dgetrf + dgetri in linalg_bench.
// Our products keep every entry's sum in ascending order without fused multiply-adds; the
// peers reorder and fuse freely.
#include <benchmark/benchmark.h>
#include <cblas.h>

#include <Eigen/Core>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "nmx/matrix/matrix.h"
#include "nmx/platform/random.h"
#include "support/ratio_main.h"

extern "C" {
void dgesvd_(const char* JobU, const char* JobVt, const int* M, const int* N, double* A,
             const int* Lda, double* S, double* U, const int* Ldu, double* Vt, const int* Ldvt,
             double* Work, const int* LWork, int* Info);
void openblas_set_num_threads(int Threads);
}

namespace {

using NMX_matrix::TMatrix;

// A Cols × Rows matrix of uniform values in [-1, 1), plus Diagonal on its diagonal.
void Fill(TMatrix& M, int Cols, int Rows, std::uint64_t Seed, double Diagonal = 0.0) {
  NMX_platform::SetRandSeed(Seed);
  M.Resize(Cols, Rows);
  M.FillRandomUniform(-1.0, 1.0);
  for (int I = 1; I <= std::min(Cols, Rows); ++I) M.SetVal(I, I, M.GetVal(I, I) + Diagonal);
}

std::vector<double> CellsOf(const TMatrix& M) {
  return {M.Data().begin(), M.Data().end()};
}

// --- Multiply ------------------------------------------------------------------------------

constexpr int kProduct = 1000;

void BM_Multiply(benchmark::State& State) {
  TMatrix A, B, C;
  Fill(A, kProduct, kProduct, 1);
  Fill(B, kProduct, kProduct, 2);
  for (auto _ : State) {
    A.Multiply(&B, &C);
    benchmark::DoNotOptimize(C.Data().data());
  }
}
BENCHMARK(BM_Multiply)->Unit(benchmark::kMillisecond);

void BM_Multiply_dgemm(benchmark::State& State) {
  TMatrix MA, MB;
  Fill(MA, kProduct, kProduct, 1);
  Fill(MB, kProduct, kProduct, 2);
  const std::vector<double> A = CellsOf(MA), B = CellsOf(MB);
  std::vector<double> C(A.size());
  for (auto _ : State) {
    cblas_dgemm(CblasColMajor, CblasNoTrans, CblasNoTrans, kProduct, kProduct, kProduct, 1.0,
                A.data(), kProduct, B.data(), kProduct, 0.0, C.data(), kProduct);
    benchmark::DoNotOptimize(C.data());
  }
}
BENCHMARK(BM_Multiply_dgemm)->Unit(benchmark::kMillisecond);

void BM_Multiply_Eigen(benchmark::State& State) {
  TMatrix MA, MB;
  Fill(MA, kProduct, kProduct, 1);
  Fill(MB, kProduct, kProduct, 2);
  const Eigen::MatrixXd A = Eigen::Map<const Eigen::MatrixXd>(MA.Data().data(), kProduct, kProduct);
  const Eigen::MatrixXd B = Eigen::Map<const Eigen::MatrixXd>(MB.Data().data(), kProduct, kProduct);
  Eigen::MatrixXd C(kProduct, kProduct);
  for (auto _ : State) {
    C.noalias() = A * B;
    benchmark::DoNotOptimize(C.data());
  }
}
BENCHMARK(BM_Multiply_Eigen)->Unit(benchmark::kMillisecond);

// --- Norm(ntSpectral) ----------------------------------------------------------------------

constexpr int kSvd = 200;

void BM_SpectralNorm(benchmark::State& State) {
  TMatrix A;
  Fill(A, kSvd, kSvd, 4);
  for (auto _ : State) benchmark::DoNotOptimize(A.Norm(NMX_matrix::ntSpectral));
}
BENCHMARK(BM_SpectralNorm)->Unit(benchmark::kMillisecond);

void BM_SpectralNorm_dgesvd(benchmark::State& State) {
  TMatrix M;
  Fill(M, kSvd, kSvd, 4);
  const std::vector<double> A = CellsOf(M);
  std::vector<double> W, S(kSvd), Vt(static_cast<std::size_t>(kSvd) * kSvd);
  const int N = kSvd;
  int Info = 0, LWork = -1;
  double Query = 0;
  const char JobU = 'O', JobVt = 'A';
  W = A;
  dgesvd_(&JobU, &JobVt, &N, &N, W.data(), &N, S.data(), nullptr, &N, Vt.data(), &N, &Query,
          &LWork, &Info);
  LWork = static_cast<int>(Query);
  std::vector<double> Work(static_cast<std::size_t>(LWork));
  for (auto _ : State) {
    W = A;
    dgesvd_(&JobU, &JobVt, &N, &N, W.data(), &N, S.data(), nullptr, &N, Vt.data(), &N,
            Work.data(), &LWork, &Info);
    benchmark::DoNotOptimize(S[0]);
  }
}
BENCHMARK(BM_SpectralNorm_dgesvd)->Unit(benchmark::kMillisecond);

// --- Square --------------------------------------------------------------------------------

constexpr int kTallRows = 2000, kTallCols = 500;

void BM_Square(benchmark::State& State) {
  TMatrix A, R;
  Fill(A, kTallCols, kTallRows, 5);
  for (auto _ : State) {
    A.Square(&R, 1.0, 1);
    benchmark::DoNotOptimize(R.Data().data());
  }
}
BENCHMARK(BM_Square)->Unit(benchmark::kMillisecond);

void BM_Square_dsyrk(benchmark::State& State) {
  TMatrix M;
  Fill(M, kTallCols, kTallRows, 5);
  const std::vector<double> A = CellsOf(M);
  std::vector<double> C(static_cast<std::size_t>(kTallCols) * kTallCols);
  for (auto _ : State) {
    cblas_dsyrk(CblasColMajor, CblasUpper, CblasTrans, kTallCols, kTallRows, 1.0, A.data(),
                kTallRows, 0.0, C.data(), kTallCols);
    benchmark::DoNotOptimize(C.data());
  }
}
BENCHMARK(BM_Square_dsyrk)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  openblas_set_num_threads(1);
  return nmx_bench::RunWithRatios(
      argc, argv,
      {{"Multiply 1000 / dgemm", "BM_Multiply", "BM_Multiply_dgemm"},
       {"Multiply 1000 / Eigen", "BM_Multiply", "BM_Multiply_Eigen"},
       {"Norm(ntSpectral) 200 / dgesvd", "BM_SpectralNorm", "BM_SpectralNorm_dgesvd"},
       {"Square 2000 x 500 / dsyrk", "BM_Square", "BM_Square_dsyrk"}});
}
