// Small helpers shared by the vector tests: fill a vector from a list, read its elements back,
// and catch the message of an ENMXVectorError.
#pragma once

#include <string>

#include "nmx/base/types.h"
#include "nmx/vector/errors.h"
#include "nmx/vector/intvector.h"
#include "nmx/vector/vector.h"

namespace vec_test {

/// Resizes V to the values of X and stores them through SetVal.
inline void SetValues(NMX_vector::TVector& V, const NMX_nmxbase::TDoubleArray& X) {
  V.Resize(static_cast<int>(X.size()));
  for (std::size_t K = 0; K < X.size(); ++K) V.SetVal(static_cast<int>(K + 1), X[K]);
}

inline void SetValues(NMX_vector::TIntVector& V, const NMX_nmxbase::TIntArray& X) {
  V.Resize(static_cast<int>(X.size()));
  for (std::size_t K = 0; K < X.size(); ++K) V.SetVal(static_cast<int>(K + 1), X[K]);
}

/// The elements of V, element 1 first.
inline NMX_nmxbase::TDoubleArray Values(const NMX_vector::TVector& V) {
  return {V.Data().begin(), V.Data().end()};
}

inline NMX_nmxbase::TIntArray Values(const NMX_vector::TIntVector& V) {
  return {V.Data().begin(), V.Data().end()};
}

/// The message of the ENMXVectorError that F raises, or "" when it raises none.
template <class Fn>
std::string ErrorOf(Fn&& F) {
  try {
    F();
  } catch (const NMX_vector::ENMXVectorError& E) {
    return E.what();
  }
  return "";
}

}  // namespace vec_test
