// TKahanSum: compensated summation.
#pragma once

#include <string>

#include "nmx/config.h"
#include "nmx/platform/component.h"

namespace NMX_math1 {

/// A running sum with Kahan's compensation: each `Add` carries the low-order part lost in
/// the previous addition into the next, so a long sum of small terms onto a large one keeps
/// its digits (1 plus ten times 1e-16 gives 1.000000000000001, not 1). Read the total from
/// `Sum`.
class NMX_API TKahanSum : public NMX_platform::TComponent {
 public:
  explicit TKahanSum(NMX_platform::TComponent* AOwner = nullptr);

  std::string ClassName() const override { return "TKahanSum"; }

  /// Set `Sum` and the compensation to 0.
  void Reset() noexcept;

  /// Add ANumber to `Sum`, compensated.
  void Add(double ANumber) noexcept;

  /// The compensated sum.
  double Sum = 0.0;

 private:
  double cps = 0.0;  // running compensation: the part of the last term that Sum lost
};

}  // namespace NMX_math1
