#include "nmx/base/colors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "support/tolerance.h"

namespace {

using NMX_nmxcolors::RGBtoGray;
using NMX_nmxcolors::RGBtoHSI;

TEST(Colors, GrayIsRoundedLuminance) {
  struct Case {
    int R, G, B, Gray;
  };
  // Exact luminance from the thousandths 299 R + 587 G + 114 B, worked by hand.
  const Case Cases[] = {
      {0, 0, 0, 0},        {255, 255, 255, 255}, {255, 0, 0, 76},  // 76.245
      {0, 255, 0, 150},                                            // 149.685
      {0, 0, 255, 29},                                             // 29.07
      {5, 0, 0, 1},                                                // 1.495
      {100, 0, 50, 36},                                            // 35.6
      {0, 0, 250, 28},                                             // 28.5, a tie: to even, down
      {0, 12, 4, 8},                                               // 7.5, a tie: to even, up
      {-10, 300, 0, 150},                                          // clamped to (0, 255, 0)
      {999, -1, 999, 105},  // clamped to (255, 0, 255): 105.315
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&C - &Cases[0]));
    EXPECT_EQ(RGBtoGray(C.R, C.G, C.B), C.Gray) << C.R << " " << C.G << " " << C.B;
  }
}

TEST(Colors, HsiOfPrimariesSecondariesAndGreys) {
  struct Case {
    int R, G, B;
    double H, S, I;
  };
  const Case Cases[] = {
      {255, 0, 0, 0, 1, 85},      {255, 255, 0, 60, 1, 170},  {0, 255, 0, 120, 1, 85},
      {0, 255, 255, 180, 1, 170}, {0, 0, 255, 240, 1, 85},    {255, 0, 255, 300, 1, 170},
      {0, 0, 0, 0, 0, 0},         {128, 128, 128, 0, 0, 128}, {255, 255, 255, 0, 0, 255},
      {300, -4, 0, 0, 1, 85},  // clamped to red
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.R << " " << C.G << " " << C.B);
    double H = -1, S = -1, I = -1;
    RGBtoHSI(C.R, C.G, C.B, H, S, I);
    EXPECT_NEAR(H, C.H, 1e-12);
    EXPECT_EQ(S, C.S);
    EXPECT_NEAR(I, C.I, 1e-12);
  }
}

// Over a grid of colours the hue equals the textbook arccos form (Gonzalez & Woods, Digital
// Image Processing, 6.2.3), whose arccos loses about sqrt(eps) near 0 and 180 degrees.
TEST(Colors, HsiMatchesTheArccosForm) {
  for (int R = 0; R <= 255; R += 15) {
    for (int G = 0; G <= 255; G += 17) {
      for (int B = 0; B <= 255; B += 51) {
        if (R == G && G == B) continue;
        double H = 0, S = 0, I = 0;
        RGBtoHSI(R, G, B, H, S, I);
        const double Num = 0.5 * ((R - G) + (R - B));
        const double Den = std::sqrt(static_cast<double>((R - G) * (R - G) + (R - B) * (G - B)));
        double Theta =
            std::acos(std::fmax(-1.0, std::fmin(1.0, Num / Den))) * 180 / std::numbers::pi;
        if (B > G) Theta = 360 - Theta;
        if (Theta >= 360) Theta -= 360;
        ASSERT_GE(H, 0.0);
        ASSERT_LT(H, 360.0);
        // Hues just below 360 and just above 0 are the same colour direction.
        const double Diff = std::fabs(H - Theta);
        EXPECT_LT(std::fmin(Diff, 360 - Diff), 1e-5) << R << " " << G << " " << B;
        const int Min = std::min({R, G, B});
        NMX_EXPECT_REL(S, 1.0 - Min / ((R + G + B) / 3.0), nmx_test::kTight);
        EXPECT_EQ(I, (R + G + B) / 3.0);
      }
    }
  }
}

}  // namespace
