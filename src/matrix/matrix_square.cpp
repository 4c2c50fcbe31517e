// TMatrix::Square: the cross-product matrix of the columns, on the calling thread or on
// worker threads that take the columns in ascending order.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "math1/gemm.h"
#include "nmx/base/progress.h"
#include "nmx/matrix/matrix.h"

namespace NMX_matrix {
namespace {

using Size = std::size_t;
using NMX_math1::detail::GemmAscending;
using NMX_math1::detail::TTrans;

// Entries [i, j] and [j, i] of the result for the rows i = First..Last (1-based) and j >= i:
// the dot products of the columns of Src (M rows) in ascending row order, each divided by
// Norm. Res is the n × n result buffer; Scratch is reused between calls.
void SquareRows(const double* Src, int M, int N, int First, int Last, double Norm, double* Res,
                std::vector<double>& Scratch) {
  const int Rows = Last - First + 1, Cols = N - First + 1;
  Scratch.resize(static_cast<Size>(Rows) * static_cast<Size>(Cols));
  const double* Block = Src + static_cast<Size>(First - 1) * static_cast<Size>(M);
  // Columns First..Last against First..N; the few entries below the diagonal of the block are
  // computed and dropped.
  GemmAscending(TTrans::Yes, TTrans::No, Rows, Cols, M, Block, M, Block, M, Scratch.data(), Rows);
  const auto NN = static_cast<Size>(N);
  for (int I = First; I <= Last; ++I) {
    for (int J = I; J <= N; ++J) {
      const double X =
          Scratch[static_cast<Size>(J - First) * static_cast<Size>(Rows) + static_cast<Size>(I - First)] /
          Norm;
      Res[static_cast<Size>(I - 1) * NN + static_cast<Size>(J - 1)] = X;
      Res[static_cast<Size>(J - 1) * NN + static_cast<Size>(I - 1)] = X;
    }
  }
}

// What the calling thread and the workers share during one Square.
struct TSquareJob {
  const double* Src = nullptr;
  double* Res = nullptr;
  int M = 0;
  int N = 0;
  double Norm = 1.0;
  std::atomic<int> NextColumn{1};
  std::atomic<bool> Stop{false};
  std::mutex Lock;
  std::condition_variable Finished;
  int Done = 0;
};

// The worker: takes the next column in ascending order until none is left or the caller
// stops handing them out, computes its entries, steps ProcStat and wakes the caller.
class TMatSq1ColThread {
 public:
  explicit TMatSq1ColThread(TSquareJob& Job) : FJob(Job), FThread([this] { Execute(); }) {}
  TMatSq1ColThread(const TMatSq1ColThread&) = delete;
  TMatSq1ColThread& operator=(const TMatSq1ColThread&) = delete;
  ~TMatSq1ColThread() { FThread.join(); }

 private:
  void Execute() {
    std::vector<double> Scratch;
    for (;;) {
      if (FJob.Stop.load()) return;
      const int Column = FJob.NextColumn.fetch_add(1);
      if (Column > FJob.N) return;
      SquareRows(FJob.Src, FJob.M, FJob.N, Column, Column, FJob.Norm, FJob.Res, Scratch);
      NMX_nmxbase::ProcStat.fetch_add(1.0);
      {
        std::lock_guard<std::mutex> Guard(FJob.Lock);
        ++FJob.Done;
      }
      FJob.Finished.notify_one();
    }
  }

  TSquareJob& FJob;
  std::thread FThread;
};

// Rows per block of the single-threaded path when nobody watches the progress.
constexpr int kRowBlock = 48;

}  // namespace

bool TMatrix::Square(TMatrix* MatRes, double Norm) {
  const unsigned Processors = std::thread::hardware_concurrency();
  return Square(MatRes, Norm, Processors > 1 ? static_cast<int>(Processors - 1) : 1);
}

bool TMatrix::Square(TMatrix* MatRes, double Norm, int NThreads) {
  if (MatRes == nullptr) return false;
  const int N = FNCol, M = FNRow;
  // A result that is the matrix itself is computed aside and stored at the end.
  std::vector<double> Aside;
  const std::vector<double>* Source = &FMat;
  if (MatRes == this) {
    Aside = FMat;
    Source = &Aside;
  }
  MatRes->Resize(N, N);
  const double* Src = Source->data();
  double* Res = MatRes->FMat.data();
  auto& Abort = NMX_nmxbase::AbortMathProc;
  auto& Feedback = NMX_nmxbase::MathFeedBackProc;

  if (NThreads <= 1) {
    std::vector<double> Scratch;
    for (int I = 1; I <= N;) {
      if (Abort.load()) return false;
      if (Feedback) {
        // Someone watches each row: the rows go one at a time, as promised.
        NMX_nmxbase::StepProgress();
        SquareRows(Src, M, N, I, I, Norm, Res, Scratch);
        ++I;
      } else {
        // Nobody can see between the rows of a block: take them together.
        const int Last = std::min(N, I + kRowBlock - 1);
        NMX_nmxbase::ProcStat.fetch_add(static_cast<double>(Last - I + 1));
        SquareRows(Src, M, N, I, Last, Norm, Res, Scratch);
        I = Last + 1;
      }
    }
    return true;
  }

  TSquareJob Job;
  Job.Src = Src;
  Job.Res = Res;
  Job.M = M;
  Job.N = N;
  Job.Norm = Norm;
  bool Result = true;
  {
    std::vector<std::unique_ptr<TMatSq1ColThread>> Workers;
    const int T = std::min(NThreads, N);
    for (int K = 0; K < T; ++K) Workers.push_back(std::make_unique<TMatSq1ColThread>(Job));
    std::unique_lock<std::mutex> Guard(Job.Lock);
    int Seen = 0;
    for (;;) {
      Guard.unlock();
      if (Feedback) Feedback(NMX_nmxbase::ProcStat.load());
      if (Abort.load()) {
        Job.Stop.store(true);
        Result = false;
        Guard.lock();
        break;
      }
      Guard.lock();
      if (Job.Done == N) break;
      // Sleep until a worker finishes a column; wake now and then to see the abort flag.
      Job.Finished.wait_for(Guard, std::chrono::milliseconds(20),
                            [&] { return Job.Done != Seen; });
      Seen = Job.Done;
    }
    Guard.unlock();
    // Leaving the scope joins the workers: after an abort they finish the column they hold.
  }
  if (Result && Feedback) Feedback(NMX_nmxbase::ProcStat.load());
  return Result;
}

}  // namespace NMX_matrix
