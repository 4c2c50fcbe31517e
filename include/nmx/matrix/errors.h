// ENMXMatrixError, raised by the matrix components.
#pragma once

#include "nmx/base/errors.h"
#include "nmx/config.h"

namespace NMX_matrix {

class NMX_API ENMXMatrixError : public NMX_nmxbase::ENMXError {
 public:
  using NMX_nmxbase::ENMXError::ENMXError;
};

}  // namespace NMX_matrix
