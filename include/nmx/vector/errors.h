// ENMXVectorError, raised by the vector components.
#pragma once

#include "nmx/base/errors.h"
#include "nmx/config.h"

namespace NMX_vector {

class NMX_API ENMXVectorError : public NMX_nmxbase::ENMXError {
 public:
  using NMX_nmxbase::ENMXError::ENMXError;
};

}  // namespace NMX_vector
