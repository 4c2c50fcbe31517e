// NMX_datatable: the data table component.
#pragma once

#include "nmx/datatable/datatable.h"
#include "nmx/datatable/errors.h"
