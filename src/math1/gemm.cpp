#include "math1/gemm.h"

namespace NMX_math1::detail {

void GemmAscending(TTrans TA, TTrans TB, std::ptrdiff_t M, std::ptrdiff_t N, std::ptrdiff_t K,
                   const double* A, std::ptrdiff_t Lda, const double* B, std::ptrdiff_t Ldb,
                   double* C, std::ptrdiff_t Ldc, TGemmMode Mode) {
  const auto At = [&](std::ptrdiff_t I, std::ptrdiff_t L) {
    return TA == TTrans::No ? A[I + L * Lda] : A[L + I * Lda];
  };
  const auto Bt = [&](std::ptrdiff_t L, std::ptrdiff_t J) {
    return TB == TTrans::No ? B[L + J * Ldb] : B[J + L * Ldb];
  };
  for (std::ptrdiff_t J = 0; J < N; ++J) {
    for (std::ptrdiff_t I = 0; I < M; ++I) {
      double& Out = C[I + J * Ldc];
      if (Mode == TGemmMode::Overwrite) {
        double S = 0.0;
        for (std::ptrdiff_t L = 0; L < K; ++L) S += At(I, L) * Bt(L, J);
        Out = S;
      } else {
        double S = Out;
        for (std::ptrdiff_t L = 0; L < K; ++L) S -= At(I, L) * Bt(L, J);
        Out = S;
      }
    }
  }
}

}  // namespace NMX_math1::detail
