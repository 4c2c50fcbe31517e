// ENMXDataTableError, raised by the data table component.
#pragma once

#include "nmx/base/errors.h"
#include "nmx/config.h"

namespace NMX_datatable {

class NMX_API ENMXDataTableError : public NMX_nmxbase::ENMXError {
 public:
  using NMX_nmxbase::ENMXError::ENMXError;
};

}  // namespace NMX_datatable
