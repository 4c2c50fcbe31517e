// The base library: array and callback types, errors, progress globals, strings, tags,
// streams, text files, CRC, bit fields, constants and colours.
#pragma once

#include "nmx/base/bitfld.h"
#include "nmx/base/colors.h"
#include "nmx/base/constants.h"
#include "nmx/base/crc.h"
#include "nmx/base/errors.h"
#include "nmx/base/progress.h"
#include "nmx/base/streams.h"
#include "nmx/base/strings.h"
#include "nmx/base/tags.h"
#include "nmx/base/textfile.h"
#include "nmx/base/types.h"
