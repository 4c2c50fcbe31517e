#include "nmx/openarrays/linalg.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <numeric>
#include <utility>
#include <vector>

#include "math1/gemm.h"
#include "math1/isa.h"
#include "nmx/base/progress.h"
#include "nmx/openarrays/clone.h"
#include "nmx/openarrays/shape.h"
#include "openarrays/nd.h"

namespace NMX_openarrays {

using NMX_nmxbase::TApplyColRow;
using NMX_nmxbase::TDouble2DArray;
using NMX_nmxbase::TDoubleArray;
using NMX_nmxbase::TInt2DArray;
using NMX_nmxbase::TIntArray;

namespace {

using Index = std::ptrdiff_t;
using NMX_math1::detail::GemmAscending;
using NMX_math1::detail::TGemmMode;
using NMX_math1::detail::TTrans;

// ---------------------------------------------------------------------------------------------
// Kernels. Each result is formed by its own chain of subtractions in ascending k, exactly as
// the column-by-column algorithm writes it; the loops only run many independent chains side by
// side (rows of one column, right-hand sides of one row), so every instruction-set variant and
// every blocking gives the same bits.

/// X[i] -= Col_k[i]·X[k] for k = K0..K1-1 in turn and i = k+1..IEnd-1, Col_k being column k of
/// the column-major A (leading dimension Ld): the unit-lower elimination of the column X.
inline void EliminateBody(const double* A, Index Ld, double* X, Index K0, Index K1, Index IEnd) {
  for (Index K = K0; K < K1; ++K) {
    const double Factor = X[K];
    const double* __restrict Col = A + K * Ld;
    double* __restrict Out = X;
    for (Index I = K + 1; I < IEnd; ++I) Out[I] -= Col[I] * Factor;
  }
}

// The right-hand sides of the substitutions travel in groups of kRhs, stored row by row: row i
// of a group is kRhs doubles at Z + i·kRhs. A kernel runs Nv vectors of W lanes side by side
// (a pass), and as many passes as cover the group; the lanes never mix, so the pass width is
// free to suit each instruction set: enough independent chains to hide the latency of the
// subtraction, few enough to keep them all in registers. 48 lanes give AVX-512 six chains and
// AVX2 twelve; the baseline takes them sixteen at a time.
constexpr Index kRhs = 48;

template <Index W>
struct TVecOf {
  typedef double Type __attribute__((vector_size(W * sizeof(double))));
};

/// Rows I0..I1-1 of Z: Z(i) -= Σ_{k=K0}^{i-1} L(i, k)·Z(k), subtracted in ascending k, with the
/// unit-lower L held row-major in T (row i at T + i·N). The terms of k below K0 must have been
/// subtracted before.
template <Index W, Index Nv>
inline void ForwardBody(const double* T, Index N, Index K0, Index I0, Index I1, double* Z) {
  using V = typename TVecOf<W>::Type;
  static_assert(kRhs % (W * Nv) == 0);
  for (Index C0 = 0; C0 < kRhs; C0 += W * Nv) {
    for (Index I = I0; I < I1; ++I) {
      const double* Row = T + I * N;
      double* Zi = Z + I * kRhs + C0;
      V Acc[Nv];
      for (Index J = 0; J < Nv; ++J) std::memcpy(&Acc[J], Zi + J * W, sizeof(V));
      for (Index K = K0; K < I; ++K) {
        const double L = Row[K];
        const double* Zk = Z + K * kRhs + C0;
        for (Index J = 0; J < Nv; ++J) {
          V X;
          std::memcpy(&X, Zk + J * W, sizeof(V));
          Acc[J] -= L * X;
        }
      }
      for (Index J = 0; J < Nv; ++J) std::memcpy(Zi + J * W, &Acc[J], sizeof(V));
    }
  }
}

/// Back substitution with the upper U held row-major in T: for i = N-1 down to 0,
/// Z(i) = (Z(i) - Σ_{k=i+1}^{N-1} U(i, k)·Z(k)) / U(i, i), subtracted in ascending k. The
/// terms just above the diagonal come first, so row i waits for row i+1 and only the lanes run
/// side by side.
template <Index W, Index Nv>
inline void BackBody(const double* T, Index N, double* Z) {
  using V = typename TVecOf<W>::Type;
  static_assert(kRhs % (W * Nv) == 0);
  for (Index C0 = 0; C0 < kRhs; C0 += W * Nv) {
    for (Index I = N - 1; I >= 0; --I) {
      const double* Row = T + I * N;
      double* Zi = Z + I * kRhs + C0;
      V Acc[Nv];
      for (Index J = 0; J < Nv; ++J) std::memcpy(&Acc[J], Zi + J * W, sizeof(V));
      for (Index K = I + 1; K < N; ++K) {
        const double U = Row[K];
        const double* Zk = Z + K * kRhs + C0;
        for (Index J = 0; J < Nv; ++J) {
          V X;
          std::memcpy(&X, Zk + J * W, sizeof(V));
          Acc[J] -= U * X;
        }
      }
      const double D = Row[I];
      for (Index J = 0; J < Nv; ++J) {
        const V Q = Acc[J] / D;
        std::memcpy(Zi + J * W, &Q, sizeof(V));
      }
    }
  }
}

struct TKernels {
  void (*Eliminate)(const double*, Index, double*, Index, Index, Index);
  void (*Forward)(const double*, Index, Index, Index, Index, double*);
  void (*Back)(const double*, Index, double*);
};

void EliminateBase(const double* A, Index Ld, double* X, Index K0, Index K1, Index IEnd) {
  EliminateBody(A, Ld, X, K0, K1, IEnd);
}
void ForwardBase(const double* T, Index N, Index K0, Index I0, Index I1, double* Z) {
  ForwardBody<2, 8>(T, N, K0, I0, I1, Z);
}
void BackBase(const double* T, Index N, double* Z) {
  BackBody<2, 8>(T, N, Z);
}

#if NMX_ISA_VARIANTS
NMX_TARGET_AVX2 void EliminateAvx2(const double* A, Index Ld, double* X, Index K0, Index K1,
                                   Index IEnd) {
  EliminateBody(A, Ld, X, K0, K1, IEnd);
}
NMX_TARGET_AVX2 void ForwardAvx2(const double* T, Index N, Index K0, Index I0, Index I1,
                                 double* Z) {
  ForwardBody<4, 12>(T, N, K0, I0, I1, Z);
}
NMX_TARGET_AVX2 void BackAvx2(const double* T, Index N, double* Z) {
  BackBody<4, 12>(T, N, Z);
}
NMX_TARGET_AVX512 void EliminateAvx512(const double* A, Index Ld, double* X, Index K0, Index K1,
                                       Index IEnd) {
  EliminateBody(A, Ld, X, K0, K1, IEnd);
}
NMX_TARGET_AVX512 void ForwardAvx512(const double* T, Index N, Index K0, Index I0, Index I1,
                                     double* Z) {
  ForwardBody<8, 6>(T, N, K0, I0, I1, Z);
}
NMX_TARGET_AVX512 void BackAvx512(const double* T, Index N, double* Z) {
  BackBody<8, 6>(T, N, Z);
}
#endif

TKernels ActiveKernels() noexcept {
#if NMX_ISA_VARIANTS
  switch (NMX_math1::detail::ActiveIsa()) {
    case NMX_math1::detail::TIsa::Avx512:
      return {EliminateAvx512, ForwardAvx512, BackAvx512};
    case NMX_math1::detail::TIsa::Avx2:
      return {EliminateAvx2, ForwardAvx2, BackAvx2};
    case NMX_math1::detail::TIsa::Baseline:
      break;
  }
#endif
  return {EliminateBase, ForwardBase, BackBase};
}

// ---------------------------------------------------------------------------------------------
// The LU decomposition shared by InvertArray and the factorisations.

/// Columns per panel of the blocked decomposition.
constexpr Index kPanel = 32;

/// Exchanges rows j and Piv[j] for j = J0..J1-1 in turn, in columns C0..C1-1.
void ApplySwaps(double* A, Index N, const Index* Piv, Index J0, Index J1, Index C0, Index C1) {
  for (Index C = C0; C < C1; ++C) {
    double* Col = A + C * N;
    for (Index J = J0; J < J1; ++J) {
      if (Piv[J] != J) std::swap(Col[J], Col[Piv[J]]);
    }
  }
}

enum class TOutcome { Done, Singular, Aborted };

struct TDecomposition {
  TOutcome Outcome = TOutcome::Done;
  Index AbortColumn = 0;  // with Aborted: the column whose step found the flag set
};

/// Working arrays of the blocked decomposition, allocated before it starts.
struct TLuWork {
  std::vector<double> L21;  // the panel's rows below it, packed for the product kernel
  std::vector<double> U12;  // the rows of the panel's U right of it, packed likewise
  explicit TLuWork(Index N)
      : L21(static_cast<std::size_t>(N * kPanel)), U12(static_cast<std::size_t>(N * kPanel)) {}
};

/// Crout's decomposition of the column-major N × N matrix A in place, column by column with
/// partial pivoting: for column j, M(i, j) -= Σ_{k<min(i,j)} M(i, k)·M(k, j) in ascending k;
/// the pivot is the row i >= j of largest Weight[i]·|M(i, j)|, the later row on ties; the rows
/// are exchanged (Weight[p] := Weight[j]), Piv[j] := p; a pivot of magnitude below Tiny is
/// replaced by Tiny and marks the matrix singular; the rows below are divided by the pivot.
///
/// The columns go in panels of kPanel: inside a panel, column by column as above; right of it,
/// the panel's rows of U by the unit-lower solve and the trailing matrix by one product of the
/// panel's L and U rows. Every element still receives its products one by one in ascending k
/// (earlier panels first), so the bits are those of the plain column-by-column loop. Row
/// exchanges reach the columns outside the panel when the panel is done; no step reads those
/// columns before.
///
/// With Report, each column adds one step of progress and tests AbortMathProc; on abort at
/// column j the columns left of j are complete (exchanges applied) and the rest unfinished.
TDecomposition Decompose(double* A, Index N, double* Weight, Index* Piv, double Tiny, bool Report,
                         const TKernels& K, TLuWork& Work) {
  bool Singular = false;
  for (Index J0 = 0; J0 < N; J0 += kPanel) {
    const Index J1 = std::min(N, J0 + kPanel);
    for (Index J = J0; J < J1; ++J) {
      if (Report) {
        NMX_nmxbase::StepProgress();
        if (NMX_nmxbase::AbortMathProc.load(std::memory_order_relaxed)) {
          ApplySwaps(A, N, Piv, J0, J, 0, J0);
          return {TOutcome::Aborted, J};
        }
      }
      double* Col = A + J * N;
      K.Eliminate(A, N, Col, J0, J, N);
      Index P = J;
      double Big = 0.0;
      for (Index I = J; I < N; ++I) {
        const double W = Weight[I] * std::fabs(Col[I]);
        if (W >= Big) {
          Big = W;
          P = I;
        }
      }
      if (P != J) {
        for (Index C = J0; C < J1; ++C) std::swap(A[J + C * N], A[P + C * N]);
        Weight[P] = Weight[J];
      }
      Piv[J] = P;
      if (std::fabs(Col[J]) < Tiny) {
        Singular = true;
        Col[J] = Tiny;
      }
      const double D = Col[J];
      for (Index I = J + 1; I < N; ++I) Col[I] /= D;
    }
    ApplySwaps(A, N, Piv, J0, J1, 0, J0);
    if (J1 == N) break;
    ApplySwaps(A, N, Piv, J0, J1, J1, N);
    for (Index C = J1; C < N; ++C) K.Eliminate(A, N, A + C * N, J0, J1, J1);
    // Trailing update M(J1.., J1..) -= L21·U12 through packed copies, so that no operand of
    // the product shares storage with its result.
    const Index M = N - J1, W = J1 - J0;
    for (Index C = 0; C < W; ++C) {
      std::copy_n(A + J1 + (J0 + C) * N, M, Work.L21.data() + C * M);
    }
    for (Index C = 0; C < M; ++C) {
      std::copy_n(A + J0 + (J1 + C) * N, W, Work.U12.data() + C * W);
    }
    GemmAscending(TTrans::No, TTrans::No, M, M, W, Work.L21.data(), M, Work.U12.data(), W,
                  A + J1 + J1 * N, N, TGemmMode::Subtract);
  }
  return {Singular ? TOutcome::Singular : TOutcome::Done, 0};
}

/// The row order the recorded exchanges give: row i of the permuted matrix is row Perm[i] of
/// the original, after the exchanges of columns 0..Count-1.
std::vector<Index> PermutationOf(const Index* Piv, Index N, Index Count) {
  std::vector<Index> Perm(static_cast<std::size_t>(N));
  std::iota(Perm.begin(), Perm.end(), Index{0});
  for (Index J = 0; J < Count; ++J) std::swap(Perm[J], Perm[Piv[J]]);
  return Perm;
}

bool IsSquare(const TDouble2DArray& A) {
  return detail::IsUsable(A) && A.size() == A[0].size();
}

/// The column-major copy of the square A (its first N rows).
void CopyIn(const TDouble2DArray& A, Index N, double* M) {
  for (Index J = 0; J < N; ++J) std::copy_n(A[J].begin(), N, M + J * N);
}

/// A := the column-major M, each column cut to N rows. A's columns hold at least N rows, so
/// nothing is allocated.
void CopyOut(const double* M, Index N, TDouble2DArray& A) {
  for (Index J = 0; J < N; ++J) {
    std::copy_n(M + J * N, N, A[J].begin());
    A[J].resize(static_cast<std::size_t>(N));
  }
}

// ---------------------------------------------------------------------------------------------
// Inversion.

/// A := the row-major T (T(i, j) at T + i·N), each column cut to N rows.
void CopyOutRowMajor(const double* T, Index N, TDouble2DArray& A) {
  for (Index J = 0; J < N; ++J) {
    double* Out = A[J].data();
    for (Index I = 0; I < N; ++I) Out[I] = T[J + I * N];
    A[J].resize(static_cast<std::size_t>(N));
  }
}

/// The column-major N × N matrix in M becomes its row-major form, in place. Tiles of 32 × 32
/// keep both sides of each exchange in the cache.
void TransposeInPlace(double* M, Index N) {
  constexpr Index kTile = 32;
  for (Index I0 = 0; I0 < N; I0 += kTile) {
    const Index I1 = std::min(N, I0 + kTile);
    for (Index J0 = I0; J0 < N; J0 += kTile) {
      const Index J1 = std::min(N, J0 + kTile);
      for (Index J = J0; J < J1; ++J) {
        for (Index I = I0; I < std::min(I1, J); ++I) std::swap(M[I + J * N], M[J + I * N]);
      }
    }
  }
}

/// The inverse from the decomposed M, one column of the identity after the other exactly as
/// the substitutions are written: the exchanges applied as the forward substitution goes, the
/// forward sums from the first nonzero position on. Used when L holds an infinity or a NaN,
/// where a product with the zeros above that position would not vanish. Column j goes
/// straight to A[j]: M keeps the factors for the abort path.
bool InvertColumnwise(const double* M, Index N, const Index* Piv, TDouble2DArray& A) {
  std::vector<double> B(static_cast<std::size_t>(N));
  for (Index Jc = 0; Jc < N; ++Jc) {
    NMX_nmxbase::StepProgress();
    if (NMX_nmxbase::AbortMathProc.load(std::memory_order_relaxed)) return false;
    std::fill(B.begin(), B.end(), 0.0);
    B[Jc] = 1.0;
    Index First = -1;
    for (Index I = 0; I < N; ++I) {
      double S = B[Piv[I]];
      B[Piv[I]] = B[I];
      if (First >= 0) {
        for (Index K = First; K < I; ++K) S -= M[I + K * N] * B[K];
      } else if (S != 0.0) {
        First = I;
      }
      B[I] = S;
    }
    for (Index I = N - 1; I >= 0; --I) {
      double S = B[I];
      for (Index K = I + 1; K < N; ++K) S -= M[I + K * N] * B[K];
      B[I] = S / M[I + I * N];
    }
    std::copy(B.begin(), B.end(), A[Jc].begin());
  }
  return true;
}

/// Rows per block of the forward substitution: the terms left of a block go through the
/// product kernel, the triangle inside it through the forward kernel.
constexpr Index kForwardRows = 48;

/// The inverse from the decomposed factors, held row-major in T, kRhs columns at a time. P·e_j
/// is the unit vector e_q with q the position of j in the row order, so column j of the inverse
/// is U⁻¹ L⁻¹ e_q: the columns are solved in the order of q and written to A[j]. The forward
/// sums of column q start at its first nonzero position q; the group's sums start at its first
/// column M0 instead, and the extra products are finite numbers times +0: they leave the +0
/// above q at +0, and at rows from q on they come before every product of the column's own
/// sum, when the sum still holds its starting value, 1 or +0, which subtracting ±0 leaves as
/// it is. So this gives the bits of the column-by-column solution when L is finite (the caller
/// checks). In each row of the forward substitution the terms of the earlier blocks of rows
/// come first in ascending k, so one product per block subtracts them all before the block's
/// own triangle. Progress and abort as column by column: one step and one test per column, a
/// group's steps before the group.
bool InvertBlocked(const double* T, Index N, const Index* Piv, TDouble2DArray& A,
                   const TKernels& K) {
  const std::vector<Index> Perm = PermutationOf(Piv, N, N);
  std::vector<double> Z(static_cast<std::size_t>(N * kRhs));
  for (Index M0 = 0; M0 < N; M0 += kRhs) {
    const Index W = std::min(kRhs, N - M0);
    for (Index C = 0; C < W; ++C) {
      NMX_nmxbase::StepProgress();
      if (NMX_nmxbase::AbortMathProc.load(std::memory_order_relaxed)) return false;
    }
    // The unit vectors e_{M0} .. e_{M0+W-1}; the lanes past W stay 0 and are never written out.
    std::fill(Z.begin(), Z.end(), 0.0);
    for (Index C = 0; C < W; ++C) Z[static_cast<std::size_t>((M0 + C) * kRhs + C)] = 1.0;
    for (Index I0 = M0; I0 < N; I0 += kForwardRows) {
      const Index I1 = std::min(N, I0 + kForwardRows);
      // Z(i, :) -= Σ_{k=M0}^{I0-1} L(i, k)·Z(k, :) for the block's rows: as a product, the
      // group's rows M0..I0-1 (kRhs × (I0-M0), column-major) times the block's rows of L
      // transposed ((I0-M0) × (I1-I0), column k of it row i of T).
      // The product allocates its scratch before it writes anything; when that fails, the
      // forward kernel takes the same terms in the same order, since A, partly overwritten
      // by now, can no longer be left unchanged.
      Index K0 = I0;
      try {
        GemmAscending(TTrans::No, TTrans::No, kRhs, I1 - I0, I0 - M0, Z.data() + M0 * kRhs, kRhs,
                      T + M0 + I0 * N, N, Z.data() + I0 * kRhs, kRhs, TGemmMode::Subtract);
      } catch (const std::bad_alloc&) {
        K0 = M0;
      }
      K.Forward(T, N, K0, I0, I1, Z.data());
    }
    K.Back(T, N, Z.data());
    for (Index C = 0; C < W; ++C) {
      double* Out = A[static_cast<std::size_t>(Perm[M0 + C])].data();
      for (Index I = 0; I < N; ++I) Out[I] = Z[static_cast<std::size_t>(I * kRhs + C)];
    }
  }
  return true;
}

bool AllFiniteBelowDiagonal(const double* M, Index N) {
  for (Index J = 0; J < N; ++J) {
    for (Index I = J + 1; I < N; ++I) {
      if (!std::isfinite(M[I + J * N])) return false;
    }
  }
  return true;
}

int InvertBody(TDouble2DArray& A) {
  if (!IsSquare(A)) return -1;
  const Index N = static_cast<Index>(A.size());
  // The one N × N working array: the factors column-major, then row-major for the
  // substitutions; the solution goes straight into A. Not zeroed: every cell is copied in.
  const std::unique_ptr<double[]> Buffer(new double[static_cast<std::size_t>(N * N)]);
  double* const M = Buffer.get();
  std::vector<double> Weight(static_cast<std::size_t>(N));
  std::vector<Index> Piv(static_cast<std::size_t>(N));
  TLuWork Work(N);
  if (NMX_nmxbase::AbortMathProc.load(std::memory_order_relaxed)) return -3;
  CopyIn(A, N, M);
  // Row scaling: the reciprocal of each row's largest magnitude (a NaN is passed over).
  std::fill(Weight.begin(), Weight.end(), 0.0);
  for (Index J = 0; J < N; ++J) {
    const double* Col = M + J * N;
    for (Index I = 0; I < N; ++I) {
      const double T = std::fabs(Col[I]);
      Weight[I] = T > Weight[I] ? T : Weight[I];
    }
  }
  for (Index I = 0; I < N; ++I) {
    if (Weight[I] == 0.0) return -3;
    Weight[I] = 1.0 / Weight[I];
  }
  const TKernels K = ActiveKernels();
  const TDecomposition D = Decompose(M, N, Weight.data(), Piv.data(), 1e-100, true, K, Work);
  if (D.Outcome == TOutcome::Aborted) {
    // The state the column-by-column loop leaves: columns left of j decomposed, the others
    // as given with the rows exchanged so far.
    const Index J = D.AbortColumn;
    const std::vector<Index> Perm = PermutationOf(Piv.data(), N, J);
    for (Index C = J; C < N; ++C) {
      for (Index I = 0; I < N; ++I) M[I + C * N] = A[C][Perm[I]];
    }
    CopyOut(M, N, A);
    return -3;
  }
  if (D.Outcome == TOutcome::Singular) {
    CopyOut(M, N, A);
    return -3;
  }
  if (!AllFiniteBelowDiagonal(M, N)) {
    const bool Completed = InvertColumnwise(M, N, Piv.data(), A);
    if (!Completed) CopyOut(M, N, A);
    for (TDoubleArray& Col : A) Col.resize(static_cast<std::size_t>(N));
    return Completed ? 0 : -3;
  }
  TransposeInPlace(M, N);
  if (!InvertBlocked(M, N, Piv.data(), A, K)) {
    CopyOutRowMajor(M, N, A);
    return -3;
  }
  for (TDoubleArray& Col : A) Col.resize(static_cast<std::size_t>(N));
  return 0;
}

// ---------------------------------------------------------------------------------------------
// LU factors with plain partial pivoting.

struct TPlainLu {
  std::vector<double> M;  // L below the diagonal, U on and above, column-major
  std::vector<Index> Perm;
  int Sign = 1;
};

/// 0, -1 for an empty or non-square A, -3 for a pivot column of exact zeros.
int FactorPlain(const TDouble2DArray& A, TPlainLu& F) {
  if (!IsSquare(A)) return -1;
  const Index N = static_cast<Index>(A.size());
  F.M.assign(static_cast<std::size_t>(N * N), 0.0);
  std::vector<double> Weight(static_cast<std::size_t>(N), 1.0);
  std::vector<Index> Piv(static_cast<std::size_t>(N));
  TLuWork Work(N);
  CopyIn(A, N, F.M.data());
  // Below the smallest subnormal means exactly 0: with Weight 1 the whole column below is then
  // 0, and dividing it by the substitute keeps it 0.
  const TDecomposition D =
      Decompose(F.M.data(), N, Weight.data(), Piv.data(), std::numeric_limits<double>::denorm_min(),
                false, ActiveKernels(), Work);
  if (D.Outcome != TOutcome::Done) return -3;
  F.Perm = PermutationOf(Piv.data(), N, N);
  F.Sign = 1;
  for (Index J = 0; J < N; ++J) {
    if (Piv[J] != J) F.Sign = -F.Sign;
  }
  return 0;
}

TDouble2DArray SquareArray(Index N) {
  return TDouble2DArray(static_cast<std::size_t>(N), TDoubleArray(static_cast<std::size_t>(N)));
}

/// The upper factor as an array, and the unit-lower factor with row i written to row Dest[i].
void SplitFactors(const TPlainLu& F, Index N, const Index* Dest, TDouble2DArray& L,
                  TDouble2DArray& U) {
  L = SquareArray(N);
  U = SquareArray(N);
  for (Index J = 0; J < N; ++J) {
    for (Index I = 0; I <= J; ++I) U[J][I] = F.M[I + J * N];
    L[J][Dest[J]] = 1.0;
    for (Index I = J + 1; I < N; ++I) L[J][Dest[I]] = F.M[I + J * N];
  }
}

// ---------------------------------------------------------------------------------------------
// Products.

/// The product through the kernel, on column-major copies with the elements as doubles.
template <class TA, class TB>
void ProductAsDouble(const TA& A, const TB& B, TDouble2DArray& C) {
  if (!detail::IsUsable(A) || !detail::IsUsable(B) || A.size() != B[0].size()) {
    C.clear();
    return;
  }
  const Index Rows = static_cast<Index>(A[0].size());
  const Index Inner = static_cast<Index>(A.size());
  const Index Cols = static_cast<Index>(B.size());
  std::vector<double> Ap(static_cast<std::size_t>(Rows * Inner));
  std::vector<double> Bp(static_cast<std::size_t>(Inner * Cols));
  std::vector<double> Cp(static_cast<std::size_t>(Rows * Cols));
  for (Index K = 0; K < Inner; ++K) {
    for (Index I = 0; I < Rows; ++I) Ap[I + K * Rows] = static_cast<double>(A[K][I]);
  }
  for (Index J = 0; J < Cols; ++J) {
    for (Index K = 0; K < Inner; ++K) Bp[K + J * Inner] = static_cast<double>(B[J][K]);
  }
  GemmAscending(TTrans::No, TTrans::No, Rows, Cols, Inner, Ap.data(), Rows, Bp.data(), Inner,
                Cp.data(), Rows, TGemmMode::Overwrite);
  TDouble2DArray Out(static_cast<std::size_t>(Cols));
  for (Index J = 0; J < Cols; ++J)
    Out[J].assign(Cp.begin() + J * Rows, Cp.begin() + (J + 1) * Rows);
  C = std::move(Out);
}

}  // namespace

int InvertArray(TDouble2DArray& A) {
  try {
    return InvertBody(A);
  } catch (const std::bad_alloc&) {
    return -2;
  }
}

void MultiplyArrays(const TDouble2DArray& A, const TDouble2DArray& B, TDouble2DArray& C) {
  ProductAsDouble(A, B, C);
}

void MultiplyArrays(const TInt2DArray& A, const TDouble2DArray& B, TDouble2DArray& C) {
  ProductAsDouble(A, B, C);
}

void MultiplyArrays(const TDouble2DArray& A, const TInt2DArray& B, TDouble2DArray& C) {
  ProductAsDouble(A, B, C);
}

void MultiplyArrays(const TInt2DArray& A, const TInt2DArray& B, TInt2DArray& C) {
  if (!detail::IsUsable(A) || !detail::IsUsable(B) || A.size() != B[0].size()) {
    C.clear();
    return;
  }
  const std::size_t Rows = A[0].size(), Inner = A.size(), Cols = B.size();
  TInt2DArray Out(Cols, TIntArray(Rows, 0));
  for (std::size_t J = 0; J < Cols; ++J) {
    for (std::size_t K = 0; K < Inner; ++K) {
      const std::int32_t F = B[J][K];
      for (std::size_t I = 0; I < Rows; ++I) {
        Out[J][I] = detail::AddElem(Out[J][I], detail::MulElem(A[K][I], F));
      }
    }
  }
  C = std::move(Out);
}

void MultiplyArrays(const TDoubleArray& X, const TDoubleArray& Y, TDouble2DArray& C) {
  if (X.empty() || Y.empty()) {
    C.clear();
    return;
  }
  TDouble2DArray Out(Y.size(), TDoubleArray(X.size()));
  for (std::size_t J = 0; J < Y.size(); ++J) {
    for (std::size_t I = 0; I < X.size(); ++I) Out[J][I] = X[I] * Y[J];
  }
  C = std::move(Out);
}

void MultiplyArrays(const TIntArray& X, const TIntArray& Y, TInt2DArray& C) {
  if (X.empty() || Y.empty()) {
    C.clear();
    return;
  }
  TInt2DArray Out(Y.size(), TIntArray(X.size()));
  for (std::size_t J = 0; J < Y.size(); ++J) {
    for (std::size_t I = 0; I < X.size(); ++I) Out[J][I] = detail::MulElem(X[I], Y[J]);
  }
  C = std::move(Out);
}

int CalcHatMatrix(const TDouble2DArray& X, TDouble2DArray& Hat) {
  TDouble2DArray T;
  if (const int Status = CloneArray(X, T); Status != 0) return Status;
  TransposeArray(T);
  TDouble2DArray P;
  MultiplyArrays(T, X, P);
  if (const int Status = InvertArray(P); Status != 0) return Status;
  TDouble2DArray Q;
  MultiplyArrays(X, P, Q);
  TDouble2DArray H;
  MultiplyArrays(Q, T, H);
  Hat = std::move(H);
  return 0;
}

int LUdecomposition(const TDouble2DArray& A, TDouble2DArray& L, TDouble2DArray& U) {
  TPlainLu F;
  if (const int Status = FactorPlain(A, F); Status != 0) return Status;
  const Index N = static_cast<Index>(A.size());
  TDouble2DArray Lo, Up;
  // Row i of L₀ is row Perm[i] of L = Pᵀ·L₀.
  SplitFactors(F, N, F.Perm.data(), Lo, Up);
  if (F.Sign < 0) {
    // L₀'s last column is e_{N-1}; negating it and U's last row (its diagonal element alone)
    // leaves the product as it is and makes det L = +1.
    Lo[N - 1][F.Perm[N - 1]] = -1.0;
    Up[N - 1][N - 1] = -Up[N - 1][N - 1];
  }
  L = std::move(Lo);
  U = std::move(Up);
  return 0;
}

int LUPdecomposition(const TDouble2DArray& A, TDouble2DArray& L, TDouble2DArray& U, TInt2DArray& P,
                     int& Sign) {
  TPlainLu F;
  if (const int Status = FactorPlain(A, F); Status != 0) return Status;
  const Index N = static_cast<Index>(A.size());
  std::vector<Index> Same(static_cast<std::size_t>(N));
  std::iota(Same.begin(), Same.end(), Index{0});
  TDouble2DArray Lo, Up;
  SplitFactors(F, N, Same.data(), Lo, Up);
  TInt2DArray Pm(static_cast<std::size_t>(N), TIntArray(static_cast<std::size_t>(N), 0));
  for (Index I = 0; I < N; ++I) Pm[F.Perm[I]][I] = 1;
  L = std::move(Lo);
  U = std::move(Up);
  P = std::move(Pm);
  Sign = F.Sign;
  return 0;
}

double Determinant(const TDouble2DArray& A) {
  TPlainLu F;
  if (FactorPlain(A, F) != 0) return 0.0;
  const Index N = static_cast<Index>(A.size());
  // The pivots' product as a fraction in [0.5, 1) and a binary exponent: scaling by powers of
  // two is exact, so this is the plain product in ascending order wherever that stays in
  // range, and right where it would overflow or underflow on the way.
  double Fraction = static_cast<double>(F.Sign);
  long long Exponent = 0;
  for (Index I = 0; I < N; ++I) {
    int E = 0;
    Fraction *= std::frexp(F.M[I + I * N], &E);
    Exponent += E;
    Fraction = std::frexp(Fraction, &E);
    Exponent += E;
  }
  if (!std::isfinite(Fraction)) return Fraction;
  Exponent = std::clamp<long long>(Exponent, INT_MIN, INT_MAX);
  return std::ldexp(Fraction, static_cast<int>(Exponent));
}

int PermuteArray(const TDouble2DArray& A, const TInt2DArray& P, TApplyColRow Apply, bool Inverse,
                 TDouble2DArray& B) {
  if (!detail::IsUsable(A) || !detail::IsUsable(P)) return -1;
  if (Apply != NMX_nmxbase::acrColumns && Apply != NMX_nmxbase::acrRows) return -2;
  const std::size_t Rows = A[0].size(), Cols = A.size(), N = P.size();
  if (P[0].size() != N || N != (Apply == NMX_nmxbase::acrRows ? Rows : Cols)) return -2;
  // Sigma[i] = the column of the 1 in row i of P, so (P·A)(i, :) = A(Sigma[i], :).
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::vector<std::size_t> Sigma(N, kNone), SigmaInv(N, kNone);
  for (std::size_t J = 0; J < N; ++J) {
    for (std::size_t I = 0; I < N; ++I) {
      const std::int32_t E = P[J][I];
      if (E == 0) continue;
      if (E != 1 || Sigma[I] != kNone || SigmaInv[J] != kNone) return -2;
      Sigma[I] = J;
      SigmaInv[J] = I;
    }
  }
  for (std::size_t I = 0; I < N; ++I) {
    if (Sigma[I] == kNone) return -2;
  }
  TDouble2DArray Out(Cols, TDoubleArray(Rows));
  if (Apply == NMX_nmxbase::acrRows) {
    // Rows of P·A are rows Sigma[i] of A; rows of Pᵀ·A are rows SigmaInv[i].
    const std::vector<std::size_t>& Src = Inverse ? SigmaInv : Sigma;
    for (std::size_t J = 0; J < Cols; ++J) {
      for (std::size_t I = 0; I < Rows; ++I) Out[J][I] = A[J][Src[I]];
    }
  } else {
    // Columns of A·P are columns SigmaInv[j] of A; columns of A·Pᵀ are columns Sigma[j].
    const std::vector<std::size_t>& Src = Inverse ? Sigma : SigmaInv;
    for (std::size_t J = 0; J < Cols; ++J) {
      std::copy_n(A[Src[J]].begin(), Rows, Out[J].begin());
    }
  }
  B = std::move(Out);
  return 0;
}

}  // namespace NMX_openarrays
