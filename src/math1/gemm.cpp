#include "math1/gemm.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "math1/isa.h"

// How the product is made fast without touching any entry's sum: the entries of C are
// independent, so they are computed many at a time (a tile of MR × NR in vector registers),
// while each one still takes its products one by one in ascending k. The operands are copied
// into packed panels (op(A) by rows of MR, op(B) by columns of NR, k running slowest) so the
// tile reads both with unit stride whatever the transposition; the transpositions are handled
// there and nowhere else. K is cut into blocks that keep the panels in the caches; between two
// blocks an entry's running sum waits in C, and the next block continues from it, so the
// order of its additions is that of the plain loop. Only the very first block of the
// overwriting product starts from +0 instead of from C.

namespace NMX_math1::detail {
namespace {

using Index = std::ptrdiff_t;

// (An alias template cannot carry a dependent vector_size: GCC drops it. A member typedef can.)
template <Index W>
struct TVecTypes {
  typedef double Double __attribute__((vector_size(W * sizeof(double))));
};

// The shape of one variant: vectors of W doubles, tiles of MV vectors × NR columns, and the
// cache blocks: KC values of k per block, MC rows of op(A) per packed block (sized for the
// second-level cache), NC columns of op(B) per packed panel.
template <Index W, Index MV, Index NRv, Index KCv, Index MCv, Index NCv>
struct TShape {
  static constexpr Index kW = W, kMV = MV, kMR = W * MV, kNR = NRv;
  static constexpr Index kKC = KCv, kMC = MCv, kNC = NCv;
  static_assert(kMC % kMR == 0 && kNC % kNR == 0);
};

// Below this many products a call goes to the simple loops: packing would cost more than it
// saves, and those loops allocate nothing. Every call with K = 0 goes there too.
constexpr Index kSmallProducts = 16 * 16 * 16;

// The simple form for small products: column by column, each column of C updated by one
// column of op(A) after the other (an axpy, across i), which keeps every entry's order. With
// op(A) transposed a column of op(A) is strided, so there each entry is summed on its own
// over a contiguous row of A.
template <bool Sub>
inline void SmallProduct(TTrans TA, TTrans TB, Index M, Index N, Index K,
                         const double* __restrict A, Index Lda, const double* __restrict B,
                         Index Ldb, double* __restrict C, Index Ldc) noexcept {
  for (Index J = 0; J < N; ++J) {
    double* __restrict Cj = C + J * Ldc;
    const auto Bt = [&](Index L) { return TB == TTrans::No ? B[L + J * Ldb] : B[J + L * Ldb]; };
    if (TA == TTrans::No) {
      if constexpr (!Sub) std::fill(Cj, Cj + M, 0.0);
      for (Index L = 0; L < K; ++L) {
        const double Blj = Bt(L);
        const double* __restrict Al = A + L * Lda;
        for (Index I = 0; I < M; ++I) {
          if constexpr (Sub) {
            Cj[I] -= Al[I] * Blj;
          } else {
            Cj[I] += Al[I] * Blj;
          }
        }
      }
    } else {
      for (Index I = 0; I < M; ++I) {
        const double* __restrict Ai = A + I * Lda;
        double S = Sub ? Cj[I] : 0.0;
        for (Index L = 0; L < K; ++L) {
          if constexpr (Sub) {
            S -= Ai[L] * Bt(L);
          } else {
            S += Ai[L] * Bt(L);
          }
        }
        Cj[I] = S;
      }
    }
  }
}

// Copies Rows × Kc values, element (r, k) at Src[r·SR + k·SK], into Dst as Dst[k·R + r],
// rows from Rows to R - 1 set to 0. The loop runs along whichever stride is 1.
template <Index R>
inline void PackPanel(const double* __restrict Src, Index SR, Index SK, Index Rows, Index Kc,
                      double* __restrict Dst) noexcept {
  if (SR == 1) {
    for (Index L = 0; L < Kc; ++L) {
      const double* __restrict S = Src + L * SK;
      double* __restrict D = Dst + L * R;
      for (Index I = 0; I < Rows; ++I) D[I] = S[I];
      for (Index I = Rows; I < R; ++I) D[I] = 0.0;
    }
  } else {
    for (Index I = 0; I < Rows; ++I) {
      const double* __restrict S = Src + I * SR;
      for (Index L = 0; L < Kc; ++L) Dst[L * R + I] = S[L * SK];
    }
    for (Index I = Rows; I < R; ++I) {
      for (Index L = 0; L < Kc; ++L) Dst[L * R + I] = 0.0;
    }
  }
}

// Packs Count rows (of op(A), or columns of op(B)) into panels of R, each panel Kc·R long.
template <Index R>
inline void PackBlock(const double* Src, Index SR, Index SK, Index Count, Index Kc,
                      double* Dst) noexcept {
  for (Index P = 0; P < Count; P += R) {
    PackPanel<R>(Src + P * SR, SR, SK, std::min(R, Count - P), Kc, Dst + P * Kc);
  }
}

// The tile: C (MR × NR at C, leading dimension Ldc) continued by Kc products of the packed
// panels, each entry in ascending k, one product and one addition (subtraction) at a time.
// FromZero starts every entry from +0 instead of from C.
template <class S, bool Sub>
inline void Tile(Index Kc, const double* __restrict Ap, const double* __restrict Bp,
                 double* __restrict C, Index Ldc, bool FromZero) noexcept {
  constexpr Index W = S::kW, MV = S::kMV, MR = S::kMR, NR = S::kNR;
  using V = typename TVecTypes<W>::Double;
  V Acc[NR][MV];
  if (FromZero) {
#pragma GCC unroll 32
    for (Index J = 0; J < NR; ++J) {
#pragma GCC unroll 8
      for (Index I = 0; I < MV; ++I) Acc[J][I] = V{};
    }
  } else {
#pragma GCC unroll 32
    for (Index J = 0; J < NR; ++J) {
#pragma GCC unroll 8
      for (Index I = 0; I < MV; ++I) std::memcpy(&Acc[J][I], C + J * Ldc + I * W, sizeof(V));
    }
  }
  for (Index L = 0; L < Kc; ++L) {
    V Av[MV];
#pragma GCC unroll 8
    for (Index I = 0; I < MV; ++I) std::memcpy(&Av[I], Ap + L * MR + I * W, sizeof(V));
#pragma GCC unroll 32
    for (Index J = 0; J < NR; ++J) {
      const double Bj = Bp[L * NR + J];
#pragma GCC unroll 8
      for (Index I = 0; I < MV; ++I) {
        const V P = Av[I] * Bj;
        if constexpr (Sub) {
          Acc[J][I] -= P;
        } else {
          Acc[J][I] += P;
        }
      }
    }
  }
#pragma GCC unroll 32
  for (Index J = 0; J < NR; ++J) {
#pragma GCC unroll 8
    for (Index I = 0; I < MV; ++I) std::memcpy(C + J * Ldc + I * W, &Acc[J][I], sizeof(V));
  }
}

// A tile at the lower or right edge of C: computed whole in a local tile (the packed panels
// are padded with zeros) and only its Rows × Cols part written back.
template <class S, bool Sub>
inline void EdgeTile(Index Kc, const double* Ap, const double* Bp, double* C, Index Ldc,
                     Index Rows, Index Cols, bool FromZero) noexcept {
  constexpr Index MR = S::kMR, NR = S::kNR;
  alignas(64) double T[MR * NR] = {};
  if (!FromZero) {
    for (Index J = 0; J < Cols; ++J) std::memcpy(T + J * MR, C + J * Ldc, sizeof(double) * Rows);
  }
  Tile<S, Sub>(Kc, Ap, Bp, T, MR, FromZero);
  for (Index J = 0; J < Cols; ++J) std::memcpy(C + J * Ldc, T + J * MR, sizeof(double) * Rows);
}

// 64-byte aligned scratch for the packed panels.
struct TAlignedFree {
  void operator()(double* P) const noexcept { ::operator delete[](P, std::align_val_t{64}); }
};
using TScratch = std::unique_ptr<double[], TAlignedFree>;

TScratch NewScratch(Index Count) {
  return TScratch(static_cast<double*>(
      ::operator new[](sizeof(double) * static_cast<std::size_t>(Count), std::align_val_t{64})));
}

template <class S, bool Sub>
void Blocked(TTrans TA, TTrans TB, Index M, Index N, Index K, const double* A, Index Lda,
             const double* B, Index Ldb, double* C, Index Ldc) {
  constexpr Index MR = S::kMR, NR = S::kNR, KC = S::kKC, MC = S::kMC, NC = S::kNC;
  const auto RoundUp = [](Index X, Index R) { return (X + R - 1) / R * R; };
  const Index KcMax = std::min(K, KC);
  TScratch APack = NewScratch(RoundUp(std::min(M, MC), MR) * KcMax);
  TScratch BPack = NewScratch(RoundUp(std::min(N, NC), NR) * KcMax);
  // Element (i, k) of op(A) at A[i·ASI + k·ASK]; element (j, k) of op(B), i.e. op(B)(k, j),
  // at B[j·BSJ + k·BSK].
  const Index ASI = TA == TTrans::No ? 1 : Lda, ASK = TA == TTrans::No ? Lda : 1;
  const Index BSJ = TB == TTrans::No ? Ldb : 1, BSK = TB == TTrans::No ? 1 : Ldb;
  for (Index Jc = 0; Jc < N; Jc += NC) {
    const Index Nc = std::min(NC, N - Jc);
    // Ascending blocks of k: each entry's sum continues where the previous block left it.
    for (Index Pc = 0; Pc < K; Pc += KC) {
      const Index Kc = std::min(KC, K - Pc);
      const bool FromZero = !Sub && Pc == 0;
      PackBlock<NR>(B + Jc * BSJ + Pc * BSK, BSJ, BSK, Nc, Kc, BPack.get());
      for (Index Ic = 0; Ic < M; Ic += MC) {
        const Index Mc = std::min(MC, M - Ic);
        PackBlock<MR>(A + Ic * ASI + Pc * ASK, ASI, ASK, Mc, Kc, APack.get());
        for (Index Jr = 0; Jr < Nc; Jr += NR) {
          const Index Cols = std::min(NR, Nc - Jr);
          const double* Bp = BPack.get() + Jr * Kc;
          for (Index Ir = 0; Ir < Mc; Ir += MR) {
            const Index Rows = std::min(MR, Mc - Ir);
            const double* Ap = APack.get() + Ir * Kc;
            double* Ct = C + (Ic + Ir) + (Jc + Jr) * Ldc;
            if (Rows == MR && Cols == NR) {
              Tile<S, Sub>(Kc, Ap, Bp, Ct, Ldc, FromZero);
            } else {
              EdgeTile<S, Sub>(Kc, Ap, Bp, Ct, Ldc, Rows, Cols, FromZero);
            }
          }
        }
      }
    }
  }
}

template <class S>
void Product(TTrans TA, TTrans TB, Index M, Index N, Index K, const double* A, Index Lda,
             const double* B, Index Ldb, double* C, Index Ldc, TGemmMode Mode) {
  const bool Sub = Mode == TGemmMode::Subtract;
  // (In double: the product of three extents may leave the integer range.)
  if (static_cast<double>(M) * static_cast<double>(N) * static_cast<double>(K) <
      static_cast<double>(kSmallProducts)) {
    if (Sub) {
      SmallProduct<true>(TA, TB, M, N, K, A, Lda, B, Ldb, C, Ldc);
    } else {
      SmallProduct<false>(TA, TB, M, N, K, A, Lda, B, Ldb, C, Ldc);
    }
  } else if (Sub) {
    Blocked<S, true>(TA, TB, M, N, K, A, Lda, B, Ldb, C, Ldc);
  } else {
    Blocked<S, false>(TA, TB, M, N, K, A, Lda, B, Ldb, C, Ldc);
  }
}

// The shapes. AVX-512 has 32 registers of 8 doubles: 24 × 8 tiles hold 24 sums in registers,
// and a tile needs 3 + 8 loads per 24 multiplications and 24 additions, which the separate
// multiply and add units of the processor run side by side. A block of k then has its 8-column
// panel of op(B) (16 KiB) in the first-level cache and its 240-row block of op(A) (480 KiB)
// in the second. AVX2 has 16 registers of 4: 8 × 6 tiles (12 sums). The baseline has 16 of 2:
// 4 × 4 tiles.
using TShapeAvx512 = TShape<8, 3, 8, 256, 240, 2048>;
using TShapeAvx2 = TShape<4, 2, 6, 256, 128, 2046>;
using TShapeBaseline = TShape<2, 2, 4, 256, 128, 2048>;

struct TGemmVariants {
#if NMX_ISA_VARIANTS
  NMX_TARGET_AVX512 static void Avx512(TTrans TA, TTrans TB, Index M, Index N, Index K,
                                       const double* A, Index Lda, const double* B, Index Ldb,
                                       double* C, Index Ldc, TGemmMode Mode) {
    Product<TShapeAvx512>(TA, TB, M, N, K, A, Lda, B, Ldb, C, Ldc, Mode);
  }
  NMX_TARGET_AVX2 static void Avx2(TTrans TA, TTrans TB, Index M, Index N, Index K,
                                   const double* A, Index Lda, const double* B, Index Ldb,
                                   double* C, Index Ldc, TGemmMode Mode) {
    Product<TShapeAvx2>(TA, TB, M, N, K, A, Lda, B, Ldb, C, Ldc, Mode);
  }
#endif
  static void Baseline(TTrans TA, TTrans TB, Index M, Index N, Index K, const double* A,
                       Index Lda, const double* B, Index Ldb, double* C, Index Ldc,
                       TGemmMode Mode) {
    Product<TShapeBaseline>(TA, TB, M, N, K, A, Lda, B, Ldb, C, Ldc, Mode);
  }
};

}  // namespace

void GemmAscending(TTrans TA, TTrans TB, std::ptrdiff_t M, std::ptrdiff_t N, std::ptrdiff_t K,
                   const double* A, std::ptrdiff_t Lda, const double* B, std::ptrdiff_t Ldb,
                   double* C, std::ptrdiff_t Ldc, TGemmMode Mode) {
  if (M <= 0 || N <= 0) return;
  if (K < 0) K = 0;
#if NMX_ISA_VARIANTS
  switch (ActiveIsa()) {
    case TIsa::Avx512:
      return TGemmVariants::Avx512(TA, TB, M, N, K, A, Lda, B, Ldb, C, Ldc, Mode);
    case TIsa::Avx2:
      return TGemmVariants::Avx2(TA, TB, M, N, K, A, Lda, B, Ldb, C, Ldc, Mode);
    case TIsa::Baseline:
      break;
  }
#endif
  TGemmVariants::Baseline(TA, TB, M, N, K, A, Lda, B, Ldb, C, Ldc, Mode);
}

}  // namespace NMX_math1::detail
