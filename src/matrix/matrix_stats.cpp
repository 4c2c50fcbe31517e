// TMatrixBase: the statistics over ranges of cells, the searches and the reordering, once for
// both cell types.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

#include "math1/comb_sort.h"
#include "math1/elem.h"
#include "math1/order_stats.h"
#include "nmx/base/constants.h"
#include "nmx/base/errors.h"
#include "nmx/math1/moments.h"
#include "nmx/math1/select.h"
#include "nmx/math1/sort.h"
#include "nmx/matrix/matrix_base.h"
#include "nmx/platform/random.h"

namespace NMX_matrix {
namespace {

namespace E = NMX_math1::detail;
using Size = std::size_t;

// The start values of the extreme searches: the largest double for doubles; 2147483647 and
// its negation -2147483647 (not -2147483648) for integers.
template <class T>
constexpr T MinMaxStart() {
  if constexpr (std::is_same_v<T, double>) {
    return NMX_univconst::uc_MaxReal;
  } else {
    return 2147483647;
  }
}

// |A - B| in double; exact for 32-bit integers.
double Distance(double A, double B) noexcept {
  return std::fabs(A - B);
}
double Distance(std::int32_t A, std::int32_t B) noexcept {
  return std::fabs(static_cast<double>(std::int64_t{A} - std::int64_t{B}));
}

// The rank round(Count · prob / 100), prob clamped to 0..100, ties to even; a rank of Count
// (prob near 100) becomes the last one.
int RankOf(double prob, std::size_t Count) noexcept {
  prob = std::isnan(prob) ? 0.0 : std::clamp(prob, 0.0, 100.0);
  const double K = std::nearbyint(static_cast<double>(Count) * prob / 100.0);
  return static_cast<int>(std::min(K, static_cast<double>(Count - 1)));
}

// The k-th smallest of Values (which it reorders), by the library's QuickSelect.
template <class T>
double Select(std::vector<T>& Values, int K) {
  if constexpr (std::is_same_v<T, double>) {
    return NMX_math1::QuickSelect(std::span<double>(Values), K, 0,
                                  static_cast<int>(Values.size()) - 1);
  } else {
    std::nth_element(Values.begin(), Values.begin() + K, Values.end());
    return static_cast<double>(Values[static_cast<Size>(K)]);
  }
}

// The order the comb sort of the container sorts leaves Keys in: Ix[k] is the index of the key
// that ends at position k. The keys are sorted on a copy with the same exchanges as the sort
// of the lines themselves (gap from the count less one), so equal keys end in the same order.
template <class T>
std::vector<Size> SortedOrder(std::span<const T> Keys, bool Ascending) {
  std::vector<T> K(Keys.begin(), Keys.end());
  std::vector<Size> Ix(K.size());
  for (Size I = 0; I < Ix.size(); ++I) Ix[I] = I;
  E::CombSortAnnounced<T>([&](Size I) -> T& { return K[I]; }, K.size(), Ascending, K.size() - 1,
                          [&](Size I, Size J) {
                            std::swap(Ix[I], Ix[J]);
                            return true;
                          });
  return Ix;
}

}  // namespace

template <class T>
std::vector<std::span<const T>> TMatrixBase<T>::Pieces(int LowCol, int LowRow, int HighCol,
                                                       int HighRow) const {
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  std::vector<std::span<const T>> Out;
  Out.reserve(static_cast<Size>(HighCol - LowCol + 1));
  for (int C = LowCol; C <= HighCol; ++C) {
    Out.push_back(Column(C).subspan(static_cast<Size>(LowRow - 1),
                                    static_cast<Size>(HighRow - LowRow + 1)));
  }
  return Out;
}

template <class T>
typename TMatrixBase<T>::TArray TMatrixBase<T>::RangeCopy(int LowCol, int LowRow, int HighCol,
                                                          int HighRow) const {
  TArray Copy;
  try {
    for (const auto Piece : Pieces(LowCol, LowRow, HighCol, HighRow)) {
      Copy.insert(Copy.end(), Piece.begin(), Piece.end());
    }
  } catch (const std::bad_alloc&) {
    RaiseNoMemory();
  }
  return Copy;
}

// --- sums, means, moments ------------------------------------------------------------------------

template <class T>
T TMatrixBase<T>::Sum(int LoC, int LoR, int HiC, int HiR) const {
  T S = T(0);
  for (const auto Piece : Pieces(LoC, LoR, HiC, HiR)) {
    for (const T X : Piece) S = E::AddElem(S, X);
  }
  return S;
}

template <class T>
void TMatrixBase<T>::MeanVar(int LowCol, int LowRow, int HighCol, int HighRow, double& Mean,
                             double& Variance) const {
  const auto P = Pieces(LowCol, LowRow, HighCol, HighRow);
  const NMX_math1::TMoments M = NMX_math1::CentralMoments(std::span(P), 2);
  const double N = static_cast<double>(M.N);
  Mean = M.Sum / N;
  Variance = M.N < 3 ? 1.0 : std::max(0.0, M.SampleVariance());
}

template <class T>
void TMatrixBase<T>::MinMax(int LowCol, int LowRow, int HighCol, int HighRow, T& Minimum,
                            T& Maximum) const {
  Minimum = MinMaxStart<T>();
  Maximum = -MinMaxStart<T>();
  for (const auto Piece : Pieces(LowCol, LowRow, HighCol, HighRow)) {
    for (const T X : Piece) {
      if (X < Minimum) Minimum = X;
      if (X > Maximum) Maximum = X;
    }
  }
}

template <class T>
double TMatrixBase<T>::GeometricMean(int LowCol, int LowRow, int HighCol, int HighRow) const {
  double SumLn = 0.0;
  bool Zero = false;
  std::size_t N = 0;
  for (const auto Piece : Pieces(LowCol, LowRow, HighCol, HighRow)) {
    for (const T X : Piece) {
      if (X < 0) {
        NMX_nmxbase::RaiseComponentError<ENMXMatrixError>(
            this, "negative argument passed to GeometricMean");
      }
      if (X == 0) {
        Zero = true;
      } else {
        SumLn += std::log(static_cast<double>(X));
      }
      ++N;
    }
  }
  return Zero ? 0.0 : std::exp(SumLn / static_cast<double>(N));
}

template <class T>
double TMatrixBase<T>::HarmonicMean(int LowCol, int LowRow, int HighCol, int HighRow) const {
  double SumInv = 0.0;
  std::size_t N = 0;
  for (const auto Piece : Pieces(LowCol, LowRow, HighCol, HighRow)) {
    for (const T X : Piece) {
      if (!(X > 0)) {
        NMX_nmxbase::RaiseComponentError<ENMXMatrixError>(
            this, "negative or zero argument passed to HarmonicMean");
      }
      SumInv += 1.0 / static_cast<double>(X);
      ++N;
    }
  }
  return static_cast<double>(N) / SumInv;
}

template <class T>
void TMatrixBase<T>::SkewKurtIntern(int LowCol, int LowRow, int HighCol, int HighRow,
                                    double& Skewness, double& Kurtosis, int& NData) const {
  Skewness = 0.0;
  Kurtosis = 0.0;
  const auto P = Pieces(LowCol, LowRow, HighCol, HighRow);
  const NMX_math1::TMoments M = NMX_math1::CentralMoments(std::span(P), 4);
  NData = static_cast<int>(M.N);
  if (M.N < 2) return;
  // All in the scaled units of the moments, which cancel in both ratios.
  const double Count = static_cast<double>(M.N);
  const double S = std::sqrt(M.M2 / (Count - 1.0));
  if (S == 0.0) return;
  Skewness = M.M3 / Count / S / S / S;
  Kurtosis = M.M4 / Count / (S * S * (S * S)) - 3.0;
}

template <class T>
void TMatrixBase<T>::SkewKurt(int LowCol, int LowRow, int HighCol, int HighRow, double& Skewness,
                              double& Kurtosis) const {
  int N = 0;
  SkewKurtIntern(LowCol, LowRow, HighCol, HighRow, Skewness, Kurtosis, N);
}

template <class T>
void TMatrixBase<T>::SkewKurtSample(int LowCol, int LowRow, int HighCol, int HighRow,
                                    double& Skewness, double& Kurtosis) const {
  int N = 0;
  SkewKurtIntern(LowCol, LowRow, HighCol, HighRow, Skewness, Kurtosis, N);
  // Without spread there is no shape to correct (SkewKurt gave 0 and 0).
  double Mean = 0.0, Variance = 0.0;
  MeanVar(LowCol, LowRow, HighCol, HighRow, Mean, Variance);
  if (N <= 3 || Variance == 0.0) {
    Skewness = 0.0;
    Kurtosis = 0.0;
    return;
  }
  const double n = static_cast<double>(N);
  Kurtosis = (Kurtosis + 3.0) * n * n * (n + 1.0) / (n - 1.0) / (n - 2.0) / (n - 3.0) -
             3.0 * (n - 1.0) * (n - 1.0) / (n - 2.0) / (n - 3.0);
  Skewness = Skewness * n * n / (n - 1.0) / (n - 2.0);
}

// --- order statistics ------------------------------------------------------------------------

template <class T>
bool TMatrixBase<T>::Quartiles(int LowCol, int LowRow, int HighCol, int HighRow, double& Q1,
                               double& Q2, double& Q3) const {
  TArray S = RangeCopy(LowCol, LowRow, HighCol, HighRow);
  NMX_math1::SortArray(std::span<T>(S), true);
  Q1 = E::QuartileOfSorted(S, 0.25);
  Q2 = E::QuartileOfSorted(S, 0.5);
  Q3 = E::QuartileOfSorted(S, 0.75);
  return true;
}

template <class T>
double TMatrixBase<T>::Percentile(double prob, int LowCol, int LowRow, int HighCol,
                                  int HighRow) const {
  TArray Copy = RangeCopy(LowCol, LowRow, HighCol, HighRow);
  return Select(Copy, RankOf(prob, Copy.size()));
}

template <class T>
double TMatrixBase<T>::Percentile(double prob, int LowCol, int LowRow, int HighCol, int HighRow,
                                  int SampleSize) const {
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  const std::int64_t Cells =
      std::int64_t{HighCol - LowCol + 1} * std::int64_t{HighRow - LowRow + 1};
  if (SampleSize <= 0 || SampleSize >= Cells) {
    return Percentile(prob, LowCol, LowRow, HighCol, HighRow);
  }
  TArray Sample;
  try {
    Sample.resize(static_cast<Size>(SampleSize));
  } catch (const std::bad_alloc&) {
    RaiseNoMemory();
  }
  NMX_platform::Randomize();
  std::int64_t Negatives = 0, Zeros = 0;
  for (T& X : Sample) {
    const int C = LowCol + NMX_platform::Random(HighCol - LowCol + 1);
    const int R = LowRow + NMX_platform::Random(HighRow - LowRow + 1);
    X = FMat[Offset(C, R)];
    Negatives += X < 0;
    Zeros += X == 0;
  }
  if constexpr (std::is_same_v<T, double>) {
    // A percentile among the sample's zeros is 0, whatever the selection would pick.
    const double P = std::clamp(prob, 0.0, 100.0) / 100.0;
    const double Neg = static_cast<double>(Negatives) / SampleSize;
    const double ZNeg = static_cast<double>(Zeros + Negatives) / SampleSize;
    if (P > Neg && P < ZNeg) return 0.0;
  }
  return Select(Sample, RankOf(prob, Sample.size()));
}

template <class T>
int TMatrixBase<T>::CountValues(int LowCol, int HighCol, int LowRow, int HighRow,
                                double RangeLow, double RangeHigh) const {
  int Count = 0;
  for (const auto Piece : Pieces(LowCol, LowRow, HighCol, HighRow)) {
    for (const T X : Piece) {
      const auto D = static_cast<double>(X);
      Count += D >= RangeLow && D <= RangeHigh;
    }
  }
  return Count;
}

// --- searches ----------------------------------------------------------------------------------

template <class T>
void TMatrixBase<T>::Find(int LowCol, int HighCol, int LowRow, int HighRow, T Value, int& ColIx,
                          int& RowIx) const {
  ColIx = 0;
  RowIx = 0;
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  double Best = NMX_univconst::uc_MaxDouble;
  for (int C = LowCol; C <= HighCol; ++C) {
    for (int R = LowRow; R <= HighRow; ++R) {
      const double D = Distance(FMat[Offset(C, R)], Value);
      if (D < Best) {
        Best = D;
        ColIx = C;
        RowIx = R;
      }
    }
  }
}

template <class T>
int TMatrixBase<T>::FindInSortedColumn(int Col, bool ColIsAscending, T Value) const {
  int Lo = 1, Hi = FNRow;
  while (Hi - Lo > 1) {
    const int Mid = (Lo + Hi) / 2;
    const T X = GetVal(Col, Mid);
    if (X == Value) return Mid;
    if ((Value >= X) == ColIsAscending) {
      Lo = Mid;
    } else {
      Hi = Mid;
    }
  }
  return Distance(GetVal(Col, Lo), Value) < Distance(GetVal(Col, Hi), Value) ? Lo : Hi;
}

template <class T>
int TMatrixBase<T>::Dichotomize(double Threshold, NMX_nmxbase::TBool2DArray& ResultArray) const {
  ResultArray.assign(static_cast<Size>(FNCol), NMX_nmxbase::TBoolArray(static_cast<Size>(FNRow)));
  int Count = 0;
  for (int C = 1; C <= FNCol; ++C) {
    auto& Out = ResultArray[static_cast<Size>(C - 1)];
    const auto Col = Column(C);
    for (Size R = 0; R < Col.size(); ++R) {
      const bool Above = static_cast<double>(Col[R]) > Threshold;
      Out[R] = Above;
      Count += Above;
    }
  }
  return Count;
}

template <class T>
void TMatrixBase<T>::MeanVec(NMX_nmxbase::TDims Dim, NMX_vector::TVector* Means) const {
  if (Means == nullptr) return;
  if (Dim == NMX_nmxbase::dimColumns) {
    Means->Resize(FNCol);
    for (int C = 1; C <= FNCol; ++C) {
      double S = 0.0;
      for (const T X : Column(C)) S += static_cast<double>(X);
      Means->SetVal(C, S / FNRow);
    }
  } else if (Dim == NMX_nmxbase::dimRows) {
    // The sums of all rows advance together, column by column, each in column order.
    std::vector<double> Sums(static_cast<Size>(FNRow), 0.0);
    for (int C = 1; C <= FNCol; ++C) {
      const auto Col = Column(C);
      for (Size R = 0; R < Sums.size(); ++R) Sums[R] += static_cast<double>(Col[R]);
    }
    Means->Resize(FNRow);
    for (int R = 1; R <= FNRow; ++R) Means->SetVal(R, Sums[static_cast<Size>(R - 1)] / FNCol);
  }
}

// --- reordering --------------------------------------------------------------------------------

template <class T>
template <class KeyAt, class SwapLines>
void TMatrixBase<T>::CombSortLines(int Low, int High, bool Ascending, KeyAt&& Key,
                                   SwapLines&& Swap) {
  E::CombSortAnnounced<T>(
      [&](std::size_t I) -> T& { return Key(Low + static_cast<int>(I)); },
      static_cast<Size>(High - Low + 1), Ascending, static_cast<Size>(High - Low),
      [&](std::size_t I, std::size_t J) {
        Swap(Low + static_cast<int>(I), Low + static_cast<int>(J));
        return true;
      });
}

template <class T>
void TMatrixBase<T>::SortRows(int SortColIx, bool Ascending, int LowCol, int LowRow, int HighCol,
                              int HighRow) {
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  if (LowRow == HighRow) return;
  if (SortColIx >= 1 && SortColIx <= FNCol) {
    if (!OnSortExchange) {
      // Nobody watches the single exchanges: the keys are sorted with an index trail (the same
      // exchanges, so the same order of equal keys) and each column is permuted once.
      const auto Ix = SortedOrder(Column(SortColIx).subspan(static_cast<Size>(LowRow - 1),
                                                            static_cast<Size>(HighRow - LowRow + 1)),
                                  Ascending);
      TArray Line(Ix.size());
      const auto Permute = [&](int C) {
        T* Cells = FMat.data() + Offset(C, LowRow);
        for (Size K = 0; K < Ix.size(); ++K) Line[K] = Cells[Ix[K]];
        std::copy(Line.begin(), Line.end(), Cells);
      };
      for (int C = LowCol; C <= HighCol; ++C) {
        if (C != SortColIx) Permute(C);
      }
      Permute(SortColIx);
    } else {
      CombSortLines(
          LowRow, HighRow, Ascending, [&](int R) -> T& { return FMat[Offset(SortColIx, R)]; },
          [&](int R1, int R2) {
            // The sort exchanged the key cells; the other cells of the range follow.
            for (int C = LowCol; C <= HighCol; ++C) {
              if (C == SortColIx) continue;
              std::swap(FMat[Offset(C, R1)], FMat[Offset(C, R2)]);
            }
            SortExchange(2, R1, R2, LowCol, HighCol);
          });
    }
  }
  Changed();
}

template <class T>
void TMatrixBase<T>::SortCols(int SortRowIx, bool Ascending, int LowCol, int LowRow, int HighCol,
                              int HighRow) {
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  if (LowCol == HighCol) return;
  if (SortRowIx >= 1 && SortRowIx <= FNRow) {
    if (!OnSortExchange) {
      TArray Keys(static_cast<Size>(HighCol - LowCol + 1));
      for (int C = LowCol; C <= HighCol; ++C) {
        Keys[static_cast<Size>(C - LowCol)] = FMat[Offset(C, SortRowIx)];
      }
      const auto Ix = SortedOrder(std::span<const T>(Keys), Ascending);
      // The columns move as blocks of the row range, the key row with them.
      const Size Height = static_cast<Size>(HighRow - LowRow + 1);
      TArray Moved(Ix.size() * Height);
      for (Size K = 0; K < Ix.size(); ++K) {
        const T* From = FMat.data() + Offset(LowCol + static_cast<int>(Ix[K]), LowRow);
        std::copy(From, From + Height, Moved.begin() + static_cast<std::ptrdiff_t>(K * Height));
      }
      for (Size K = 0; K < Ix.size(); ++K) {
        T* To = FMat.data() + Offset(LowCol + static_cast<int>(K), LowRow);
        std::copy(Moved.begin() + static_cast<std::ptrdiff_t>(K * Height),
                  Moved.begin() + static_cast<std::ptrdiff_t>((K + 1) * Height), To);
        if (SortRowIx < LowRow || SortRowIx > HighRow) {
          FMat[Offset(LowCol + static_cast<int>(K), SortRowIx)] = Keys[Ix[K]];
        }
      }
    } else {
      CombSortLines(
          LowCol, HighCol, Ascending, [&](int C) -> T& { return FMat[Offset(C, SortRowIx)]; },
          [&](int C1, int C2) {
            for (int R = LowRow; R <= HighRow; ++R) {
              if (R == SortRowIx) continue;
              std::swap(FMat[Offset(C1, R)], FMat[Offset(C2, R)]);
            }
            SortExchange(1, C1, C2, LowRow, HighRow);
          });
    }
  }
  Changed();
}

template <class T>
void TMatrixBase<T>::MirrorColumns() {
  for (int C1 = 1, C2 = FNCol; C1 < C2; ++C1, --C2) {
    const auto A = FMat.begin() + static_cast<std::ptrdiff_t>(Offset(C1, 1));
    std::swap_ranges(A, A + FNRow, FMat.begin() + static_cast<std::ptrdiff_t>(Offset(C2, 1)));
  }
  Changed();
}

template <class T>
void TMatrixBase<T>::MirrorRows() {
  for (int C = 1; C <= FNCol; ++C) {
    const auto First = FMat.begin() + static_cast<std::ptrdiff_t>(Offset(C, 1));
    std::reverse(First, First + FNRow);
  }
  Changed();
}

template <class T>
void TMatrixBase<T>::ExchangeColumns(int c1, int c2) {
  if (c1 >= 1 && c1 <= FNCol && c2 >= 1 && c2 <= FNCol && c1 != c2) {
    const auto A = FMat.begin() + static_cast<std::ptrdiff_t>(Offset(c1, 1));
    std::swap_ranges(A, A + FNRow, FMat.begin() + static_cast<std::ptrdiff_t>(Offset(c2, 1)));
  }
  Changed();
}

template <class T>
void TMatrixBase<T>::ExchangeRows(int r1, int r2) {
  if (r1 >= 1 && r1 <= FNRow && r2 >= 1 && r2 <= FNRow && r1 != r2) {
    for (int C = 1; C <= FNCol; ++C) std::swap(FMat[Offset(C, r1)], FMat[Offset(C, r2)]);
  }
  Changed();
}

#define NMX_MATRIX_STATS(T)                                                                      \
  template std::vector<std::span<const T>> TMatrixBase<T>::Pieces(int, int, int, int) const;     \
  template TMatrixBase<T>::TArray TMatrixBase<T>::RangeCopy(int, int, int, int) const;           \
  template T TMatrixBase<T>::Sum(int, int, int, int) const;                                      \
  template void TMatrixBase<T>::MeanVar(int, int, int, int, double&, double&) const;             \
  template void TMatrixBase<T>::MinMax(int, int, int, int, T&, T&) const;                        \
  template double TMatrixBase<T>::GeometricMean(int, int, int, int) const;                       \
  template double TMatrixBase<T>::HarmonicMean(int, int, int, int) const;                        \
  template void TMatrixBase<T>::SkewKurtIntern(int, int, int, int, double&, double&, int&) const; \
  template void TMatrixBase<T>::SkewKurt(int, int, int, int, double&, double&) const;            \
  template void TMatrixBase<T>::SkewKurtSample(int, int, int, int, double&, double&) const;      \
  template bool TMatrixBase<T>::Quartiles(int, int, int, int, double&, double&, double&) const;  \
  template double TMatrixBase<T>::Percentile(double, int, int, int, int) const;                  \
  template double TMatrixBase<T>::Percentile(double, int, int, int, int, int) const;             \
  template int TMatrixBase<T>::CountValues(int, int, int, int, double, double) const;            \
  template void TMatrixBase<T>::Find(int, int, int, int, T, int&, int&) const;                   \
  template int TMatrixBase<T>::FindInSortedColumn(int, bool, T) const;                           \
  template int TMatrixBase<T>::Dichotomize(double, NMX_nmxbase::TBool2DArray&) const;            \
  template void TMatrixBase<T>::MeanVec(NMX_nmxbase::TDims, NMX_vector::TVector*) const;         \
  template void TMatrixBase<T>::SortRows(int, bool, int, int, int, int);                         \
  template void TMatrixBase<T>::SortCols(int, bool, int, int, int, int);                         \
  template void TMatrixBase<T>::MirrorColumns();                                                 \
  template void TMatrixBase<T>::MirrorRows();                                                    \
  template void TMatrixBase<T>::ExchangeColumns(int, int);                                       \
  template void TMatrixBase<T>::ExchangeRows(int, int);
NMX_MATRIX_STATS(double)
NMX_MATRIX_STATS(std::int32_t)
#undef NMX_MATRIX_STATS

}  // namespace NMX_matrix
