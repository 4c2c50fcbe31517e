#include "nmx/openarrays/reshape.h"

#include <gtest/gtest.h>

#include "openarrays/nd_builders.h"

namespace {

using namespace NMX_openarrays;
using namespace oa_test;

TEST(SerializeArray, ColumnAndRowOrder) {
  // 2 columns of 3 rows.
  const TInt2DArray A{{1, 2, 3}, {4, 5, 6}};
  TIntArray B{9};
  SerializeArray(A, true, B);
  EXPECT_EQ(B, (TIntArray{1, 2, 3, 4, 5, 6}));
  SerializeArray(A, false, B);
  EXPECT_EQ(B, (TIntArray{1, 4, 2, 5, 3, 6}));
  TDoubleArray Kept{9};
  SerializeArray(TDouble2DArray{}, true, Kept);
  SerializeArray(TDouble2DArray{{1, 2}, {3}}, true, Kept);  // ragged
  EXPECT_EQ(Kept, TDoubleArray{9});
}

TEST(RemoveRowColumn, ShiftAndShrink) {
  TInt2DArray A{{1, 2, 3}, {4, 5, 6}};
  ASSERT_TRUE(RemoveRow(A, 1));
  EXPECT_EQ(A, (TInt2DArray{{1, 3}, {4, 6}}));
  ASSERT_TRUE(RemoveColumn(A, 0));
  EXPECT_EQ(A, (TInt2DArray{{4, 6}}));
  ASSERT_TRUE(RemoveRow(A, 1));
  ASSERT_TRUE(RemoveRow(A, 0));
  EXPECT_EQ(A, TInt2DArray{{}});  // one column of no rows

  struct Case {
    TDouble2DArray A;
    int Index;
  };
  const Case Rows[] = {{{{1, 2}, {3, 4}}, 2}, {{{1, 2}, {3, 4}}, -1}, {{}, 0}, {{{1, 2}, {3}}, 0}};
  for (const Case& C : Rows) {
    SCOPED_TRACE(::testing::Message() << C.A.size() << " columns, index " << C.Index);
    TDouble2DArray X = C.A;
    EXPECT_FALSE(RemoveRow(X, C.Index));
    EXPECT_FALSE(RemoveColumn(X, C.Index));
    EXPECT_EQ(X, C.A);
  }
  // Elements past a column's row extent go with the shrink, as for any result.
  TDouble2DArray Long{{1, 2}, {3, 4, 99}};
  ASSERT_TRUE(RemoveColumn(Long, 0));
  EXPECT_EQ(Long, (TDouble2DArray{{3, 4}}));
}

}  // namespace
