// The matrix product kernel against the peers, single-threaded, on the same random data:
// - C = A·B for 1000 × 1000 matrices against OpenBLAS dgemm (one thread) and Eigen's product
//   (compiled with the library's flags, so at the baseline instruction set); the kernel at
//   each instruction-set level too; and a 100 × 100 product against dgemm.
// - Its harder forms: Aᵀ·B, whose operands are packed from rows, and a rank-32 update
//   C -= A·B (K = 32, as an elimination makes), where packing and the pass over C weigh most.
// - AᵀA for a 2000 × 500 A against dsyrk, which forms only the upper triangle: half the work
//   (the GFLOP/s of both count the full product).
// The kernel keeps every entry's sum in ascending order without fused multiply-adds; the peers
// reorder and fuse freely.
#include <benchmark/benchmark.h>
#include <cblas.h>

#include <Eigen/Core>

#include <cstdint>
#include <vector>

#include "math1/gemm.h"
#include "nmx/platform/random.h"
#include "support/isa_level.h"
#include "support/ratio_main.h"

namespace {

namespace D = NMX_math1::detail;
using Index = std::ptrdiff_t;

constexpr Index kSize = 1000;
constexpr Index kRank = 32;
constexpr Index kTallRows = 2000, kTallCols = 500;

std::vector<double> RandomMatrix(Index Rows, Index Cols, std::uint64_t Seed) {
  NMX_platform::SetRandSeed(Seed);
  std::vector<double> M(static_cast<std::size_t>(Rows * Cols));
  for (double& X : M) X = NMX_platform::Random() * 2.0 - 1.0;
  return M;
}

const std::vector<double>& SquareA() {
  static const std::vector<double> M = RandomMatrix(kSize, kSize, 1);
  return M;
}
const std::vector<double>& SquareB() {
  static const std::vector<double> M = RandomMatrix(kSize, kSize, 2);
  return M;
}
const std::vector<double>& Tall() {
  static const std::vector<double> M = RandomMatrix(kTallRows, kTallCols, 3);
  return M;
}

void SetFlops(benchmark::State& State, Index M, Index N, Index K) {
  State.counters["GFLOP/s"] = benchmark::Counter(
      2e-9 * static_cast<double>(M) * static_cast<double>(N) * static_cast<double>(K),
      benchmark::Counter::kIsIterationInvariantRate);
}

CBLAS_TRANSPOSE Blas(D::TTrans T) { return T == D::TTrans::No ? CblasNoTrans : CblasTrans; }

// C := op(A)·op(B) (or C -= op(A)·op(B)) with M × K and K × N operands stored as the square
// or rank-K matrices above.
template <bool Ours>
void RunProduct(benchmark::State& State, D::TTrans TA, D::TTrans TB, Index M, Index N, Index K,
                D::TGemmMode Mode) {
  const std::vector<double>& A = SquareA();
  const std::vector<double>& B = SquareB();
  const Index Lda = TA == D::TTrans::No ? M : K, Ldb = TB == D::TTrans::No ? K : N;
  std::vector<double> C(static_cast<std::size_t>(M * N), 0.0);
  const bool Sub = Mode == D::TGemmMode::Subtract;
  for (auto _ : State) {
    if constexpr (Ours) {
      D::GemmAscending(TA, TB, M, N, K, A.data(), Lda, B.data(), Ldb, C.data(), M, Mode);
    } else {
      cblas_dgemm(CblasColMajor, Blas(TA), Blas(TB), static_cast<int>(M), static_cast<int>(N),
                  static_cast<int>(K), Sub ? -1.0 : 1.0, A.data(), static_cast<int>(Lda),
                  B.data(), static_cast<int>(Ldb), Sub ? 1.0 : 0.0, C.data(), static_cast<int>(M));
    }
    benchmark::DoNotOptimize(C.data());
    benchmark::ClobberMemory();
  }
  SetFlops(State, M, N, K);
}

constexpr auto kNo = D::TTrans::No;
constexpr auto kYes = D::TTrans::Yes;
constexpr auto kOverwrite = D::TGemmMode::Overwrite;
constexpr auto kSubtract = D::TGemmMode::Subtract;

void BM_Product_Nmx(benchmark::State& S) {
  RunProduct<true>(S, kNo, kNo, kSize, kSize, kSize, kOverwrite);
}
void BM_Product_OpenBlas(benchmark::State& S) {
  RunProduct<false>(S, kNo, kNo, kSize, kSize, kSize, kOverwrite);
}

void BM_Product_Eigen(benchmark::State& State) {
  const Eigen::Map<const Eigen::MatrixXd> A(SquareA().data(), kSize, kSize);
  const Eigen::Map<const Eigen::MatrixXd> B(SquareB().data(), kSize, kSize);
  Eigen::MatrixXd C(kSize, kSize);
  for (auto _ : State) {
    C.noalias() = A * B;
    benchmark::DoNotOptimize(C.data());
    benchmark::ClobberMemory();
  }
  SetFlops(State, kSize, kSize, kSize);
}

void BM_Product_NmxIsa(benchmark::State& State) {
  const nmx_bench::TIsaLevel Level(State);
  if (!Level.Available()) return;
  RunProduct<true>(State, kNo, kNo, kSize, kSize, kSize, kOverwrite);
}

// A product of 100 × 100 matrices, where packing and the edges of the tiles weigh more.
void BM_Product100_Nmx(benchmark::State& S) {
  RunProduct<true>(S, kNo, kNo, 100, 100, 100, kOverwrite);
}
void BM_Product100_OpenBlas(benchmark::State& S) {
  RunProduct<false>(S, kNo, kNo, 100, 100, 100, kOverwrite);
}

void BM_ProductTN_Nmx(benchmark::State& S) {
  RunProduct<true>(S, kYes, kNo, kSize, kSize, kSize, kOverwrite);
}
void BM_ProductTN_OpenBlas(benchmark::State& S) {
  RunProduct<false>(S, kYes, kNo, kSize, kSize, kSize, kOverwrite);
}

void BM_RankUpdate_Nmx(benchmark::State& S) {
  RunProduct<true>(S, kNo, kNo, kSize, kSize, kRank, kSubtract);
}
void BM_RankUpdate_OpenBlas(benchmark::State& S) {
  RunProduct<false>(S, kNo, kNo, kSize, kSize, kRank, kSubtract);
}

void BM_AtA_Nmx(benchmark::State& State) {
  const std::vector<double>& A = Tall();
  std::vector<double> C(static_cast<std::size_t>(kTallCols * kTallCols));
  for (auto _ : State) {
    D::GemmAscending(kYes, kNo, kTallCols, kTallCols, kTallRows, A.data(), kTallRows, A.data(),
                     kTallRows, C.data(), kTallCols);
    benchmark::DoNotOptimize(C.data());
    benchmark::ClobberMemory();
  }
  SetFlops(State, kTallCols, kTallCols, kTallRows);
}

void BM_AtA_OpenBlasSyrk(benchmark::State& State) {
  const std::vector<double>& A = Tall();
  std::vector<double> C(static_cast<std::size_t>(kTallCols * kTallCols));
  for (auto _ : State) {
    cblas_dsyrk(CblasColMajor, CblasUpper, CblasTrans, static_cast<int>(kTallCols),
                static_cast<int>(kTallRows), 1.0, A.data(), static_cast<int>(kTallRows), 0.0,
                C.data(), static_cast<int>(kTallCols));
    benchmark::DoNotOptimize(C.data());
    benchmark::ClobberMemory();
  }
  SetFlops(State, kTallCols, kTallCols, kTallRows);
}

BENCHMARK(BM_Product_Nmx)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Product_OpenBlas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Product_Eigen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Product_NmxIsa)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Product100_Nmx)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Product100_OpenBlas)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ProductTN_Nmx)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProductTN_OpenBlas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RankUpdate_Nmx)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RankUpdate_OpenBlas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AtA_Nmx)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AtA_OpenBlasSyrk)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // The comparison is per core: the kernel runs on one thread.
  openblas_set_num_threads(1);
  return nmx_bench::RunWithRatios(
      argc, argv,
      {{"product 1000 / OpenBLAS dgemm", "BM_Product_Nmx", "BM_Product_OpenBlas"},
       {"product 1000 / Eigen", "BM_Product_Nmx", "BM_Product_Eigen"},
       {"product 1000, AVX2/baseline", "BM_Product_NmxIsa/1", "BM_Product_NmxIsa/0"},
       {"product 1000, AVX-512/baseline", "BM_Product_NmxIsa/2", "BM_Product_NmxIsa/0"},
       {"product 100 / OpenBLAS dgemm", "BM_Product100_Nmx", "BM_Product100_OpenBlas"},
       {"product 1000 Aᵀ·B / OpenBLAS dgemm", "BM_ProductTN_Nmx", "BM_ProductTN_OpenBlas"},
       {"rank-32 update / OpenBLAS dgemm", "BM_RankUpdate_Nmx", "BM_RankUpdate_OpenBlas"},
       {"AᵀA 2000 × 500 / OpenBLAS dsyrk", "BM_AtA_Nmx", "BM_AtA_OpenBlasSyrk"}});
}
