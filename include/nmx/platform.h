// The platform layer: object and component model, exceptions, the uniform random generator.
#pragma once

#include "nmx/platform/component.h"
#include "nmx/platform/exceptions.h"
#include "nmx/platform/object.h"
#include "nmx/platform/random.h"
