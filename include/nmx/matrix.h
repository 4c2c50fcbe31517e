// NMX_matrix: the matrix components.
#pragma once

#include "nmx/matrix/errors.h"
#include "nmx/matrix/matrix.h"
#include "nmx/matrix/matrix_base.h"
