// The singular value decomposition behind TMatrix::Norm(ntSpectral).
#pragma once

#include <cstddef>
#include <vector>

#include "nmx/config.h"

namespace NMX_matrix::detail {

/// Golub–Reinsch: A = U · diag(W) · Vᵀ for A of M rows and N columns, column-major. A is
/// overwritten by U (M × N), V receives N × N, W the N singular values, neither sorted nor
/// normalised. Rows of A beyond M (when M < N) read as 0 and take no writes. Every step of
/// each of the four phases adds 1 to ProcStat, calls MathFeedBackProc and tests AbortMathProc
/// (seen: false at once). False too when a singular value needed a 30th sweep; the
/// decomposition still goes on with the next one.
NMX_API bool SingularValueDecomposition(int M, int N, std::vector<double>& A, std::vector<double>& V,
                                std::vector<double>& W);

}  // namespace NMX_matrix::detail
