// Everything nmx offers, in one include.
#pragma once

#include "nmx/base.h"
#include "nmx/math1.h"
#include "nmx/openarrays.h"
#include "nmx/platform.h"
#include "nmx/vector.h"
#include "nmx/matrix.h"
#include "nmx/datatable.h"
