// Matrix statistics against plain peers, on the same random data:
// - CalcDistMat(dmEuclidean) of 2000 rows × 20 columns into a 2000 × 2000 matrix, against the
//   same distances with Eigen ((row i - row j).norm() for every pair, both halves written);
// - SortRows of 10^5 rows × 4 columns by column 1, against std::sort of a row index by the
//   key and a permutation of the four columns through it.
#include <benchmark/benchmark.h>

#include <Eigen/Core>

#include <algorithm>
#include <numeric>
#include <vector>

#include "nmx/matrix/matrix.h"
#include "nmx/platform/random.h"
#include "support/ratio_main.h"

namespace {

using NMX_matrix::TMatrix;

constexpr int kObjects = 2000, kFeatures = 20;
constexpr int kSortRows = 100000, kSortCols = 4;

void Fill(TMatrix& M, int Cols, int Rows) {
  NMX_platform::SetRandSeed(7);
  M.Resize(Cols, Rows);
  M.FillRandomUniform(-1.0, 1.0);
}

void BM_CalcDistMat(benchmark::State& State) {
  TMatrix A, D;
  Fill(A, kFeatures, kObjects);
  D.Resize(kObjects, kObjects);
  for (auto _ : State) {
    A.CalcDistMat(NMX_nmxbase::dmEuclidean, &D);
    benchmark::DoNotOptimize(D.Data().data());
  }
}
BENCHMARK(BM_CalcDistMat)->Unit(benchmark::kMillisecond);

void BM_CalcDistMat_Eigen(benchmark::State& State) {
  TMatrix M;
  Fill(M, kFeatures, kObjects);
  const Eigen::MatrixXd A = Eigen::Map<const Eigen::MatrixXd>(M.Data().data(), kObjects, kFeatures);
  Eigen::MatrixXd D(kObjects, kObjects);
  for (auto _ : State) {
    for (Eigen::Index I = 0; I < kObjects; ++I) {
      D(I, I) = 0.0;
      for (Eigen::Index J = I + 1; J < kObjects; ++J) {
        const double X = (A.row(I) - A.row(J)).norm();
        D(I, J) = X;
        D(J, I) = X;
      }
    }
    benchmark::DoNotOptimize(D.data());
  }
}
BENCHMARK(BM_CalcDistMat_Eigen)->Unit(benchmark::kMillisecond);

void BM_SortRows(benchmark::State& State) {
  TMatrix Orig, M;
  Fill(Orig, kSortCols, kSortRows);
  for (auto _ : State) {
    State.PauseTiming();
    M.Assign(&Orig);
    State.ResumeTiming();
    M.SortRows(1, true, 0, 0, 0, 0);
    benchmark::DoNotOptimize(M.Data().data());
  }
}
BENCHMARK(BM_SortRows)->Unit(benchmark::kMillisecond);

void BM_SortRows_StdSort(benchmark::State& State) {
  TMatrix Orig;
  Fill(Orig, kSortCols, kSortRows);
  const std::vector<double> Cells(Orig.Data().begin(), Orig.Data().end());
  std::vector<double> Out(Cells.size());
  std::vector<int> Ix(kSortRows);
  for (auto _ : State) {
    std::iota(Ix.begin(), Ix.end(), 0);
    std::sort(Ix.begin(), Ix.end(), [&](int A, int B) { return Cells[static_cast<std::size_t>(A)] < Cells[static_cast<std::size_t>(B)]; });
    for (int C = 0; C < kSortCols; ++C) {
      const double* From = Cells.data() + static_cast<std::size_t>(C) * kSortRows;
      double* To = Out.data() + static_cast<std::size_t>(C) * kSortRows;
      for (int R = 0; R < kSortRows; ++R) To[R] = From[Ix[static_cast<std::size_t>(R)]];
    }
    benchmark::DoNotOptimize(Out.data());
  }
}
BENCHMARK(BM_SortRows_StdSort)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return nmx_bench::RunWithRatios(
      argc, argv,
      {{"CalcDistMat 2000 x 20 / Eigen", "BM_CalcDistMat", "BM_CalcDistMat_Eigen"},
       {"SortRows 1e5 x 4 / std::sort + permute", "BM_SortRows", "BM_SortRows_StdSort"}});
}
