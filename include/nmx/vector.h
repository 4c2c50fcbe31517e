// NMX_vector: the vector components TVector and TIntVector.
#pragma once

#include "nmx/vector/errors.h"
#include "nmx/vector/intvector.h"
#include "nmx/vector/vector_base.h"
#include "nmx/vector/vector.h"
