// ENMXMath1Error, raised by the kernels of NMX_math1.
#pragma once

#include "nmx/base/errors.h"
#include "nmx/config.h"

namespace NMX_math1 {

class NMX_API ENMXMath1Error : public NMX_nmxbase::ENMXError {
 public:
  using NMX_nmxbase::ENMXError::ENMXError;
};

}  // namespace NMX_math1
