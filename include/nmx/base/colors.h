// Colour conversions from RGB.
#pragma once

#include "nmx/config.h"

namespace NMX_nmxcolors {

/// The grey value (luminance) of a colour: 0.299 R + 0.587 G + 0.114 B, rounded to nearest
/// (ties to even), in 0..255. Each component is clamped to 0..255 first.
NMX_API int RGBtoGray(int R, int G, int B) noexcept;

/// The colour in the HSI model, each component clamped to 0..255 first:
/// - I, the intensity, is the mean (R + G + B) / 3, in 0..255;
/// - S, the saturation, is 1 - min(R, G, B) / I, in 0..1 (0 for black);
/// - H, the hue, is the angle in degrees, in [0, 360), of the colour's projection onto the
///   plane normal to the grey axis, measured from red towards green: red 0, yellow 60,
///   green 120, cyan 180, blue 240, magenta 300. Greys (R = G = B) have no hue and give 0.
NMX_API void RGBtoHSI(int R, int G, int B, double& H, double& S, double& I) noexcept;

}  // namespace NMX_nmxcolors
