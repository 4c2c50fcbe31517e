// The NIST StRD univariate data sets: mean, standard deviation and lag-1 autocorrelation of
// the vector statistics against the certified values (tests/data/nist, see its README).
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "nmx/vector/vector.h"
#include "support/tolerance.h"

namespace {

struct Certified {
  std::vector<double> Data;
  double Mean = 0, StdDev = 0, AutoCorr = 0;
};

// A data file: '#' lines, three of them "# Certified <what>: <value>", then one value a line.
Certified Load(const std::string& Name) {
  std::ifstream In(std::string(NMX_TEST_DATA_DIR) + "/nist/" + Name + ".dat");
  Certified C;
  std::string Line;
  auto After = [&Line](const std::string& Key, double& Into) {
    if (Line.rfind(Key, 0) == 0) Into = std::stod(Line.substr(Key.size()));
  };
  while (std::getline(In, Line)) {
    if (Line.empty()) continue;
    if (Line[0] == '#') {
      After("# Certified mean: ", C.Mean);
      After("# Certified standard deviation: ", C.StdDev);
      After("# Certified autocorrelation coefficient (lag 1): ", C.AutoCorr);
      continue;
    }
    C.Data.push_back(std::stod(Line));
  }
  return C;
}

// The number of correct significant digits of A against the certified B (NIST's LRE).
double Digits(double A, double B) {
  if (A == B) return 16.0;
  return B == 0.0 ? -std::log10(std::fabs(A)) : -std::log10(std::fabs(A - B) / std::fabs(B));
}

// What limits the digits, set by set:
// - The mean is the sum in element order over n, in double: its error is at most (n - 1) eps
//   Σ|x| / |Σx| relative, which keeps 13 digits or more on every set.
// - The standard deviation comes from deviations and is the exact one of the stored doubles
//   to within a few units in the last place: the squares are summed in eight lanes of up to
//   128 terms a block, each addition rounding once, so 8 ulps is ample (3 are seen on
//   NumAcc3). SdOfDoubles comes from the data files with Python:
//   xs = [Fraction(float(v)) ...]; m = sum(xs)/n; ss = sum((x - m)**2 for x in xs);
//   float((Decimal(ss.numerator) / Decimal(ss.denominator) / (n - 1)).sqrt()) at 50 digits).
//   Where the certified value differs more, the data are not doubles: 1000000.2 and
//   10000000.2 (NumAcc3, NumAcc4) are stored with errors near 1e-10 and 1e-9, which leave 9
//   and 8 correct digits of a standard deviation of 0.1 (SdDigits).
// - The autocorrelation is taken on the vector centred by MeanCenter, whose in-order mean
//   is off by up to some 1e-7 on NumAcc4 (sums near 1e10 round to 2e-6): that offset costs
//   the ratio up to about 1e-9 relative there and 1e-11 on NumAcc3 (AcDigits).
TEST(VectorNist, CertifiedMeanStdDevAndAutocorrelation) {
  struct Case {
    const char* Name;
    double SdOfDoubles, SdDigits, AcDigits;
  };
  const Case Cases[] = {{"PiDigits", 2.867339060288708, 15, 12},
                        {"Lottery", 291.6997274709691, 15, 14},
                        {"Lew", 277.3321680443161, 15, 14},
                        {"Mavro", 0.0004291234540030854, 13, 13},
                        {"Michelso", 0.07901054781905066, 13, 13},
                        {"NumAcc1", 1.0, 16, 16},
                        {"NumAcc2", 0.09999999999999998, 15, 13},
                        {"NumAcc3", 0.1000000000349246, 9, 11},
                        {"NumAcc4", 0.10000000055879354, 8, 8.5}};
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Name);
    const Certified C = Load(K.Name);
    ASSERT_FALSE(C.Data.empty());
    const int N = static_cast<int>(C.Data.size());
    NMX_vector::TVector V;
    V.Resize(N);
    V.CopyFrom(C.Data, 0, 0, 1);
    double Mean = 0, Variance = 0;
    V.MeanVar(0, 0, Mean, Variance);
    const double Sd = std::sqrt(Variance);
    EXPECT_GE(Digits(Mean, C.Mean), 13.0) << nmx_test::Digits17(Mean);
    NMX_EXPECT_ULPS(Sd, K.SdOfDoubles, 8);
    EXPECT_GE(Digits(Sd, C.StdDev), K.SdDigits) << nmx_test::Digits17(Sd);
    // r1 = Σ (x(i) - m)(x(i+1) - m) / Σ (x(i) - m)², on the centred vector.
    V.MeanCenter();
    const double R1 = V.Correlate(&V, 1) / V.DotProduct(&V);
    EXPECT_GE(Digits(R1, C.AutoCorr), K.AcDigits) << nmx_test::Digits17(R1);
  }
}

}  // namespace
