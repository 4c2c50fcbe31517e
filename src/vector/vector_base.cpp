// TVectorBase: size, elements, copies, fills, arithmetic, statistics and sorting, once for
// both element types.
#include "nmx/vector/vector_base.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <type_traits>
#include <utility>

#include "math1/comb_sort.h"
#include "math1/elem.h"
#include "math1/order_stats.h"
#include "nmx/base/crc.h"
#include "nmx/base/errors.h"
#include "nmx/math1/digits.h"
#include "nmx/math1/moments.h"
#include "nmx/math1/norms.h"
#include "nmx/math1/sort.h"
#include "nmx/platform/random.h"
#include "vector/write_paths.h"

namespace NMX_vector {
namespace {

namespace E = NMX_math1::detail;
using E::PercentileOfSorted;
using E::QuartileOfSorted;

[[noreturn]] void Raise(const NMX_platform::TComponent* Self, std::string_view Text) {
  NMX_nmxbase::RaiseComponentError<ENMXVectorError>(Self, Text);
}

// The message of operations on two vectors of different NrOfElem.
constexpr std::string_view kDifferentDimensions = "vectors have different dimensions";

// The start values of the extreme searches: ±1.7e308 for doubles; 2147483647 and its negation
// -2147483647 (not -2147483648) for integers.
template <class T>
constexpr T MinMaxStart() {
  if constexpr (std::is_same_v<T, double>) {
    return 1.7e308;
  } else {
    return 2147483647;
  }
}

// X clamped to 0..Count - 1 (Count > 0).
std::int64_t ClampIndex(std::int64_t X, std::size_t Count) noexcept {
  return std::clamp<std::int64_t>(X, 0, static_cast<std::int64_t>(Count) - 1);
}

// The range rule of MakeValidElemRange on a vector of NElem elements.
int ValidRange(int NElem, int& LowElem, int& HighElem) noexcept {
  return E::ValidRange(NElem, LowElem, HighElem);
}

// The elements LowElem..HighElem of Data after the range rule, with the index of the first.
template <class T>
struct TRange {
  std::span<const T> X;
  int First = 1;
};

template <class T>
TRange<T> RangeOf(std::span<const T> Data, int LowElem, int HighElem) noexcept {
  ValidRange(static_cast<int>(Data.size()), LowElem, HighElem);
  return {Data.subspan(static_cast<std::size_t>(LowElem - 1),
                       static_cast<std::size_t>(HighElem - LowElem + 1)),
          LowElem};
}

// |A - B| as a double; exact for 32-bit integers.
double Distance(double A, double B) noexcept {
  return std::fabs(A - B);
}
double Distance(std::int32_t A, std::int32_t B) noexcept {
  return std::fabs(static_cast<double>(std::int64_t{A} - std::int64_t{B}));
}

// The value of the first longest run of equal values in the sorted array.
template <class T>
T ModeOfSorted(const std::vector<T>& S) noexcept {
  T Mode = S[0];
  std::size_t Longest = 1, Run = 1;
  for (std::size_t I = 1; I < S.size(); ++I) {
    Run = S[I] == S[I - 1] ? Run + 1 : 1;
    if (Run > Longest) {
      Longest = Run;
      Mode = S[I];
    }
  }
  return Mode;
}

}  // namespace

// --- construction, size, copies --------------------------------------------------------------

template <class T>
TVectorBase<T>::TVectorBase(NMX_platform::TComponent* AOwner) : TComponent(AOwner) {
  try {
    FVec.assign(1, T(0));
  } catch (const std::bad_alloc&) {
    Raise(this, NMX_nmxbase::kNoMemoryOnHeap);
  }
}

template <class T>
TVectorBase<T>::~TVectorBase() = default;

template <class T>
void TVectorBase<T>::Assign(const NMX_platform::TPersistent* Source) {
  const auto* Other = dynamic_cast<const TVectorBase*>(Source);
  if (Other == nullptr) {
    TComponent::Assign(Source);
    return;
  }
  if (Other == this) return;
  // Every copy is made before anything changes, so a failed allocation leaves this vector
  // as it was.
  TArray Vec;
  NMX_nmxbase::TNotifyEvent Change, Resize;
  NMX_nmxbase::TSortExchgEvent Exchange;
  try {
    Vec = Other->FVec;
    Change = Other->OnChange;
    Resize = Other->OnResize;
    Exchange = Other->OnSortExchange;
  } catch (const std::bad_alloc&) {
    Raise(this, NMX_nmxbase::kNoMemory);
  }
  FVec.swap(Vec);
  FNElem = Other->FNElem;
  FIsEmpty = Other->FIsEmpty;
  OnChange = std::move(Change);
  OnResize = std::move(Resize);
  OnSortExchange = std::move(Exchange);
}

template <class T>
void TVectorBase<T>::AssignTo(NMX_platform::TPersistent* Dest) const {
  if (auto* Other = dynamic_cast<TVectorBase*>(Dest)) {
    Other->Assign(this);
    return;
  }
  TComponent::AssignTo(Dest);
}

template <class T>
bool TVectorBase<T>::Resize(int NE) {
  if (NE == FNElem) return true;
  if (NE <= 0) return false;
  // Growing a vector of scalars has the strong guarantee: on failure nothing changed.
  try {
    FVec.resize(static_cast<std::size_t>(NE));
  } catch (const std::bad_alloc&) {
    Raise(this, NMX_nmxbase::kNoMemory);
  }
  // Give back the storage of a vector that shrank a lot. That needs a new block; when it
  // cannot be had, the vector simply keeps the old one.
  if (FVec.capacity() / 2 > FVec.size()) {
    try {
      FVec.shrink_to_fit();
    } catch (const std::bad_alloc&) {
      // the larger block stays in use
    }
  }
  FNElem = NE;
  Changed();
  Resized();
  return true;
}

template <class T>
int TVectorBase<T>::MakeValidElemRange(int& LowElem, int& HighElem) const noexcept {
  return ValidRange(FNElem, LowElem, HighElem);
}

template <class T>
double TVectorBase<T>::CalcVecLeng() const noexcept {
  return NMX_math1::EuclideanLength(Data());
}

template <class T>
std::string TVectorBase<T>::CRCofData() const {
  return E::CellsChecksum(Data());
}

template <class T>
void TVectorBase<T>::Clone(const TVectorBase* VecSource) {
  if (VecSource == nullptr) return;
  Resize(VecSource->FNElem);
  WriteRun(1, VecSource->FNElem, [VecSource](std::int64_t J, T& Out) {
    Out = VecSource->GetVal(static_cast<int>(J + 1));
    return true;
  });
  Changed();
}

template <class T>
int TVectorBase<T>::CopyFrom(const TVectorBase* Src, int SrcElemLo, int SrcElemHi, int DestElem) {
  if (Src == nullptr) return -1;
  const int SrcN = Src->FNElem;
  if (SrcElemLo == 0 && SrcElemHi == 0) {
    SrcElemLo = 1;
    SrcElemHi = SrcN;
  } else {
    int Status = 0;
    if (SrcElemLo < 1 || SrcElemLo > SrcN || SrcElemHi < 1 || SrcElemHi > SrcN) Status = -2;
    if (DestElem < 1 || DestElem > FNElem) Status = -3;
    if (Status != 0) return Status;
    if (SrcElemHi < SrcElemLo) std::swap(SrcElemLo, SrcElemHi);
  }
  const std::int64_t Lo = SrcElemLo;
  WriteRun(DestElem, SrcElemHi - Lo + 1, [Src, Lo](std::int64_t J, T& Out) {
    Out = Src->GetVal(static_cast<int>(Lo + J));
    return true;
  });
  Changed();
  return 0;
}

template <class T>
int TVectorBase<T>::CopyFrom(const TArray& Src, int SrcElemLo, int SrcElemHi, int DestElem) {
  if (Src.empty()) return -1;
  const auto Len = static_cast<std::int64_t>(Src.size());
  std::int64_t Lo = SrcElemLo, Hi = SrcElemHi;
  if (Lo == 0 && Hi == 0) {
    Hi = Len - 1;
  } else {
    int Status = 0;
    if (Lo < 0 || Lo >= Len || Hi < 0 || Hi >= Len) Status = -2;
    if (DestElem < 1 || DestElem > FNElem) Status = -3;
    if (Status != 0) return Status;
    if (Hi < Lo) std::swap(Lo, Hi);
  }
  WriteRun(DestElem, Hi - Lo + 1, [&Src, Lo](std::int64_t J, T& Out) {
    const auto I = static_cast<std::size_t>(Lo + J);
    if (I >= Src.size()) return false;
    Out = Src[I];
    return true;
  });
  Changed();
  return 0;
}

template <class T>
void TVectorBase<T>::CopyFrom2DArrayRow(const T2DArray& SrcArray, int Row, int FirstCol,
                                        int LastCol, int DestElem) {
  // Row is clipped to the rows of column 0; without rows there is nothing to copy.
  if (SrcArray.empty() || SrcArray[0].empty()) return;
  const auto R = static_cast<std::size_t>(ClampIndex(Row, SrcArray[0].size()));
  std::int64_t C1 = ClampIndex(FirstCol, SrcArray.size());
  std::int64_t C2 = ClampIndex(LastCol, SrcArray.size());
  if (C2 < C1) std::swap(C1, C2);
  if (DestElem + (C2 - C1) < 1 || DestElem > FNElem) return;
  WriteRun(DestElem, C2 - C1 + 1, [&SrcArray, R, C1](std::int64_t J, T& Out) {
    const auto C = static_cast<std::size_t>(C1 + J);
    // A column shorter than column 0 has no cell in this row: its target is skipped.
    if (C >= SrcArray.size() || R >= SrcArray[C].size()) return false;
    Out = SrcArray[C][R];
    return true;
  });
  Changed();
}

template <class T>
void TVectorBase<T>::CopyFrom2DArrayColumn(const T2DArray& SrcArray, int Col, int FirstRow,
                                           int LastRow, int DestElem) {
  if (SrcArray.empty() || SrcArray[0].empty()) return;
  const auto C = static_cast<std::size_t>(ClampIndex(Col, SrcArray.size()));
  std::int64_t R1 = ClampIndex(FirstRow, SrcArray[0].size());
  std::int64_t R2 = ClampIndex(LastRow, SrcArray[0].size());
  if (R2 < R1) std::swap(R1, R2);
  if (DestElem + (R2 - R1) < 1 || DestElem > FNElem) return;
  WriteRun(DestElem, R2 - R1 + 1, [&SrcArray, C, R1](std::int64_t J, T& Out) {
    const auto R = static_cast<std::size_t>(R1 + J);
    // Rows run over column 0; the cells a shorter column lacks are skipped.
    if (C >= SrcArray.size() || R >= SrcArray[C].size()) return false;
    Out = SrcArray[C][R];
    return true;
  });
  Changed();
}

template <class T>
void TVectorBase<T>::CopyToArray(TArray& DestArray, int LowElem, int HighElem, int DestElem) const {
  MakeValidElemRange(LowElem, HighElem);
  const auto D = static_cast<std::size_t>(std::max(DestElem, 0));
  const auto Count = static_cast<std::size_t>(HighElem - LowElem + 1);
  try {
    DestArray.resize(D + Count);
  } catch (const std::bad_alloc&) {
    Raise(this, NMX_nmxbase::kNoMemory);
  }
  std::copy_n(FVec.begin() + (LowElem - 1), Count,
              DestArray.begin() + static_cast<std::ptrdiff_t>(D));
}

template <class T>
void TVectorBase<T>::CopyToArray(T2DArray& DestArray, int LowElem, int HighElem, int DestCol,
                                 int DestRow, bool AsColumn) const {
  MakeValidElemRange(LowElem, HighElem);
  if (DestArray.empty()) return;
  const std::size_t NCol = DestArray.size();
  const auto C = static_cast<std::size_t>(ClampIndex(DestCol, NCol));
  // DestRow is clipped to the rows of column 0 (to 0 when column 0 is empty); every write
  // below checks the length of the column it goes to, so ragged arrays are safe.
  std::int64_t R = DestRow;
  R = std::max<std::int64_t>(
      std::min<std::int64_t>(R, static_cast<std::int64_t>(DestArray[0].size()) - 1), 0);
  const auto Row = static_cast<std::size_t>(R);
  const auto Count = static_cast<std::size_t>(HighElem - LowElem + 1);
  const T* Src = FVec.data() + (LowElem - 1);
  if (AsColumn) {
    auto& Column = DestArray[C];
    const std::size_t Room = Column.size() > Row ? Column.size() - Row : 0;
    std::copy_n(Src, std::min(Count, Room), Column.begin() + static_cast<std::ptrdiff_t>(Row));
  } else {
    const std::size_t Room = NCol - C;
    for (std::size_t K = 0; K < std::min(Count, Room); ++K) {
      auto& Column = DestArray[C + K];
      if (Row < Column.size()) Column[Row] = Src[K];
    }
  }
}

// --- fills and element-wise arithmetic --------------------------------------------------------

template <class T>
void TVectorBase<T>::Fill(T value) {
  FillWith([value] { return value; });
}

template <class T>
void TVectorBase<T>::FillSerial(T Offset, T Diff) {
  T Next = Offset;
  FillWith([&Next, Diff] {
    const T Value = Next;
    Next = E::AddElem(Next, Diff);
    return Value;
  });
}

template <class T>
void TVectorBase<T>::Clear() {
  std::fill(FVec.begin(), FVec.end(), T(0));
  FIsEmpty = true;
  Changed();
}

template <class T>
void TVectorBase<T>::AbsVal() {
  for (T& X : FVec) X = E::AbsElem(X);
  Changed();
}

template <class T>
void TVectorBase<T>::Mirror() {
  std::reverse(FVec.begin(), FVec.end());
  Changed();
}

template <class T>
void TVectorBase<T>::ShuffleElems() {
  // Reseeds from the clock, then NrOfElem exchanges of two positions drawn independently and
  // uniformly (a position may meet itself).
  NMX_platform::Randomize();
  const int N = FNElem;
  for (int K = 0; K < N; ++K) {
    const int I = NMX_platform::Random(N);
    const int J = NMX_platform::Random(N);
    std::swap(FVec[static_cast<std::size_t>(I)], FVec[static_cast<std::size_t>(J)]);
  }
}

template <class T>
void TVectorBase<T>::SMult(T scalar) {
  for (T& X : FVec) X = E::MulElem(X, scalar);
  Changed();
}

template <class T>
void TVectorBase<T>::Add(const TVectorBase* OtherVec) {
  if (OtherVec == nullptr) return;
  if (OtherVec->FNElem != FNElem) Raise(this, kDifferentDimensions);
  for (std::size_t K = 0; K < FVec.size(); ++K) FVec[K] = E::AddElem(FVec[K], OtherVec->FVec[K]);
  Changed();
}

template <class T>
void TVectorBase<T>::Subtract(const TVectorBase* OtherVec) {
  if (OtherVec == nullptr) return;
  if (OtherVec->FNElem != FNElem) Raise(this, kDifferentDimensions);
  for (std::size_t K = 0; K < FVec.size(); ++K) FVec[K] = E::SubElem(FVec[K], OtherVec->FVec[K]);
  Changed();
}

// --- statistics ------------------------------------------------------------------------------

template <class T>
void TVectorBase<T>::MeanVar(int LowElem, int HighElem, double& Mean, double& Variance) const {
  const NMX_math1::TMoments M = NMX_math1::CentralMoments(RangeOf(Data(), LowElem, HighElem).X);
  Mean = M.Sum / static_cast<double>(M.N);
  Variance = 1.0;
  if (M.N >= 3) {
    Variance = M.SampleVariance();
    if (Variance < 0.0) Variance = 0.0;  // NaN stays NaN
  }
}

template <class T>
void TVectorBase<T>::MinMax(int LowElem, int HighElem, T& Minimum, T& Maximum) const {
  int MinIx = 0, MaxIx = 0;
  MinMax(LowElem, HighElem, Minimum, Maximum, MinIx, MaxIx);
}

template <class T>
void TVectorBase<T>::MinMax(int LowElem, int HighElem, T& Minimum, T& Maximum, int& MinIx,
                            int& MaxIx) const {
  const TRange<T> R = RangeOf(Data(), LowElem, HighElem);
  Minimum = MinMaxStart<T>();
  Maximum = -MinMaxStart<T>();
  MinIx = 0;
  MaxIx = 0;
  int K = R.First;
  for (const T V : R.X) {
    if (V < Minimum) {
      Minimum = V;
      MinIx = K;
    }
    if (V > Maximum) {
      Maximum = V;
      MaxIx = K;
    }
    ++K;
  }
}

template <class T>
T TVectorBase<T>::Sum(int LowElem, int HighElem) const {
  const std::span<const T> X = RangeOf(Data(), LowElem, HighElem).X;
  if constexpr (std::is_same_v<T, double>) {
    return NMX_math1::CentralMoments(X).Sum;
  } else {
    T S = 0;
    for (const T V : X) S = E::AddElem(S, V);
    return S;
  }
}

template <class T>
double TVectorBase<T>::GeometricMean(int LowElem, int HighElem) const {
  const std::span<const T> X = RangeOf(Data(), LowElem, HighElem).X;
  bool AnyZero = false;
  double SumLn = 0.0;
  // Every element is checked for its sign, also after a zero has fixed the result.
  for (const T V : X) {
    if (V < 0) Raise(this, "negative argument passed to GeometricMean");
    if (V == 0) {
      AnyZero = true;
    } else {
      SumLn += std::log(static_cast<double>(V));
    }
  }
  if (AnyZero) return 0.0;
  return std::exp(SumLn / static_cast<double>(X.size()));
}

template <class T>
double TVectorBase<T>::HarmonicMean(int LowElem, int HighElem) const {
  const std::span<const T> X = RangeOf(Data(), LowElem, HighElem).X;
  double SumInv = 0.0;
  // A NaN is neither negative nor zero: it runs through to a NaN result.
  for (const T V : X) {
    if (V <= 0) Raise(this, "negative or zero argument passed to HarmonicMean");
    SumInv += 1.0 / static_cast<double>(V);
  }
  return static_cast<double>(X.size()) / SumInv;
}

template <class T>
void TVectorBase<T>::SkewKurtIntern(int LowElem, int HighElem, double& Skewness, double& Kurtosis,
                                    int& N) const {
  const std::span<const T> X = RangeOf(Data(), LowElem, HighElem).X;
  Skewness = 0.0;
  Kurtosis = 0.0;
  N = static_cast<int>(X.size());
  if (N < 4) return;
  const NMX_math1::TMoments M = NMX_math1::CentralMoments(X, 4);
  // All in the scaled units of the moments, which cancel in both ratios.
  const double Count = static_cast<double>(N);
  const double S = std::sqrt(M.M2 / (Count - 1.0));
  if (S == 0.0) return;
  Skewness = M.M3 / Count / S / S / S;
  Kurtosis = M.M4 / Count / (S * S * (S * S)) - 3.0;
}

template <class T>
void TVectorBase<T>::SkewKurt(int LowElem, int HighElem, double& Skewness, double& Kurtosis) const {
  int N = 0;
  SkewKurtIntern(LowElem, HighElem, Skewness, Kurtosis, N);
}

template <class T>
void TVectorBase<T>::SkewKurtSample(int LowElem, int HighElem, double& Skewness,
                                    double& Kurtosis) const {
  int N = 0;
  SkewKurtIntern(LowElem, HighElem, Skewness, Kurtosis, N);
  // Fewer than four values, and a range of equal values (for which SkewKurt reported 0 and
  // 0), have no shape to correct.
  const std::span<const T> X = RangeOf(Data(), LowElem, HighElem).X;
  const bool Equal = Skewness == 0.0 && Kurtosis == 0.0 &&
                     std::all_of(X.begin(), X.end(), [&X](T V) { return V == X[0]; });
  if (N < 4 || Equal) {
    Skewness = 0.0;
    Kurtosis = 0.0;
    return;
  }
  const double n = static_cast<double>(N);
  Kurtosis = (Kurtosis + 3.0) * n * n * (n + 1.0) / (n - 1.0) / (n - 2.0) / (n - 3.0) -
             3.0 * (n - 1.0) * (n - 1.0) / (n - 2.0) / (n - 3.0);
  Skewness = n * Skewness * n / (n - 1.0) / (n - 2.0);
}

namespace {

// A copy of X sorted ascending by NMX_math1::SortArray (which reports its passes to the
// progress hook); a copy that cannot be allocated raises "not enough memory on heap".
template <class T>
std::vector<T> SortedCopy(const NMX_platform::TComponent* Self, std::span<const T> X) {
  std::vector<T> Copy;
  try {
    Copy.assign(X.begin(), X.end());
  } catch (const std::bad_alloc&) {
    Raise(Self, NMX_nmxbase::kNoMemoryOnHeap);
  }
  NMX_math1::SortArray(std::span<T>(Copy), true);
  return Copy;
}

}  // namespace

template <class T>
bool TVectorBase<T>::Quartiles(int LowElem, int HighElem, double& Q1, double& Q2,
                               double& Q3) const {
  const auto S = SortedCopy(this, RangeOf(Data(), LowElem, HighElem).X);
  Q1 = QuartileOfSorted(S, 0.25);
  Q2 = QuartileOfSorted(S, 0.5);
  Q3 = QuartileOfSorted(S, 0.75);
  return true;
}

template <class T>
double TVectorBase<T>::Percentile(double prob, int LowElem, int HighElem) const {
  const auto S = SortedCopy(this, RangeOf(Data(), LowElem, HighElem).X);
  return PercentileOfSorted(S, prob);
}

template <class T>
T TVectorBase<T>::Mode(int LowElem, int HighElem) const {
  return ModeOfSorted(SortedCopy(this, RangeOf(Data(), LowElem, HighElem).X));
}

template <class T>
int TVectorBase<T>::Find(int LowElem, int HighElem, T value) const {
  const TRange<T> R = RangeOf(Data(), LowElem, HighElem);
  double Best = std::numeric_limits<double>::max();
  int Ix = 0, K = R.First;
  for (const T V : R.X) {
    const double D = Distance(V, value);
    if (D < Best) {
      Best = D;
      Ix = K;
    }
    ++K;
  }
  return Ix;
}

template <class T>
int TVectorBase<T>::FindExact(int LowElem, int HighElem, T value) const {
  const TRange<T> R = RangeOf(Data(), LowElem, HighElem);
  const auto It = std::find(R.X.begin(), R.X.end(), value);
  return It == R.X.end() ? 0 : R.First + static_cast<int>(It - R.X.begin());
}

template <class T>
int TVectorBase<T>::FindInSortedVector(bool Ascending, T Value) const {
  auto At = [this](int K) { return FVec[static_cast<std::size_t>(K - 1)]; };
  int Lo = 1, Hi = FNElem;
  while (Hi - Lo >= 2) {
    const int Mid = Lo + (Hi - Lo) / 2;
    const T X = At(Mid);
    if (X == Value) return Mid;
    if (Ascending ? Value > X : Value < X) {
      Lo = Mid;
    } else {
      Hi = Mid;
    }
  }
  return Distance(At(Lo), Value) < Distance(At(Hi), Value) ? Lo : Hi;
}

template <class T>
void TVectorBase<T>::SortElems(bool Ascending, int RangeFirst, int RangeLast) {
  // (0, 0) is all; reversed bounds are exchanged, then clipped.
  if (RangeFirst == 0 && RangeLast == 0) {
    RangeFirst = 1;
    RangeLast = FNElem;
  }
  if (RangeLast < RangeFirst) std::swap(RangeFirst, RangeLast);
  RangeFirst = std::clamp(RangeFirst, 1, FNElem);
  RangeLast = std::clamp(RangeLast, 1, FNElem);
  if (RangeLast - RangeFirst < 1) return;
  const auto First = static_cast<std::size_t>(RangeFirst - 1);
  const auto N = static_cast<std::size_t>(RangeLast - RangeFirst + 1);
  if (!OnSortExchange) {
    // Nobody watches the exchanges: the kernel makes the same ones at full speed.
    NMX_math1::detail::CombSort(std::span<T>(FVec).subspan(First, N), Ascending, N - 1, false);
  } else {
    // A handler may resize this vector: the elements are looked up afresh for every pair,
    // and the sort ends once the range no longer fits.
    const int Last = RangeLast;
    NMX_math1::detail::CombSortAnnounced<T>(
        [this, First](std::size_t I) -> T& { return FVec[First + I]; }, N, Ascending, N - 1,
        [this, RangeFirst, Last](std::size_t I, std::size_t J) {
          SortExchange(0, RangeFirst + static_cast<int>(I), RangeFirst + static_cast<int>(J), 0, 0);
          return FNElem >= Last;
        });
  }
  Changed();
}

template <class T>
bool TVectorBase<T>::IsDichotomous(T& v1, T& v2) const {
  const std::span<const T> X = Data();
  v1 = T(0);
  v2 = T(0);
  if (X.size() < 2) return false;
  v1 = X[0];
  v2 = X[0];
  std::size_t I = 1;
  while (I < X.size() && X[I] == v1) ++I;
  if (I == X.size()) return true;
  v2 = X[I];
  for (++I; I < X.size(); ++I) {
    if (X[I] != v1 && X[I] != v2) return false;
  }
  return true;
}

template <class T>
double TVectorBase<T>::PearsonCorrCoeff(const TVectorBase* OtherVec) const {
  if (OtherVec == nullptr || OtherVec->FNElem != FNElem || FNElem < 2) return 0.0;
  const NMX_math1::TCoMoments C = NMX_math1::CoMoments(Data(), OtherVec->Data());
  // A vector of zeros, and any constant one, has no spread: its central sum is exactly 0.
  if (C.M2X == 0.0 || C.M2Y == 0.0) return 0.0;
  return C.Correlation();
}

template <class T>
T TVectorBase<T>::DotProduct(const TVectorBase* OtherVec) const {
  if (OtherVec == nullptr) return T(0);
  if (OtherVec->FNElem != FNElem) Raise(this, kDifferentDimensions);
  T S = T(0);
  for (std::size_t I = 0; I < FVec.size(); ++I) {
    S = E::AddElem(S, E::MulElem(FVec[I], OtherVec->FVec[I]));
  }
  return S;
}

template <class T>
double TVectorBase<T>::EuclideanDistance(const TVectorBase* OtherVec) const {
  if (OtherVec == nullptr || OtherVec->FNElem != FNElem) {
    throw ENMXVectorError("EuclideanDistance: dimensions of vectors do not match");
  }
  return NMX_math1::EuclideanDistance(Data(), OtherVec->Data());
}

template class TVectorBase<double>;
template class TVectorBase<std::int32_t>;

}  // namespace NMX_vector
