// The matrix product kernel behind every product of the library: C = op(A)·op(B) on
// column-major buffers, each entry summed in ascending order of k, one product and one
// addition at a time (no fused multiply-add), so every variant and every blocking gives the
// bits of the plain triple loop.
#pragma once

#include <cstddef>

#include "nmx/config.h"

namespace NMX_math1::detail {

/// Whether an operand is used as stored or transposed.
enum class TTrans : unsigned char { No, Yes };

/// How an entry of C is formed from its K products p_0 .. p_{K-1}.
enum class TGemmMode : unsigned char {
  /// C := ((0 + p_0) + p_1) + ... + p_{K-1}: the sum started from 0 (K = 0 gives +0).
  Overwrite,
  /// C := ((C - p_0) - p_1) - ... - p_{K-1}: products subtracted one by one from the value
  /// C holds, as an elimination does.
  Subtract,
};

/// C (M × N, leading dimension Ldc) := op(A) · op(B) in the given mode, where op(A) is M × K
/// and op(B) is K × N. A stored as is has M rows of K columns (Lda >= M); transposed, it is
/// stored with K rows of M columns (Lda >= K); likewise B. Entry (i, j) of op(A) is
/// A[i + j·Lda] as stored, A[j + i·Lda] transposed. The operands must not overlap C.
/// Empty dimensions (M, N or K of 0) are allowed. Throws std::bad_alloc when its scratch
/// cannot be allocated, which happens before C is touched.
NMX_API void GemmAscending(TTrans TA, TTrans TB, std::ptrdiff_t M, std::ptrdiff_t N,
                           std::ptrdiff_t K, const double* A, std::ptrdiff_t Lda,
                           const double* B, std::ptrdiff_t Ldb, double* C, std::ptrdiff_t Ldc,
                           TGemmMode Mode = TGemmMode::Overwrite);

}  // namespace NMX_math1::detail
