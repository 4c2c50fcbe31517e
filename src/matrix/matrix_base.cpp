// TMatrixBase: dimensions, cells, fills and copies, once for both cell types.
#include "nmx/matrix/matrix_base.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>
#include <stdexcept>
#include <utility>

#include "math1/elem.h"
#include "nmx/base/errors.h"

namespace NMX_matrix {
namespace {

namespace E = NMX_math1::detail;
using Size = std::size_t;

Size Cells(int Nc, int Nr) noexcept {
  return static_cast<Size>(Nc) * static_cast<Size>(Nr);
}

// X clamped into 1..N.
int Clamp1(int X, int N) noexcept {
  return std::clamp(X, 1, N);
}

// Rows of a nested array, counted in its first column.
template <class A>
int RowsOf(const A& Arr) noexcept {
  return Arr.empty() ? 0 : static_cast<int>(Arr[0].size());
}

}  // namespace

// --- construction, dimensions ------------------------------------------------------------------

template <class T>
TMatrixBase<T>::TMatrixBase(NMX_platform::TComponent* AOwner) : TComponent(AOwner) {
  try {
    FMat.assign(1, T(0));
  } catch (const std::bad_alloc&) {
    RaiseNoMemory();
  }
}

template <class T>
TMatrixBase<T>::~TMatrixBase() = default;

template <class T>
void TMatrixBase<T>::RaiseNoMemory() const {
  NMX_nmxbase::RaiseComponentError<ENMXMatrixError>(this, NMX_nmxbase::kNoMemoryOnHeap);
}

template <class T>
void TMatrixBase<T>::Assign(const NMX_platform::TPersistent* Source) {
  const auto* Other = dynamic_cast<const TMatrixBase*>(Source);
  if (Other == nullptr) {
    TComponent::Assign(Source);
    return;
  }
  if (Other == this) return;
  // Every copy is made before anything changes, so a failed allocation leaves this matrix
  // as it was.
  TArray Mat;
  std::string ID;
  NMX_nmxbase::TNotifyEvent Change, Resize;
  NMX_nmxbase::TSortExchgEvent Exchange;
  TOnCalcDistanceEvent Dist;
  NMX_nmxbase::TOnPercentDoneEvent Percent;
  try {
    Mat = Other->FMat;
    ID = Other->FDataID;
    Change = Other->OnChange;
    Resize = Other->OnResize;
    Exchange = Other->OnSortExchange;
    Dist = Other->OnCalcDistance;
    Percent = Other->OnPercentDone;
  } catch (const std::bad_alloc&) {
    RaiseNoMemory();
  }
  FMat.swap(Mat);
  FNCol = Other->FNCol;
  FNRow = Other->FNRow;
  FDataID = std::move(ID);
  FPrecis[0] = Other->FPrecis[0];
  FPrecis[1] = Other->FPrecis[1];
  OnChange = std::move(Change);
  OnResize = std::move(Resize);
  OnSortExchange = std::move(Exchange);
  OnCalcDistance = std::move(Dist);
  OnPercentDone = std::move(Percent);
}

template <class T>
void TMatrixBase<T>::AssignTo(NMX_platform::TPersistent* Dest) const {
  if (auto* Other = dynamic_cast<TMatrixBase*>(Dest)) {
    Other->Assign(this);
    return;
  }
  TComponent::AssignTo(Dest);
}

template <class T>
void TMatrixBase<T>::TakeCells(int Nc, int Nr, TArray&& NewCells) {
  FMat = std::move(NewCells);
  FNCol = Nc;
  FNRow = Nr;
  Changed();
  Resized();
}

template <class T>
bool TMatrixBase<T>::Resize(int Nc, int Nr) {
  if (Nc <= 0 || Nr <= 0 || (Nc == FNCol && Nr == FNRow)) return false;
  TArray NewCells;
  try {
    NewCells.assign(Cells(Nc, Nr), T(0));
  } catch (const std::bad_alloc&) {
    RaiseNoMemory();
  } catch (const std::length_error&) {
    RaiseNoMemory();
  }
  const int KeepCols = std::min(Nc, FNCol);
  const auto KeepRows = static_cast<Size>(std::min(Nr, FNRow));
  for (int C = 0; C < KeepCols; ++C) {
    const auto From = FMat.begin() + static_cast<std::ptrdiff_t>(Cells(C, FNRow));
    std::copy(From, From + static_cast<std::ptrdiff_t>(KeepRows),
              NewCells.begin() + static_cast<std::ptrdiff_t>(Cells(C, Nr)));
  }
  TakeCells(Nc, Nr, std::move(NewCells));
  return true;
}

template <class T>
bool TMatrixBase<T>::ResizeAndClear(int Nc, int Nr) {
  if (!Resize(Nc, Nr)) return false;
  Fill(T(0));
  Changed();
  Resized();
  return true;
}

template <class T>
void TMatrixBase<T>::SetNCols(int Nc) {
  Resize(std::max(Nc, 0), FNRow);
}

template <class T>
void TMatrixBase<T>::SetNRows(int Nr) {
  Resize(FNCol, std::max(Nr, 0));
}

template <class T>
void TMatrixBase<T>::SetFPrecis(int ix, int value) noexcept {
  FPrecis[ix > 1 ? 1 : 0] = std::clamp(value, -1, 25);
}

template <class T>
bool TMatrixBase<T>::RemoveColumn(int col) {
  if (col < 1 || col > FNCol || FNCol == 1) return false;
  const auto First = FMat.begin() + static_cast<std::ptrdiff_t>(Offset(col, 1));
  std::copy(First + FNRow, FMat.end(), First);
  Resize(FNCol - 1, FNRow);
  return true;
}

template <class T>
bool TMatrixBase<T>::RemoveRow(int row) {
  if (row < 1 || row > FNRow || FNRow == 1) return false;
  for (int C = 1; C <= FNCol; ++C) {
    const auto Col = FMat.begin() + static_cast<std::ptrdiff_t>(Offset(C, 1));
    std::copy(Col + row, Col + FNRow, Col + (row - 1));
  }
  Resize(FNCol, FNRow - 1);
  return true;
}

template <class T>
int TMatrixBase<T>::MakeValidColRange(int& LowCol, int& HighCol) const noexcept {
  return E::ValidRange(FNCol, LowCol, HighCol);
}

template <class T>
int TMatrixBase<T>::MakeValidRowRange(int& LowRow, int& HighRow) const noexcept {
  return E::ValidRange(FNRow, LowRow, HighRow, /*ExchangeCounts=*/true);
}

template <class T>
std::string TMatrixBase<T>::CRCofData() const {
  return E::CellsChecksum(Data());
}

template <class T>
void TMatrixBase<T>::PercDone(NMX_platform::TObject* /*Sender*/, int PercentDone) {
  if (OnPercentDone) OnPercentDone(this, PercentDone);
}

// --- filling -----------------------------------------------------------------------------------

template <class T>
void TMatrixBase<T>::Fill(T value) {
  std::fill(FMat.begin(), FMat.end(), value);
  Changed();
}

template <class T>
void TMatrixBase<T>::Fill(int LowCol, int HighCol, int LowRow, int HighRow, T value) {
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  for (int C = LowCol; C <= HighCol; ++C) {
    const auto First = FMat.begin() + static_cast<std::ptrdiff_t>(Offset(C, LowRow));
    std::fill(First, First + (HighRow - LowRow + 1), value);
  }
  Changed();
}

template <class T>
void TMatrixBase<T>::FillDiag(T value) {
  const int N = std::min(FNCol, FNRow);
  for (int I = 1; I <= N; ++I) FMat[Offset(I, I)] = value;
  Changed();
}

template <class T>
void TMatrixBase<T>::FillSerial(T Offset_, T Diff) {
  T X = Offset_;
  for (T& Cell : FMat) {
    Cell = X;
    X = E::AddElem(X, Diff);
  }
}

// --- copies between matrices -------------------------------------------------------------------

template <class T>
void TMatrixBase<T>::Clone(const TMatrixBase* MatSource) {
  if (MatSource == nullptr) return;
  Resize(MatSource->FNCol, MatSource->FNRow);
  if (MatSource != this) {
    for (int C = 1; C <= MatSource->FNCol; ++C) {
      for (int R = 1; R <= MatSource->FNRow; ++R) PutVal(C, R, MatSource->GetVal(C, R));
    }
  }
  Changed();
  Resized();
}

template <class T>
void TMatrixBase<T>::CopyFrom(const TMatrixBase* MatSource, int SourceColLo, int SourceRowLo,
                              int SourceColHi, int SourceRowHi, int DestCol, int DestRow) {
  if (MatSource == nullptr) return;
  const int NC = MatSource->FNCol, NR = MatSource->FNRow;
  SourceColLo = Clamp1(SourceColLo, NC);
  SourceColHi = Clamp1(SourceColHi, NC);
  SourceRowLo = Clamp1(SourceRowLo, NR);
  SourceRowHi = Clamp1(SourceRowHi, NR);
  if (SourceColLo > SourceColHi) std::swap(SourceColLo, SourceColHi);
  if (SourceRowLo > SourceRowHi) std::swap(SourceRowLo, SourceRowHi);
  // A copy of a matrix onto an overlapping part of itself reads the block first.
  TMatrixBase Scratch(nullptr);
  const TMatrixBase* Src = MatSource;
  if (MatSource == this) {
    Scratch.FMat = FMat;
    Scratch.FNCol = FNCol;
    Scratch.FNRow = FNRow;
    Src = &Scratch;
  }
  for (int C = SourceColLo; C <= SourceColHi; ++C) {
    const std::int64_t DC = std::int64_t{C} - SourceColLo + DestCol;
    if (DC > FNCol) break;
    for (int R = SourceRowLo; R <= SourceRowHi; ++R) {
      const std::int64_t DR = std::int64_t{R} - SourceRowLo + DestRow;
      if (DR > FNRow) break;
      PutVal(static_cast<int>(DC), static_cast<int>(DR), Src->GetVal(C, R));
    }
  }
  Changed();
}

// --- copies to vectors and 1-D arrays ----------------------------------------------------------

template <class T>
void TMatrixBase<T>::CopyLineToVec(TVectorOf* DestVec, bool AlongRow, int Line, int First,
                                   int Last, int DestElem, bool WithDest) const {
  if (DestVec == nullptr) return;
  if (AlongRow) {
    MakeValidColRange(First, Last);
    Line = Clamp1(Line, FNRow);
  } else {
    MakeValidRowRange(First, Last);
    Line = Clamp1(Line, FNCol);
  }
  const int NElem = DestVec->NrOfElem();
  const int N = Last - First + 1;
  if (WithDest) {
    if (DestElem > NElem || DestElem < 2 - N) return;
    if (N > NElem - DestElem + 1) Last = NElem + First - DestElem;
  } else {
    DestElem = 1;
    if (N > NElem) Last = First + NElem - 1;
  }
  DestVec->Fill(T(0));
  for (int K = First; K <= Last; ++K) {
    DestVec->SetVal(DestElem + K - First, AlongRow ? GetVal(K, Line) : GetVal(Line, K));
  }
}

template <class T>
void TMatrixBase<T>::CopyRowToVec(TVectorOf* DestVec, int Row, int FirstCol, int LastCol) const {
  CopyLineToVec(DestVec, true, Row, FirstCol, LastCol, 1, false);
}

template <class T>
void TMatrixBase<T>::CopyRowToVec(TVectorOf* DestVec, int Row, int FirstCol, int LastCol,
                                  int DestElem) const {
  CopyLineToVec(DestVec, true, Row, FirstCol, LastCol, DestElem, true);
}

template <class T>
void TMatrixBase<T>::CopyColToVec(TVectorOf* DestVec, int Col, int FirstRow, int LastRow) const {
  CopyLineToVec(DestVec, false, Col, FirstRow, LastRow, 1, false);
}

template <class T>
void TMatrixBase<T>::CopyColToVec(TVectorOf* DestVec, int Col, int FirstRow, int LastRow,
                                  int DestElem) const {
  CopyLineToVec(DestVec, false, Col, FirstRow, LastRow, DestElem, true);
}

template <class T>
template <class Out>
void TMatrixBase<T>::CopyLineTo1DArray(std::vector<Out>& Dest, bool AlongRow, int Line,
                                       int First, int Last, int DestElem) const {
  if (Dest.empty()) return;
  if (AlongRow) {
    MakeValidColRange(First, Last);
    Line = Clamp1(Line, FNRow);
  } else {
    MakeValidRowRange(First, Last);
    Line = Clamp1(Line, FNCol);
  }
  const auto Len = static_cast<std::int64_t>(Dest.size());
  const std::int64_t N = Last - First + 1;
  if (DestElem > Len - 1 || DestElem + N - 1 < 0) return;
  std::fill(Dest.begin(), Dest.end(), Out(0));
  for (int K = First; K <= Last; ++K) {
    const std::int64_t Ix = std::int64_t{DestElem} + K - First;
    if (Ix >= 0 && Ix < Len) {
      Dest[static_cast<Size>(Ix)] = AlongRow ? GetVal(K, Line) : GetVal(Line, K);
    }
  }
}

template <class T>
void TMatrixBase<T>::CopyColTo1DArray(TArray& Dest, int Col, int FirstRow, int LastRow,
                                      int DestElem) const {
  CopyLineTo1DArray(Dest, false, Col, FirstRow, LastRow, DestElem);
}

template <class T>
void TMatrixBase<T>::CopyRowTo1DArray(TArray& Dest, int Row, int FirstCol, int LastCol,
                                      int DestElem) const {
  CopyLineTo1DArray(Dest, true, Row, FirstCol, LastCol, DestElem);
}

// --- copies from vectors -----------------------------------------------------------------------

template <class T>
void TMatrixBase<T>::CopyFromVec(NMX_nmxbase::TDims Dim, const TVectorOf* Src, int FirstElem,
                                 int LastElem, int DestCol, int DestRow) {
  if (Src == nullptr) return;
  Src->MakeValidElemRange(FirstElem, LastElem);
  if (Dim == NMX_nmxbase::dimColumns || Dim == NMX_nmxbase::dimRows) {
    const bool Down = Dim == NMX_nmxbase::dimRows;
    for (int E = FirstElem; E <= LastElem; ++E) {
      const std::int64_t Step = std::int64_t{E} - FirstElem;
      const std::int64_t C = Down ? DestCol : DestCol + Step;
      const std::int64_t R = Down ? DestRow + Step : DestRow;
      if (C > FNCol || R > FNRow) break;
      PutVal(static_cast<int>(C), static_cast<int>(R), Src->GetVal(E));
    }
  }
  Changed();
}

template <class T>
void TMatrixBase<T>::CopyFromVec(const TVectorOf* Src, int FirstElem, int LastElem, int DestCol,
                                 int DestRow) {
  CopyFromVec(NMX_nmxbase::dimRows, Src, FirstElem, LastElem, DestCol, DestRow);
}

template <class T>
void TMatrixBase<T>::CopyFromVec(const TVectorOf* Src, int FirstElem, int LastElem, int DestCol,
                                 int DestRow, bool AsColumn) {
  CopyFromVec(AsColumn ? NMX_nmxbase::dimRows : NMX_nmxbase::dimColumns, Src, FirstElem, LastElem,
              DestCol, DestRow);
}

// --- copies to and from 2-D arrays -------------------------------------------------------------

template <class T>
template <class Out>
int TMatrixBase<T>::CopyToArrayOf(std::vector<std::vector<Out>>& Dest, int SrcColLo,
                                  int SrcRowLo, int SrcColHi, int SrcRowHi, int DestCol,
                                  int DestRow) const {
  if (Dest.empty() || Dest[0].empty()) return -1;
  if (MakeValidColRange(SrcColLo, SrcColHi) != 0) return -2;
  if (MakeValidRowRange(SrcRowLo, SrcRowHi) != 0) return -3;
  const auto DCols = static_cast<std::int64_t>(Dest.size());
  const auto DRows = static_cast<std::int64_t>(Dest[0].size());
  if (DestCol < 0 || DestCol >= DCols || DestRow < 0 || DestRow >= DRows) return -4;
  // The block cut to fit into Dest.
  const int LastCol = static_cast<int>(std::min<std::int64_t>(SrcColHi, SrcColLo + DCols - DestCol - 1));
  const int LastRow = static_cast<int>(std::min<std::int64_t>(SrcRowHi, SrcRowLo + DRows - DestRow - 1));
  for (int C = SrcColLo; C <= LastCol; ++C) {
    auto& Column = Dest[static_cast<Size>(C - SrcColLo + DestCol)];
    for (int R = SrcRowLo; R <= LastRow; ++R) {
      const auto Ix = static_cast<Size>(R - SrcRowLo + DestRow);
      if (Ix >= Column.size()) break;
      Column[Ix] = E::ConvertElem<Out>(FMat[Offset(C, R)]);
    }
  }
  return 0;
}

template <class T>
int TMatrixBase<T>::CopyToArray(NMX_nmxbase::TDouble2DArray& Dest, int SrcColLo, int SrcRowLo,
                                int SrcColHi, int SrcRowHi, int DestCol, int DestRow) const {
  return CopyToArrayOf(Dest, SrcColLo, SrcRowLo, SrcColHi, SrcRowHi, DestCol, DestRow);
}

template <class T>
int TMatrixBase<T>::CopyToArray(NMX_nmxbase::TInt2DArray& Dest, int SrcColLo, int SrcRowLo,
                                int SrcColHi, int SrcRowHi, int DestCol, int DestRow) const {
  return CopyToArrayOf(Dest, SrcColLo, SrcRowLo, SrcColHi, SrcRowHi, DestCol, DestRow);
}

template <class T>
template <class In>
int TMatrixBase<T>::CopyFrom1D(const std::vector<In>& Src, int FirstElem, int LastElem, int Col,
                               int Row, bool AsColumn) {
  if (Src.empty()) return -1;
  const auto Len = static_cast<std::int64_t>(Src.size());
  if (FirstElem == 0 && LastElem == 0) LastElem = static_cast<int>(std::min<std::int64_t>(Len - 1, INT32_MAX));
  if (FirstElem < 0 || FirstElem >= Len || LastElem < 0 || LastElem >= Len) return -4;
  if (!Inside(Col, Row)) return -5;
  if (FirstElem > LastElem) std::swap(FirstElem, LastElem);
  for (int I = FirstElem; I <= LastElem; ++I) {
    const std::int64_t C = AsColumn ? Col : std::int64_t{Col} + I;
    const std::int64_t R = AsColumn ? std::int64_t{Row} + I : Row;
    if (C > FNCol || R > FNRow) break;
    PutVal(static_cast<int>(C), static_cast<int>(R), E::ConvertElem<T>(Src[static_cast<Size>(I)]));
  }
  return 0;
}

template <class T>
int TMatrixBase<T>::CopyFromArray(const NMX_nmxbase::TDoubleArray& Src, int FirstElem,
                                  int LastElem, int Col, int Row, bool AsColumn) {
  return CopyFrom1D(Src, FirstElem, LastElem, Col, Row, AsColumn);
}

template <class T>
int TMatrixBase<T>::CopyFromArray(const NMX_nmxbase::TIntArray& Src, int FirstElem, int LastElem,
                                  int Col, int Row, bool AsColumn) {
  return CopyFrom1D(Src, FirstElem, LastElem, Col, Row, AsColumn);
}

template <class T>
template <class In>
int TMatrixBase<T>::CopyFrom2D(const std::vector<std::vector<In>>& Src, int SrcColLo,
                               int SrcRowLo, int SrcColHi, int SrcRowHi, int Col, int Row) {
  const int SCols = static_cast<int>(std::min<Size>(Src.size(), INT32_MAX));
  const int SRows = RowsOf(Src);
  if (SCols == 0 || SRows == 0) return -1;
  if (SrcColLo == 0 && SrcColHi == 0) SrcColHi = SCols - 1;
  if (SrcRowLo == 0 && SrcRowHi == 0) SrcRowHi = SRows - 1;
  if (SrcColLo < 0 || SrcColLo >= SCols || SrcColHi < 0 || SrcColHi >= SCols) return -2;
  if (SrcRowLo < 0 || SrcRowLo >= SRows || SrcRowHi < 0 || SrcRowHi >= SRows) return -3;
  if (!Inside(Col, Row)) return -5;
  for (int I = SrcColLo; I <= SrcColHi; ++I) {
    const std::int64_t C = std::int64_t{Col} + I;
    if (C > FNCol) break;
    const auto& Column = Src[static_cast<Size>(I)];
    for (int J = SrcRowLo; J <= SrcRowHi; ++J) {
      const std::int64_t R = std::int64_t{Row} + J;
      if (R > FNRow || static_cast<Size>(J) >= Column.size()) break;
      PutVal(static_cast<int>(C), static_cast<int>(R), E::ConvertElem<T>(Column[static_cast<Size>(J)]));
    }
  }
  return 0;
}

template <class T>
int TMatrixBase<T>::CopyFromArray(const NMX_nmxbase::TDouble2DArray& Src, int SrcColLo,
                                  int SrcRowLo, int SrcColHi, int SrcRowHi, int Col, int Row) {
  return CopyFrom2D(Src, SrcColLo, SrcRowLo, SrcColHi, SrcRowHi, Col, Row);
}

template <class T>
int TMatrixBase<T>::CopyFromArray(const NMX_nmxbase::TInt2DArray& Src, int SrcColLo,
                                  int SrcRowLo, int SrcColHi, int SrcRowHi, int Col, int Row) {
  return CopyFrom2D(Src, SrcColLo, SrcRowLo, SrcColHi, SrcRowHi, Col, Row);
}

template <class T>
int TMatrixBase<T>::DuplicateDataAsArray(T2DArray& Dest) const {
  if (Dest.empty()) return -1;
  T2DArray Copy(static_cast<Size>(FNCol));
  for (int C = 1; C <= FNCol; ++C) {
    const auto Col = Column(C);
    Copy[static_cast<Size>(C - 1)].assign(Col.begin(), Col.end());
  }
  Dest.swap(Copy);
  return 0;
}

template class TMatrixBase<double>;
template class TMatrixBase<std::int32_t>;

}  // namespace NMX_matrix
