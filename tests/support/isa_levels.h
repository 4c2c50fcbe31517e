// Running a test body at every instruction-set level the processor has, for the kernels whose
// variants must give the same bits.
#pragma once

#include <gtest/gtest.h>

#include "math1/isa.h"

namespace nmx_test {

/// Runs Fn at every instruction-set level this processor has (with a trace naming the
/// level), then restores the best one.
template <typename F>
void AtEachIsa(F&& Fn) {
  namespace D = NMX_math1::detail;
  const D::TIsa Host = D::HostIsa();
  for (const D::TIsa Level : {D::TIsa::Baseline, D::TIsa::Avx2, D::TIsa::Avx512}) {
    if (Level > Host) continue;
    D::SetIsa(Level);
    SCOPED_TRACE(testing::Message() << "instruction-set level " << static_cast<int>(Level));
    Fn();
  }
  D::SetIsa(Host);
}

}  // namespace nmx_test
