// QuickSelect: the k-th smallest value of an array.
#pragma once

#include <span>

#include "nmx/config.h"

namespace NMX_math1 {

/// The value that would stand at position K (0-based) if Data[Lo..Hi] were sorted ascending;
/// Data[Lo..Hi] is rearranged on the way, the rest of Data is not touched. When all of
/// Data[Lo..Hi] equal Data[Lo], that value is returned without rearranging.
/// The range is clipped to the array (Lo below 0 counts as 0, Hi above High as High); an
/// empty range (Hi < Lo after clipping) or a K outside Lo..Hi gives 0 and leaves Data as it
/// was. NaNs have no place in the order: with NaNs in the range the call still ends and stays
/// within the range, but its result may be a NaN or a value off its sorted position.
NMX_API double QuickSelect(std::span<double> Data, int K, int Lo, int Hi);

/// The same for data in which the value AbundantVal occurs very often: the elements that
/// differ from AbundantVal are copied into a temporary array (the one allocation of these
/// kernels) and only those are partitioned, so Data itself is not changed. The selection
/// always concerns the whole array; pass Lo = 0 and Hi = High (Hi is not used, Lo becomes the
/// low bound within the temporary array). A K outside 0..High gives 0.
NMX_API double QuickSelect(std::span<const double> Data, int K, int Lo, int Hi, double AbundantVal);

}  // namespace NMX_math1
