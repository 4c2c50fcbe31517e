// The same library calls in a program compiled twice: once plainly, once with the flags that
// let a compiler contract and widen floating-point code (-march=native -ffp-contract=fast).
// The library's arithmetic is compiled inside the library, so both print the same bits.
#include <nmx/nmx.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Data made with integer arithmetic and one exact scaling each, so this program's own code
// has nothing to contract: i / 8 and 10^7 + i / 8 are exact doubles.
double Value(int K) {
  const int I = (K * 7919) % 1000 - 500;
  return std::ldexp(static_cast<double>(I), -3);
}

void Print(const char* Name, double X) {
  std::uint64_t Bits = 0;
  std::memcpy(&Bits, &X, sizeof Bits);
  std::printf("%-28s %016llx\n", Name, static_cast<unsigned long long>(Bits));
}

}  // namespace

int main() {
  NMX_nmxbase::TDoubleArray A(1000);
  NMX_nmxbase::TDouble2DArray B(20, NMX_nmxbase::TDoubleArray(50));
  for (int K = 0; K < 1000; ++K) {
    A[static_cast<std::size_t>(K)] = 1e7 + Value(K);
    B[static_cast<std::size_t>(K / 50)][static_cast<std::size_t>(K % 50)] = Value(K + 3);
  }
  double X = 0, Y = 0;
  NMX_openarrays::StdDevArray(A, 0, 999, X);
  Print("StdDevArray 1-D", X);
  NMX_openarrays::StdDevArray(B, 0, 0, 19, 49, X);
  Print("StdDevArray 2-D", X);
  NMX_openarrays::MeanVarArray(B, 2, 3, 17, 40, X, Y);
  Print("MeanVarArray mean", X);
  Print("MeanVarArray variance", Y);
  NMX_nmxbase::TDoubleArray R = A;
  NMX_openarrays::RescaleArray(R, 0, 999, NMX_openarrays::rsmStandardize, X, Y);
  Print("RescaleArray element", R[123]);
  NMX_openarrays::AccumulateArray(R, A, 0.1);
  Print("AccumulateArray element", R[321]);
  NMX_openarrays::FillArraySerial(R, 0.1, 0.3);
  Print("FillArraySerial element", R[999]);

  NMX_vector::TVector V, W;
  V.Resize(1000);
  W.Resize(1000);
  V.CopyFrom(A, 0, 0, 1);
  for (int K = 1; K <= 1000; ++K) W.SetVal(K, Value(3 * K));
  V.MeanVar(0, 0, X, Y);
  Print("TVector MeanVar variance", Y);
  V.SkewKurt(0, 0, X, Y);
  Print("TVector skewness", X);
  Print("TVector kurtosis", Y);
  Print("TVector Pearson", V.PearsonCorrCoeff(&W));
  Print("TVector length", W.CalcVecLeng());
  Print("TVector Simpson", W.Integrate(1.5, 997.25, NMX_vector::imSimpson));
  Print("TVector percentile", V.Percentile(37.5, 0, 0));

  NMX_matrix::TMatrix M, N, P;
  M.Resize(70, 65);
  N.Resize(33, 70);
  for (int C = 1; C <= 70; ++C) {
    for (int K = 1; K <= 65; ++K) M.SetVal(C, K, Value(C * 65 + K));
    for (int K = 1; K <= 33; ++K) N.SetVal(K, C, Value(C * 33 + K + 7));
  }
  M.Multiply(&N, &P);
  Print("TMatrix Multiply cell", P.GetVal(17, 40));
  M.Square(&P, 3.0, 1);
  Print("TMatrix Square cell", P.GetVal(9, 61));
  Print("TMatrix spectral norm", N.Norm(NMX_matrix::ntSpectral));
  Print("TMatrix Frobenius norm", M.Norm(NMX_matrix::ntFrobenius));
  return 0;
}
