#include "nmx/openarrays/reshape.h"

#include <cstddef>
#include <iterator>
#include <utility>

#include "openarrays/instantiate.h"
#include "openarrays/nd.h"

namespace NMX_openarrays {

template <class Arr>
requires NumArray<Arr, 2, 2>
void SerializeArray(const Arr& A, bool ColumnWise, NestedOf<ElemOf<Arr>, 1>& B) {
  if (!detail::IsUsable(A)) return;
  const auto E = detail::Extents(A);
  const std::size_t Cols = E[0], Rows = E[1];
  NestedOf<ElemOf<Arr>, 1> Out(Cols * Rows);
  for (std::size_t C = 0; C < Cols; ++C) {
    for (std::size_t R = 0; R < Rows; ++R) {
      Out[ColumnWise ? R + C * Rows : C + R * Cols] = A[C][R];
    }
  }
  B = std::move(Out);
}

template <class Arr>
requires NumArray<Arr, 2, 2>
bool RemoveRow(Arr& A, int Row) {
  if (!detail::IsUsable(A)) return false;
  const auto E = detail::Extents(A);
  if (!detail::InExtent(Row, E[1])) return false;
  for (auto& Column : A) {
    // Excess elements beyond the row extent are dropped with the resize, as for any result.
    Column.resize(E[1]);
    Column.erase(std::next(Column.begin(), Row));
  }
  return true;
}

template <class Arr>
requires NumArray<Arr, 2, 2>
bool RemoveColumn(Arr& A, int Col) {
  if (!detail::IsUsable(A)) return false;
  const auto E = detail::Extents(A);
  if (!detail::InExtent(Col, E[0])) return false;
  A.resize(E[0]);
  A.erase(std::next(A.begin(), Col));
  for (auto& Column : A) Column.resize(E[1]);
  return true;
}

#define NMX_INST(A)                                                         \
  template void SerializeArray<A>(const A&, bool, NestedOf<ElemOf<A>, 1>&); \
  template bool RemoveRow<A>(A&, int);                                      \
  template bool RemoveColumn<A>(A&, int);
NMX_NUM_2(NMX_INST)
#undef NMX_INST

}  // namespace NMX_openarrays
