// The base library's shared types: dynamic arrays, points, callback shapes and enumerations.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "nmx/platform/object.h"

namespace NMX_nmxbase {

// Dynamic arrays are 0-based. A two-dimensional array is an array of columns, addressed
// [column][row]; functions over them take each extent along the first path (A.size(), then
// A[0].size(), ...) and treat the array as rectangular.
using TDoubleArray = std::vector<double>;
using TDouble2DArray = std::vector<TDoubleArray>;
using TDouble3DArray = std::vector<TDouble2DArray>;
using TDouble4DArray = std::vector<TDouble3DArray>;
using TIntArray = std::vector<std::int32_t>;
using TInt2DArray = std::vector<TIntArray>;
using TInt3DArray = std::vector<TInt2DArray>;
using TInt4DArray = std::vector<TInt3DArray>;
using TSingleArray = std::vector<float>;
using TBoolArray = std::vector<bool>;
using TBool2DArray = std::vector<TBoolArray>;
using TStrArray = std::vector<std::string>;
using TStr2DArray = std::vector<TStrArray>;
using TOpenStringArray = std::vector<std::string>;

/// A point of the plane in doubles.
struct TPointDouble {
  double x = 0.0;
  double y = 0.0;
  friend bool operator==(const TPointDouble&, const TPointDouble&) = default;
};

/// A point of the plane in integers (pixel positions, integer polygons).
struct TPointInt {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const TPointInt&, const TPointInt&) = default;
};

using TPDblArray = std::vector<TPointDouble>;
using TPIntArray = std::vector<TPointInt>;

/// A rectangle in doubles.
struct TRectDouble {
  double left = 0.0;
  double top = 0.0;
  double right = 0.0;
  double bottom = 0.0;
  friend bool operator==(const TRectDouble&, const TRectDouble&) = default;
};

// Callback shapes. Sender comes first; handlers are plain std::function objects, so a lambda,
// a bound member function or a free function will do. An empty function means "not set".

/// The notify callback: something happened to Sender.
using TNotifyEvent = std::function<void(NMX_platform::TObject* Sender)>;
/// Progress in percent.
using TOnPercentDoneEvent = std::function<void(NMX_platform::TObject* Sender, int PercentDone)>;
/// One exchange made by a sort. What: 0 elements, 1 columns, 2 rows; Index1 and Index2 are
/// the exchanged positions, First and Last the range the exchange concerns (0, 0 if none).
using TSortExchgEvent = std::function<void(NMX_platform::TObject* Sender, std::uint8_t What,
                                           int Index1, int Index2, int First, int Last)>;
/// Asked periodically by long runs; setting Abort to true ends the run.
using TOnCheckAbortEvent = std::function<void(NMX_platform::TObject* Sender, bool& Abort)>;
/// One piece of text produced by an export, offered to the caller before it is written.
using TExportTextEvent = std::function<void(NMX_platform::TObject* Sender, std::string& Text)>;

// Enumerations. Their ordinals are part of the contract (files and callers store them), so
// each value is given explicitly.

enum TDims : std::uint8_t { dimColumns = 0, dimRows = 1 };
enum TApplyColRow : std::uint8_t { acrColumns = 0, acrRows = 1 };
enum TOrientation : std::uint8_t { orRowwise = 0, orColwise = 1 };
enum TEdgeOp : std::uint8_t { eoMin = 0, eoMax = 1, eoSum = 2, eoMean = 3, eoStdDev = 4 };
enum TDistMode : std::uint8_t {
  dmTanimoto = 0,
  dmManhattan = 1,
  dmEuclidean = 2,
  dmSqrEuclidean = 3,
  dmDice = 4,
  dmUserDefined = 5
};

/// Element type of an untyped array: 0 and 1 are 8-byte doubles, 2 a 4-byte single, 3 and 4
/// 32-bit signed integers. Other ordinals make the untyped operations do nothing.
enum TVarKind : std::uint8_t {
  vkDouble = 0,
  vkReal = 1,
  vkSingle = 2,
  vkInteger = 3,
  vkLongint = 4
};

/// Logical combination of two bits: A op B, or A op (not B) for the "not" forms.
enum TLogicOp : std::uint8_t {
  loAnd = 0,
  loOr = 1,
  loXor = 2,
  loAndNot = 3,
  loOrNot = 4,
  loXorNot = 5
};

}  // namespace NMX_nmxbase
