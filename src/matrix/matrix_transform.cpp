// TMatrix: the histogram, the correlation of two matrices, the normalisations of columns and
// rows, edge profiles, distances of rows and resampling.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "math1/bins.h"
#include "nmx/base/constants.h"
#include "nmx/base/errors.h"
#include "nmx/math1/moments.h"
#include "nmx/matrix/matrix.h"
#include "nmx/openarrays/fill.h"
#include "nmx/platform/random.h"

namespace NMX_matrix {
namespace {

using Size = std::size_t;
namespace MD = NMX_math1::detail;

}  // namespace

// --- histogram and correlation -------------------------------------------------------------------

bool TMatrix::Histogram(int LoX, int LoY, int HiX, int HiY, double FirstBin, double LastBin,
                        double BinWidth, NMX_nmxbase::TIntArray& Histo, int& Underflow,
                        int& Overflow, int& MaxCnt) const {
  // A value that is not comparable (NaN) counts as underflow.
  const int NBins = MD::DoubleBinCount(FirstBin, LastBin, BinWidth);
  if (NBins == 0) return false;
  const MD::TDoubleBins Bins{FirstBin, LastBin + BinWidth, BinWidth, NBins, MD::kUnderflow};
  Histo.assign(static_cast<Size>(NBins), 0);
  Underflow = Overflow = MaxCnt = 0;
  for (const auto Piece : Pieces(LoX, LoY, HiX, HiY)) {
    for (const double X : Piece) {
      const int B = Bins(X);
      if (B >= 0) {
        MaxCnt = std::max(MaxCnt, ++Histo[static_cast<Size>(B)]);
      } else if (B == MD::kUnderflow) {
        ++Underflow;
      } else {
        ++Overflow;
      }
    }
  }
  return true;
}

bool TMatrix::Histogram(int LoX, int LoY, int HiX, int HiY, double FirstBin, double LastBin,
                        double BinWidth, NMX_vector::TIntVector* Histo, int& Underflow,
                        int& Overflow, int& MaxCnt) const {
  if (Histo == nullptr) return false;
  NMX_nmxbase::TIntArray Counts;
  if (!Histogram(LoX, LoY, HiX, HiY, FirstBin, LastBin, BinWidth, Counts, Underflow, Overflow,
                 MaxCnt)) {
    return false;
  }
  Histo->SetIntVecSize(static_cast<int>(Counts.size()));
  Histo->CopyFrom(Counts, 0, 0, 1);
  return true;
}

double TMatrix::Correlate(const TMatrix* OtherMat) const {
  if (OtherMat == nullptr || OtherMat->FNCol != FNCol || OtherMat->FNRow != FNRow) {
    NMX_nmxbase::RaiseComponentError<ENMXMatrixError>(this, "matrices do not match");
  }
  const NMX_math1::TCoMoments M = NMX_math1::CoMoments(Data(), OtherMat->Data());
  const auto AllZero = [](std::span<const double> X) {
    return std::all_of(X.begin(), X.end(), [](double V) { return V == 0.0; });
  };
  if (M.N < 3 || AllZero(Data()) || AllZero(OtherMat->Data())) return 0.0;
  if (M.M2X == 0.0 || M.M2Y == 0.0) return 0.0;
  return M.Correlation();
}

// --- normalisations ----------------------------------------------------------------------------

namespace {

// Resizes Out (when given) to N elements for the per-line results.
void Prepare(NMX_vector::TVector* Out, int N) {
  if (Out != nullptr) Out->Resize(N);
}
void Put(NMX_vector::TVector* Out, int K, double X) {
  if (Out != nullptr) Out->SetVal(K, X);
}

}  // namespace

void TMatrix::MeanCenterColumns(NMX_vector::TVector* Means) {
  Prepare(Means, FNCol);
  for (int C = 1; C <= FNCol; ++C) {
    double Mean = 0, Variance = 0;
    MeanVar(C, 1, C, FNRow, Mean, Variance);
    for (int R = 1; R <= FNRow; ++R) FMat[Offset(C, R)] -= Mean;
    Put(Means, C, Mean);
  }
  Changed();
}

void TMatrix::MeanCenterRows(NMX_vector::TVector* Means) {
  Prepare(Means, FNRow);
  for (int R = 1; R <= FNRow; ++R) {
    double Mean = 0, Variance = 0;
    MeanVar(1, R, FNCol, R, Mean, Variance);
    for (int C = 1; C <= FNCol; ++C) FMat[Offset(C, R)] -= Mean;
    Put(Means, R, Mean);
  }
  Changed();
}

void TMatrix::StandardizeColumns(NMX_vector::TVector* Means, NMX_vector::TVector* StdDevs) {
  Prepare(Means, FNCol);
  Prepare(StdDevs, FNCol);
  for (int C = 1; C <= FNCol; ++C) {
    double Mean = 0, Variance = 0;
    MeanVar(C, 1, C, FNRow, Mean, Variance);
    const double S = std::sqrt(Variance);
    if (Variance > 0) {
      for (int R = 1; R <= FNRow; ++R) FMat[Offset(C, R)] = (FMat[Offset(C, R)] - Mean) / S;
    }
    Put(Means, C, Mean);
    Put(StdDevs, C, S);
  }
  Changed();
}

void TMatrix::StandardizeRows(NMX_vector::TVector* Means, NMX_vector::TVector* StdDevs) {
  Prepare(Means, FNRow);
  Prepare(StdDevs, FNRow);
  for (int R = 1; R <= FNRow; ++R) {
    double Mean = 0, Variance = 0;
    MeanVar(1, R, FNCol, R, Mean, Variance);
    const double S = std::sqrt(Variance);
    if (Variance > 0) {
      for (int C = 1; C <= FNCol; ++C) FMat[Offset(C, R)] = (FMat[Offset(C, R)] - Mean) / S;
    }
    Put(Means, R, Mean);
    Put(StdDevs, R, S);
  }
  Changed();
}

void TMatrix::QNormalizeColumns(double RefQuant, NMX_vector::TVector* Medians,
                                NMX_vector::TVector* QuantDiffs) {
  Prepare(Medians, FNCol);
  Prepare(QuantDiffs, FNCol);
  for (int C = 1; C <= FNCol; ++C) {
    const double Q = Percentile(RefQuant, C, 1, C, FNRow);
    const double Med = Percentile(50, C, 1, C, FNRow);
    const double D = std::fabs(Med - Q);
    if (D > 0) {
      for (int R = 1; R <= FNRow; ++R) FMat[Offset(C, R)] = (FMat[Offset(C, R)] - Med) / D;
    }
    Put(Medians, C, Med);
    Put(QuantDiffs, C, D);
  }
  Changed();
}

void TMatrix::QNormalizeRows(double RefQuant, NMX_vector::TVector* Medians,
                             NMX_vector::TVector* QuantDiffs) {
  Prepare(Medians, FNRow);
  Prepare(QuantDiffs, FNRow);
  for (int R = 1; R <= FNRow; ++R) {
    const double Q = Percentile(RefQuant, 1, R, FNCol, R);
    const double Med = Percentile(50, 1, R, FNCol, R);
    const double D = std::fabs(Med - Q);
    if (D > 0) {
      for (int C = 1; C <= FNCol; ++C) FMat[Offset(C, R)] = (FMat[Offset(C, R)] - Med) / D;
    }
    Put(Medians, R, Med);
    Put(QuantDiffs, R, D);
  }
  Changed();
}

// --- edge profiles -----------------------------------------------------------------------------

int TMatrix::EdgeVector(NMX_nmxbase::TOrientation Orient, NMX_nmxbase::TEdgeOp EdgeOp,
                        NMX_vector::TVector* Dest) {
  return EdgeVector(Orient, EdgeOp, NMX_nmxbase::TIntArray{}, Dest);
}

int TMatrix::EdgeVector(NMX_nmxbase::TOrientation Orient, NMX_nmxbase::TEdgeOp EdgeOp,
                        const NMX_nmxbase::TIntArray& EdgeIx, NMX_vector::TVector* Dest) {
  if (Dest == nullptr) return -1;
  const bool Rowwise = Orient == NMX_nmxbase::orRowwise;
  // Rowwise: one element per row over the listed columns; colwise the other way round.
  const int Elements = Rowwise ? FNRow : FNCol;
  const int Across = Rowwise ? FNCol : FNRow;
  std::vector<int> Listed;
  int Status = 0;
  if (EdgeIx.empty()) {
    for (int K = 1; K <= Across; ++K) Listed.push_back(K);
  } else {
    for (const int K : EdgeIx) {
      if (K >= 1 && K <= Across) {
        Listed.push_back(K);
      } else {
        Status = -2;
      }
    }
  }
  Dest->Resize(Elements);
  std::vector<double> Values(Listed.size());
  for (int E = 1; E <= Elements; ++E) {
    for (Size K = 0; K < Listed.size(); ++K) {
      Values[K] = Rowwise ? FMat[Offset(Listed[K], E)] : FMat[Offset(E, Listed[K])];
    }
    double X = 0.0;
    switch (EdgeOp) {
      case NMX_nmxbase::eoMin:
        X = NMX_univconst::uc_MaxDouble;
        for (const double V : Values) X = V < X ? V : X;
        break;
      case NMX_nmxbase::eoMax:
        X = -NMX_univconst::uc_MaxDouble;
        for (const double V : Values) X = V > X ? V : X;
        break;
      case NMX_nmxbase::eoSum:
      case NMX_nmxbase::eoMean:
        for (const double V : Values) X += V;
        if (EdgeOp == NMX_nmxbase::eoMean) X /= Across;
        break;
      case NMX_nmxbase::eoStdDev:
        // From the deviations about the mean, not from raw power sums.
        if (Values.size() >= 3) X = std::max(0.0, NMX_math1::CentralMoments(Values).SampleStdDev());
        break;
    }
    Dest->SetVal(E, X);
  }
  return Status;
}

// --- distances and resampling ------------------------------------------------------------------

double TMatrix::DistanceOfObjects(NMX_nmxbase::TDistMode Mode, int obj1, int obj2) {
  if (Mode == NMX_nmxbase::dmUserDefined) {
    double Distance = 0.0;
    if (OnCalcDistance) OnCalcDistance(this, obj1, obj2, Distance);
    return Distance;
  }
  double SumAB = 0, SumA2 = 0, SumB2 = 0, SumAbs = 0, SumSq = 0;
  for (int C = 1; C <= FNCol; ++C) {
    const double A = GetVal(C, obj1), B = GetVal(C, obj2);
    SumAB += A * B;
    SumA2 += A * A;
    SumB2 += B * B;
    SumAbs += std::fabs(A - B);
    SumSq += (A - B) * (A - B);
  }
  switch (Mode) {
    case NMX_nmxbase::dmTanimoto: {
      const double Den = SumA2 + SumB2 - SumAB;
      return Den == 0.0 ? 0.0 : SumAB / Den;
    }
    case NMX_nmxbase::dmManhattan:
      return SumAbs;
    case NMX_nmxbase::dmEuclidean:
      return std::sqrt(SumSq);
    case NMX_nmxbase::dmSqrEuclidean:
      return SumSq;
    case NMX_nmxbase::dmDice: {
      const double Den = SumA2 + SumB2;
      return Den == 0.0 ? 0.0 : 2.0 * SumAB / Den;
    }
    default:
      return 0.0;
  }
}

int TMatrix::CalcDistMat(NMX_nmxbase::TDistMode Mode, TMatrix* DMat) {
  if (DMat == nullptr) return -1;
  if (DMat->FNCol != FNRow) return -2;
  if (DMat->FNCol != DMat->FNRow) return -1;
  const int N = FNRow;
  const auto Store = [DMat](int I, int J, double D) {
    DMat->PutVal(I, J, D);
    DMat->PutVal(J, I, D);
  };
  if (Mode == NMX_nmxbase::dmUserDefined || Mode > NMX_nmxbase::dmUserDefined || DMat == this) {
    for (int I = 1; I <= N; ++I) {
      DMat->PutVal(I, I, 0.0);
      for (int J = I + 1; J <= N; ++J) Store(I, J, DistanceOfObjects(Mode, I, J));
    }
    return 0;
  }
  // Row I against all later rows at once: the sums of every pair advance together, column by
  // column, each in ascending column order as DistanceOfObjects takes it, so the distances are
  // the same bits, while each pass runs down a contiguous column.
  const Size M = static_cast<Size>(N);
  std::vector<double> AB(M), A2(M), B2(M), Abs(M), Sq(M);
  const bool Products = Mode == NMX_nmxbase::dmTanimoto || Mode == NMX_nmxbase::dmDice;
  // Without a handler on DMat nobody sees the single writes: the lower half is written down
  // its columns and mirrored at the end.
  const bool Watched = static_cast<bool>(DMat->OnChange);
  for (int I = 1; I <= N; ++I) {
    const Size First = static_cast<Size>(I);  // 0-based index of row I + 1
    std::fill(AB.begin(), AB.end(), 0.0);
    std::fill(A2.begin(), A2.end(), 0.0);
    std::fill(B2.begin(), B2.end(), 0.0);
    std::fill(Abs.begin(), Abs.end(), 0.0);
    std::fill(Sq.begin(), Sq.end(), 0.0);
    for (int C = 1; C <= FNCol; ++C) {
      const double* Col = FMat.data() + Offset(C, 1);
      const double A = Col[I - 1];
      if (Products) {
        for (Size J = First; J < M; ++J) {
          AB[J] += A * Col[J];
          A2[J] += A * A;
          B2[J] += Col[J] * Col[J];
        }
      } else if (Mode == NMX_nmxbase::dmManhattan) {
        for (Size J = First; J < M; ++J) Abs[J] += std::fabs(A - Col[J]);
      } else {
        for (Size J = First; J < M; ++J) Sq[J] += (A - Col[J]) * (A - Col[J]);
      }
    }
    if (Watched) DMat->PutVal(I, I, 0.0);
    for (Size J = First; J < M; ++J) {
      double D = 0.0;
      switch (Mode) {
        case NMX_nmxbase::dmTanimoto: {
          const double Den = A2[J] + B2[J] - AB[J];
          D = Den == 0.0 ? 0.0 : AB[J] / Den;
          break;
        }
        case NMX_nmxbase::dmDice: {
          const double Den = A2[J] + B2[J];
          D = Den == 0.0 ? 0.0 : 2.0 * AB[J] / Den;
          break;
        }
        case NMX_nmxbase::dmManhattan:
          D = Abs[J];
          break;
        case NMX_nmxbase::dmEuclidean:
          D = std::sqrt(Sq[J]);
          break;
        default:
          D = Sq[J];
          break;
      }
      if (Watched) {
        Store(I, static_cast<int>(J) + 1, D);
      } else {
        DMat->FMat[static_cast<Size>(I - 1) * M + J] = D;  // [I, J + 1], down column I
      }
    }
    if (!Watched) DMat->FMat[static_cast<Size>(I - 1) * M + static_cast<Size>(I - 1)] = 0.0;
  }
  if (!Watched) {
    // The other half, mirrored tile by tile so that both sides stay in the cache.
    constexpr Size kTile = 64;
    double* Out = DMat->FMat.data();
    for (Size C0 = 0; C0 < M; C0 += kTile) {
      for (Size R0 = C0; R0 < M; R0 += kTile) {
        for (Size C = C0; C < std::min(M, C0 + kTile); ++C) {
          for (Size R = std::max(R0, C + 1); R < std::min(M, R0 + kTile); ++R) {
            Out[R * M + C] = Out[C * M + R];
          }
        }
      }
    }
  }
  return 0;
}

int TMatrix::ResampleExtMat(const TMatrix* SrcMat, double colpct, double rowpct, bool BootStrap,
                            NMX_nmxbase::TIntArray& RndColIx, NMX_nmxbase::TIntArray& RndRowIx) {
  if (SrcMat == nullptr) return -3;
  if (RndColIx.empty() || RndRowIx.empty()) return -5;
  const double Nc = std::nearbyint(SrcMat->FNCol * colpct / 100.0);
  const double Nr = std::nearbyint(SrcMat->FNRow * rowpct / 100.0);
  if (!(Nr >= 1) || rowpct > 100) return -2;
  if (!(Nc >= 1) || colpct > 100) return -1;
  const int NCols = static_cast<int>(Nc), NRows = static_cast<int>(Nr);
  NMX_platform::Randomize();
  NMX_nmxbase::TIntArray Cols(static_cast<Size>(NCols)), Rows(static_cast<Size>(NRows));
  if (NCols == SrcMat->FNCol) {
    for (int C = 1; C <= NCols; ++C) Cols[static_cast<Size>(C - 1)] = C;
  } else if (NMX_openarrays::FillRandomUniform(Cols, 1, SrcMat->FNCol, false) != 0) {
    return -1;  // more columns than a selection without repeats can draw from
  }
  if (NMX_openarrays::FillRandomUniform(Rows, 1, SrcMat->FNRow, BootStrap) != 0) return -2;
  // A source that is this matrix is read from a copy: the resize below replaces its cells.
  TMatrix Aside;
  const TMatrix* Src = SrcMat;
  if (SrcMat == this) {
    Aside.Clone(this);
    Src = &Aside;
  }
  RndColIx = std::move(Cols);
  RndRowIx = std::move(Rows);
  Resize(NCols, NRows);
  for (int C = 1; C <= NCols; ++C) {
    for (int R = 1; R <= NRows; ++R) {
      PutVal(C, R,
             Src->GetVal(RndColIx[static_cast<Size>(C - 1)], RndRowIx[static_cast<Size>(R - 1)]));
    }
  }
  Changed();
  Resized();
  return 0;
}

}  // namespace NMX_matrix
