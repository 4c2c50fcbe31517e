// TVector, the component holding a vector of doubles.
#pragma once

#include <string>

#include "nmx/base/types.h"
#include "nmx/config.h"
#include "nmx/platform/component.h"
#include "nmx/vector/errors.h"
#include "nmx/vector/integ_method.h"
#include "nmx/vector/intvector.h"
#include "nmx/vector/vector_base.h"

namespace NMX_vector {

/// A vector of doubles, addressed 1..NrOfElem, with change notifications. Everything it
/// shares with TIntVector (storage, access, copies, fills, arithmetic, statistics, sorting,
/// the ASC, list and stream readers) is documented in TVectorBase; here is what only a vector
/// of doubles has.
class NMX_API TVector : public TVectorBase<double> {
 public:
  /// One element, value 0; IsEmpty is true and no handler is set. Raises ENMXVectorError
  /// ("not enough memory on heap") when the element cannot be allocated.
  explicit TVector(NMX_platform::TComponent* AOwner = nullptr);

  std::string ClassName() const override { return "TVector"; }

  /// Resize(NE) when NE > 0 and differs from NrOfElem; other values are ignored.
  void SetVecSize(int NE);

  /// Multiplies every element by x / L, L being CalcVecLeng, and fires OnChange; nothing
  /// happens when L <= 0. Where x / L itself overflows (L tiny), each element is divided by L
  /// first and then multiplied by x, so representable results stay finite.
  void SetVecLeng(double x);
  /// Every element := RangeLow + u * (RangeHigh - RangeLow), u uniform in [0, 1) from the
  /// platform generator, drawn in element order.
  void FillRandomUniform(double RangeLow, double RangeHigh);
  /// Every element := g * StdDev + Mean, g a standard normal variate (NMX_math1::GRandom).
  void FillRandomGauss(double Mean, double StdDev);
  /// Counts the values of elements FirstElem..LastElem (not clipped: indices outside the
  /// vector read 0, so (0, 0) counts one 0; none for LastElem < FirstElem) into
  /// round(|LastBin - FirstBin| / BinWidth) + 1 bins, bin k covering [FirstBin + k BinWidth,
  /// FirstBin + (k + 1) BinWidth). Values below FirstBin count as Underflow; values from
  /// LastBin + BinWidth up, and values that map to a bin index beyond the last bin (possible
  /// when LastBin - FirstBin is not a multiple of BinWidth), as Overflow. NaN values are not
  /// counted. MaxCnt is the largest bin count. Histo gets exactly the bins. Returns false and
  /// changes nothing for more than 500 bins or a BinWidth that is not > 0.
  bool Histogram(int FirstElem, int LastElem, double FirstBin, double LastBin, double BinWidth,
                 NMX_nmxbase::TIntArray& Histo, int& Underflow, int& Overflow, int& MaxCnt) const;
  /// The same into an integer vector, which is resized to the number of bins (SetIntVecSize)
  /// and receives the counts in elements 1..NBins (CopyFrom, so its handlers fire). A nullptr
  /// Histo returns false and changes nothing.
  bool Histogram(int FirstElem, int LastElem, double FirstBin, double LastBin, double BinWidth,
                 TIntVector* Histo, int& Underflow, int& Overflow, int& MaxCnt) const;
  /// Integrates the elements as samples at 1, 2, ..., NrOfElem between BoundLow and
  /// BoundHigh (each clamped to 1..NrOfElem, exchanged if reversed). The stretches between a
  /// bound and its nearest sample are trapezoids with the bound's value interpolated; the
  /// samples a..b inside the bounds go by Method: imSimple takes their mean times the width,
  /// imTrapezoidal adds trapezoids, imSimpson uses Simpson's rule for 3 samples, the
  /// three-eighths rule for 4, Boole's rule for 5 and the alternative extended Simpson rule
  /// for more (trapezoids for 1 or 2), summed in extended precision. Any other Method gives 0;
  /// a NaN bound gives NaN.
  double Integrate(double BoundLow, double BoundHigh, TIntegMethod Method) const;
  /// The lagged cross product sum of x(i) y(i - ElemShift) over the indices where both exist;
  /// 0 for a nullptr and when fewer than two indices overlap.
  double Correlate(const TVector* OtherVec, int ElemShift) const;
  /// Gives mean and stddev of all elements (MeanVar) and, when stddev > 0, replaces every x
  /// by (x - mean) / stddev. One or two elements have stddev 1.
  void Standardize(double& mean, double& stddev);
  /// Median := Percentile(50), QuantDiff := |Median - Percentile(RefQuant)| over all
  /// elements; when QuantDiff > 0, every x becomes (x - Median) / QuantDiff.
  void QNormalize(double RefQuant, double& Median, double& QuantDiff);
  /// Subtracts the mean of all elements from each of them and returns that mean.
  double MeanCenter();

  // --- files --------------------------------------------------------------------------------

  /// Writes the vector as an ASC data file of one column: the comment (line feeds replaced by
  /// blanks; an empty Comment gives "Exported by NMX TVector component: " and FName), the
  /// counts 1 and NrOfElem, the flags "FALSE FALSE FALSE FALSE", then each element as
  /// NMX_stringl::strff(value, 12, Precision). Returns 0, or -1 when the file cannot be
  /// created (nothing is written). Raises NMX_platform::EInOutError when a write fails after
  /// the file was created.
  int ExportAsASC(const std::string& FName, int Precision, const std::string& Comment) const;
  /// Writes elements FirstElem..LastElem (exchanged if reversed, then made valid with
  /// MakeValidElemRange) to a list file: the line "FirstElem LastElem", then one value a line.
  /// Precision 0..20 gives that many decimals in fixed point, without padding; -1 and -2
  /// give scientific notation of exactly 13 and 26 characters: a blank or '-', one digit, the
  /// point, 4 or 17 decimals, 'E', the exponent's sign and four digits (1234.56 with -1 is
  /// " 1.2346E+0003"). Precision below -2 counts as 2, above 20 as 20. Returns false when the
  /// file cannot be created; write errors after that are ignored and the result is true.
  bool StoreOnFile(int FirstElem, int LastElem, int Precision, const std::string& FileName) const;
  /// The list-file reader of TVectorBase, beside the auto-detecting form below.
  using TVectorBase<double>::LoadFromFile;
  /// With AutoDetect false the two-argument LoadFromFile. With AutoDetect true it reads a
  /// plain list of numbers: AdjustVectorSize resizes the vector to the number of lines that
  /// hold a decimal digit; then elements 1..NrOfElem take the words of those lines in order,
  /// across line breaks (a word that is no number leaves its element as it was, and reading
  /// stops where the file ends). Lines without a digit, such as a title "temperature", are
  /// passed over whole, as they were not counted. Fires OnChange and returns true; false when
  /// the file cannot be opened.
  bool LoadFromFile(const std::string& FileName, bool AdjustVectorSize, bool AutoDetect);
};

}  // namespace NMX_vector
