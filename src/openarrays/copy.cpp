#include "nmx/openarrays/copy.h"

#include "nmx/base/errors.h"

namespace NMX_openarrays {

namespace detail {

void ThrowDeprecated() {
  throw NMX_nmxbase::ENMXError("deprecated function, see help for details");
}

}  // namespace detail

int Copy2DColTo1DArray(const NMX_nmxbase::TDouble2DArray& Src, int Col, int FirstRow, int LastRow,
                       NMX_nmxbase::TDoubleArray& Dest, int DestIx) {
  return detail::CopyLineIntoBody(Src, true, Col, FirstRow, LastRow, Dest, DestIx);
}

int Copy2DRowTo1DArray(const NMX_nmxbase::TDouble2DArray& Src, int Row, int FirstCol, int LastCol,
                       NMX_nmxbase::TDoubleArray& Dest, int DestIx) {
  return detail::CopyLineIntoBody(Src, false, Row, FirstCol, LastCol, Dest, DestIx);
}

}  // namespace NMX_openarrays
