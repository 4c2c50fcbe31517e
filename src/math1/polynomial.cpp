#include "nmx/math1/polynomial.h"

#include "nmx/math1/errors.h"

namespace NMX_math1 {
namespace {

double PowerSum(std::span<const double> Coeffs, int Order, double x) {
  if (Order < 0 || static_cast<std::size_t>(Order) >= Coeffs.size()) {
    throw ENMXMath1Error("Polynomial: invalid order of polynomial");
  }
  double Sum = 0.0;
  double Power = 1.0;
  for (int K = 0; K <= Order; ++K) {
    Sum += Coeffs[static_cast<std::size_t>(K)] * Power;
    Power *= x;
  }
  return Sum;
}

}  // namespace

double Polynomial(std::span<const double> Coeffs, int Order, double x) {
  return PowerSum(Coeffs, Order, x);
}

double CenteredPolynomial(std::span<const double> Coeffs, int Order, double Center, double x) {
  return PowerSum(Coeffs, Order, x - Center);
}

}  // namespace NMX_math1
