// The members of the open-array families, as lists for explicit instantiation: each source
// file defines a family's template once and instantiates it for exactly the array types its
// constraint admits, so callers link against bodies compiled here, with the library's flags.
//
//   #define NMX_INST(A) template NMX_API int AbsValArray<A>(A&);
//   NMX_NUM_1_4(NMX_INST)
#pragma once

#include "nmx/base/types.h"

namespace NMX_openarrays::detail {
using NMX_nmxbase::TBool2DArray;
using NMX_nmxbase::TBoolArray;
using NMX_nmxbase::TDouble2DArray;
using NMX_nmxbase::TDouble3DArray;
using NMX_nmxbase::TDouble4DArray;
using NMX_nmxbase::TDoubleArray;
using NMX_nmxbase::TInt2DArray;
using NMX_nmxbase::TInt3DArray;
using NMX_nmxbase::TInt4DArray;
using NMX_nmxbase::TIntArray;
using NMX_nmxbase::TSingleArray;
}  // namespace NMX_openarrays::detail

// Double and 32-bit integer arrays of one rank.
#define NMX_NUM_1(X) X(detail::TDoubleArray) X(detail::TIntArray)
#define NMX_NUM_2(X) X(detail::TDouble2DArray) X(detail::TInt2DArray)
#define NMX_NUM_3(X) X(detail::TDouble3DArray) X(detail::TInt3DArray)
#define NMX_NUM_4(X) X(detail::TDouble4DArray) X(detail::TInt4DArray)
// Double arrays of rank 1 to 4, integer arrays of rank 1 to 4 and 1 to 3.
#define NMX_DBL_1_4(X)    \
  X(detail::TDoubleArray) \
  X(detail::TDouble2DArray) X(detail::TDouble3DArray) X(detail::TDouble4DArray)
#define NMX_INT_1_3(X) X(detail::TIntArray) X(detail::TInt2DArray) X(detail::TInt3DArray)
#define NMX_INT_1_4(X) NMX_INT_1_3(X) X(detail::TInt4DArray)
// Double and integer arrays of rank 1 to 3, 1 to 4, 2 to 4, 1 to 2.
#define NMX_NUM_1_2(X) NMX_NUM_1(X) NMX_NUM_2(X)
#define NMX_NUM_1_3(X) NMX_NUM_1_2(X) NMX_NUM_3(X)
#define NMX_NUM_1_4(X) NMX_NUM_1_3(X) NMX_NUM_4(X)
#define NMX_NUM_2_4(X) NMX_NUM_2(X) NMX_NUM_3(X) NMX_NUM_4(X)
// Boolean arrays.
#define NMX_BOOL_1_2(X) X(detail::TBoolArray) X(detail::TBool2DArray)
