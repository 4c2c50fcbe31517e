// A walk through what nmx can do, printing results a reader can check by hand.
//
// Build and run it with `./nmx.sh tour`. Every section stands alone; copy what you need.
#include <nmx/nmx.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

void Heading(const char* Title) {
  std::printf("\n== %s\n", Title);
}

// Components and notifications: an owner deletes what it owns; a vector tells its listeners
// when its data or its size changes.
void ComponentsAndVectors() {
  Heading("Components and vectors");
  NMX_platform::TComponent Owner;
  auto* V = new NMX_vector::TVector(&Owner);  // the owner deletes it
  V->SetName("V");
  int Changes = 0, Resizes = 0;
  V->OnChange = [&](NMX_platform::TObject*) { ++Changes; };
  V->OnResize = [&](NMX_platform::TObject*) { ++Resizes; };
  V->Resize(5);
  V->FillSerial(1.0, 0.5);  // 1, 1.5, 2, 2.5, 3
  std::printf("V = [");
  for (int K = 1; K <= V->NrOfElem(); ++K) std::printf(" %g", V->GetVal(K));
  std::printf(" ], %d change and %d resize notifications\n", Changes, Resizes);
  std::printf("length %.6f (sqrt(22.5) = 4.743416), element 9 reads %g (outside: 0)\n", V->Leng(),
              V->GetVal(9));
  V->SetVecLeng(1.0);
  std::printf("scaled to unit length: length %.15f\n", V->Leng());
  std::printf("checksum of one zero: %s\n", NMX_vector::TVector().CRCofData().c_str());

  NMX_vector::TVector W;
  W.Resize(3);
  try {
    V->Add(&W);
  } catch (const NMX_nmxbase::ENMXError& E) {
    std::printf("adding a 3-vector to a 5-vector: %s\n", E.what());
  }
  NMX_vector::TIntVector Iv;
  Iv.Resize(3);
  Iv.FillSerial(1 << 30, 1 << 30);  // 32-bit arithmetic wraps, as it does in hardware
  std::printf("integer series from 2^30 in steps of 2^30: %d %d %d\n", Iv.GetVal(1), Iv.GetVal(2),
              Iv.GetVal(3));
}

// The shared kernels: the comb sort reports one progress step per pass.
void Kernels() {
  Heading("Kernels");
  std::vector<double> Data{5, 3, 9, 1, 7, 2, 8, 6, 4, 0};
  int Passes = 0;
  NMX_nmxbase::MathFeedBackProc = [&](double) { ++Passes; };
  NMX_math1::SortArray(Data, true);
  NMX_nmxbase::MathFeedBackProc = nullptr;
  std::printf("sorted:");
  for (double X : Data) std::printf(" %g", X);
  std::printf(" (%d comb passes)\n", Passes);

  std::vector<double> Sample{7, 1, 9, 3, 5};
  std::printf("median of 7 1 9 3 5 by QuickSelect: %g\n", NMX_math1::QuickSelect(Sample, 2, 0, 4));

  NMX_math1::TKahanSum Kahan;
  double Plain = 1.0;
  Kahan.Add(1.0);
  for (int I = 0; I < 10; ++I) {
    Kahan.Add(1e-16);
    Plain += 1e-16;
  }
  std::printf("1 + ten times 1e-16: compensated %.16f, plain %.16f\n", Kahan.Sum, Plain);

  const std::vector<double> Coeffs{1, -3, 2};  // 1 - 3x + 2x^2
  std::printf("1 - 3x + 2x^2 at x = 2: %g\n", NMX_math1::Polynomial(Coeffs, 2, 2.0));
  std::printf("255 in hex %s, octal %s, binary %s\n", NMX_math1::Hex(255, 4).c_str(),
              NMX_math1::Octal(255, 3).c_str(), NMX_math1::Bin(255, 8).c_str());
  // One call a statement: the arguments of one printf would be evaluated in any order.
  NMX_math1::LongRand(1);
  const double R1 = NMX_math1::LongRand(0);
  const double R2 = NMX_math1::LongRand(0);
  const double R3 = NMX_math1::LongRand(0);
  std::printf("LongRand from seed 1: %.6f %.6f %.6f\n", R1, R2, R3);
  std::printf("ln 1000! = %.10f\n", NMX_univconst::uc_LnFactorial[1000]);
}

// Text helpers: fixed-point text independent of the locale, tokens and tagged elements.
void Text() {
  Heading("Text");
  std::printf("[%s] [%s]\n", NMX_stringl::strff(3.14159, 10, 3).c_str(),
              NMX_stringl::strff(-2.5, 0, 2).c_str());
  NMX_nmxbase::TStrArray Tokens;
  const int N = NMX_stringl::Tokenize("  alpha beta\tgamma ", Tokens);
  std::printf("%d tokens, the last \"%s\"\n", N, Tokens.back().c_str());
  const std::vector<std::string> Tags{"item", "name", "size", "invalid"};
  const std::string Xml = "<item><name>probe</name><size unit=\"mm\">12</size></item>";
  int StartAt = 1;
  std::string Attributes, Content;
  // The root's content holds its children; read it once more, element by element.
  NMX_stringl::ReadNextTagInString(Xml, StartAt, Tags, 3, Attributes, Content);
  const std::string Root = Content;
  StartAt = 1;
  for (int Tag; (Tag = NMX_stringl::ReadNextTagInString(Root, StartAt, Tags, 3, Attributes,
                                                        Content)) != 3;) {
    std::printf("element %s = \"%s\" (attributes: %s)\n",
                Tags[static_cast<std::size_t>(Tag)].c_str(), Content.c_str(),
                Attributes.empty() ? "none" : Attributes.c_str());
  }
}

// Descriptive statistics of a data column read from an ASC file, and its histogram as text.
void Statistics() {
  Heading("Statistics of a data column");
  NMX_vector::TVector R;
  R.SetName("R");
  std::string Comment;
  const std::string File = std::string(NMX_EXAMPLES_DATA_DIR) + "/resistors.asc";
  if (const int Status = R.ImportASC(File, Comment); Status != 0) {
    std::printf("cannot read %s (status %d)\n", File.c_str(), Status);
    return;
  }
  std::printf("%s\n%d values\n", Comment.c_str(), R.NrOfElem());
  double Mean = 0, Variance = 0, Lo = 0, Hi = 0, Skew = 0, Kurt = 0, Q1 = 0, Q2 = 0, Q3 = 0;
  R.MeanVar(0, 0, Mean, Variance);
  R.MinMax(0, 0, Lo, Hi);
  R.SkewKurt(0, 0, Skew, Kurt);
  R.Quartiles(0, 0, Q1, Q2, Q3);
  std::printf("mean %.3f, standard deviation %.3f, range %.1f .. %.1f\n", Mean, std::sqrt(Variance),
              Lo, Hi);
  std::printf("quartiles %.2f %.2f %.2f, 5th and 95th percentiles %.2f %.2f\n", Q1, Q2, Q3,
              R.Percentile(5, 0, 0), R.Percentile(95, 0, 0));
  std::printf("skewness %.3f, excess kurtosis %.3f (a second batch pulls the left tail)\n", Skew,
              Kurt);

  // The element range of a histogram is taken as given (index 0 would read a 0), so 1..N.
  NMX_nmxbase::TIntArray Bins;
  int Under = 0, Over = 0, MaxCnt = 0;
  const double First = 4630, Last = 4760, Width = 10;
  R.Histogram(1, R.NrOfElem(), First, Last, Width, Bins, Under, Over, MaxCnt);
  for (std::size_t K = 0; K < Bins.size(); ++K) {
    const int Stars = (Bins[K] * 50 + MaxCnt - 1) / MaxCnt;
    std::printf("%6.0f .. %-6.0f %4d %s\n", First + Width * static_cast<double>(K),
                First + Width * static_cast<double>(K + 1), Bins[K],
                std::string(static_cast<std::size_t>(Stars), '#').c_str());
  }
  std::printf("below %.0f: %d, from %.0f on: %d\n", First, Under, Last + Width, Over);

  // Variances come from deviations, so a large common offset costs no digits: these values
  // are 1e9 + 1, 1e9 + 2, 1e9 + 3, 1e9 + 4, whose variance is exactly 5/3.
  NMX_vector::TVector Offset;
  Offset.Resize(4);
  Offset.FillSerial(1e9 + 1, 1);
  Offset.MeanVar(0, 0, Mean, Variance);
  std::printf("variance of 1e9 + 1 .. 1e9 + 4: %.15f (5/3 = 1.666666666666667)\n", Variance);

  // The binary stream layout: 10-byte extended values, read back bit for bit.
  std::stringstream Stream;
  R.SaveToStream(Stream, 0, 0);
  NMX_vector::TVector Copy;
  const bool Loaded = Copy.LoadFromStream(Stream, true);
  std::printf("stream of %zu bytes read back %s, checksums %s\n", Stream.str().size(),
              Loaded ? "whole" : "in part",
              Copy.CRCofData() == R.CRCofData() ? "equal" : "different");
}

// A plain list of numbers as loggers and spreadsheets export it, read with the size taken
// from the file; the title line holds no digit and is passed over.
void PlainLists() {
  Heading("A plain list of numbers");
  NMX_vector::TVector T;
  const std::string File = std::string(NMX_EXAMPLES_DATA_DIR) + "/readings.txt";
  if (!T.LoadFromFile(File, true, true)) {
    std::printf("cannot read %s\n", File.c_str());
    return;
  }
  double Lo = 0, Hi = 0, Mean = 0, Variance = 0;
  int LoIx = 0, HiIx = 0;
  T.MinMax(0, 0, Lo, Hi, LoIx, HiIx);
  T.MeanVar(0, 0, Mean, Variance);
  std::printf("%d hourly readings: mean %.2f, coldest %.1f at hour %d, warmest %.1f at hour %d\n",
              T.NrOfElem(), Mean, Lo, LoIx - 1, Hi, HiIx - 1);

  // Correlation and moments keep their digits at any scale: the same readings in units of
  // 1e160 correlate with themselves exactly (squares of such deviations overflow a double).
  NMX_vector::TVector Huge;
  Huge.Clone(&T);
  Huge.SMult(1e160);
  std::printf("correlation of the readings with themselves times 1e160: %.17g\n",
              T.PearsonCorrCoeff(&Huge));
}

// Sampled functions: the trapezoidal rule and Simpson's rules over the samples 1..N.
void Integration() {
  Heading("Integration of samples");
  NMX_vector::TVector Y;
  Y.Resize(11);
  for (int K = 1; K <= 11; ++K) {
    const double X = (K - 1) / 10.0;
    Y.SetVal(K, X * X);  // x^2 on [0, 1], ten steps of 0.1
  }
  // The samples sit at unit spacing, so scale by the step 0.1; the exact integral is 1/3.
  std::printf("integral of x^2 over [0, 1]: trapezoidal %.6f, Simpson %.6f, exact 0.333333\n",
              0.1 * Y.Integrate(1, 11, NMX_vector::imTrapezoidal),
              0.1 * Y.Integrate(1, 11, NMX_vector::imSimpson));
}

// Free functions over nested arrays, addressed [column][row].
void OpenArrays() {
  Heading("Open arrays");
  NMX_nmxbase::TDouble2DArray A(3, NMX_nmxbase::TDoubleArray(2));
  NMX_openarrays::FillArraySerial(A, 1.0, 1.0);  // A[0][0] = 1, A[0][1] = 2, A[1][0] = 3, ...
  double Mean = 0, StdDev = 0;
  NMX_openarrays::MeanArray(A, 0, 0, 2, 1, Mean);
  NMX_openarrays::StdDevArray(A, 0, 0, 2, 1, StdDev);
  std::printf("3 x 2 array 1..6: mean %g, standard deviation %.6f (sqrt(3.5) = 1.870829)\n", Mean,
              StdDev);
  NMX_openarrays::TransposeArray(A);
  std::printf("transposed: %zu columns of %zu, A[1][2] = %g\n", A.size(), A[0].size(), A[1][2]);
  NMX_nmxbase::TIntArray Rounded;
  NMX_openarrays::CloneArray(NMX_nmxbase::TDoubleArray{2.5, 3.5, -0.5, 1e12}, Rounded);
  std::printf("2.5 3.5 -0.5 1e12 as integers: %d %d %d %d (ties to even, clamped)\n", Rounded[0],
              Rounded[1], Rounded[2], Rounded[3]);
}


// A small linear system: the matrix is inverted, the inverse checked by multiplying back, the
// system solved with it; then the determinant and the norms.
void LinearSystem() {
  Heading("A linear system");
  // 2x + y - z = 8, -3x - y + 2z = -11, -2x + y + 2z = -3: the solution is x = 2, y = 3, z = -1.
  // Cell [c, r] is row r, column c.
  NMX_matrix::TMatrix A;
  A.Resize(3, 3);
  const double Rows[3][3] = {{2, 1, -1}, {-3, -1, 2}, {-2, 1, 2}};
  for (int R = 1; R <= 3; ++R) {
    for (int C = 1; C <= 3; ++C) A.SetVal(C, R, Rows[R - 1][C - 1]);
  }
  NMX_vector::TVector B;
  B.Resize(3);
  B.SetVal(1, 8);
  B.SetVal(2, -11);
  B.SetVal(3, -3);

  NMX_matrix::TMatrix Inverse, Check;
  Inverse.Assign(&A);
  if (!Inverse.Invert()) {
    std::printf("the matrix is singular\n");
    return;
  }
  A.Multiply(&Inverse, &Check);
  double Worst = 0;
  for (int R = 1; R <= 3; ++R) {
    for (int C = 1; C <= 3; ++C) Worst = std::max(Worst, std::fabs(Check.GetVal(C, R) - (C == R)));
  }
  std::printf("A times its inverse differs from the identity by at most %.1e\n", Worst);
  NMX_vector::TVector X;
  Inverse.Multiply(&B, &X);
  std::printf("solution x = %.12f, y = %.12f, z = %.12f\n", X.GetVal(1), X.GetVal(2), X.GetVal(3));
  std::printf("determinant %.12f (-1), trace %g\n", A.Determinant(), A.Trace());
  std::printf("norms: column sums %g, row sums %g, Frobenius %.6f, spectral %.6f\n",
              A.Norm(NMX_matrix::ntColwise), A.Norm(NMX_matrix::ntRowwise),
              A.Norm(NMX_matrix::ntFrobenius), A.Norm(NMX_matrix::ntSpectral));

  // The cross-product matrix AᵀA, on worker threads: symmetric, its trace the sum of squares.
  NMX_matrix::TMatrix Cross;
  A.Square(&Cross, 1.0, 2);
  std::printf("AᵀA: first row %g %g %g, trace %g = Frobenius norm squared\n", Cross.GetVal(1, 1),
              Cross.GetVal(2, 1), Cross.GetVal(3, 1), Cross.Trace());
}

// A small table of measurements in a matrix (one row per sample, one column per quantity):
// column statistics, standardised columns, the rows sorted by one column, and the distances
// between the rows.
void MatrixStatistics() {
  Heading("Statistics of a matrix of measurements");
  // Columns: length (mm), width (mm), mass (g) of five parts.
  const double Parts[5][3] = {{52.1, 20.3, 14.2}, {49.8, 19.9, 13.1}, {55.0, 21.2, 15.9},
                              {50.5, 20.0, 13.6}, {53.2, 20.8, 14.8}};
  NMX_matrix::TMatrix M;
  M.Resize(3, 5);
  for (int R = 1; R <= 5; ++R) {
    for (int C = 1; C <= 3; ++C) M.SetVal(C, R, Parts[R - 1][C - 1]);
  }
  const char* Names[3] = {"length", "width", "mass"};
  for (int C = 1; C <= 3; ++C) {
    double Mean = 0, Variance = 0, Q1 = 0, Q2 = 0, Q3 = 0;
    M.MeanVar(C, 1, C, 5, Mean, Variance);
    M.Quartiles(C, 1, C, 5, Q1, Q2, Q3);
    std::printf("%-6s mean %.2f, sd %.3f, quartiles %.2f %.2f %.2f\n", Names[C - 1], Mean,
                std::sqrt(Variance), Q1, Q2, Q3);
  }
  NMX_matrix::TMatrix Z;
  Z.Assign(&M);
  NMX_vector::TVector Means, Sds;
  Z.StandardizeColumns(&Means, &Sds);
  std::printf("standardised part 3: %.3f %.3f %.3f (each column now mean 0, sd 1)\n",
              Z.GetVal(1, 3), Z.GetVal(2, 3), Z.GetVal(3, 3));
  NMX_matrix::TMatrix L, D;
  L.Assign(&M);
  L.SortRows(3, true, 0, 0, 0, 0);  // by mass, lightest first
  std::printf("masses in order:");
  for (int R = 1; R <= 5; ++R) std::printf(" %.1f", L.GetVal(3, R));
  std::printf("\n");
  D.Resize(5, 5);
  Z.CalcDistMat(NMX_nmxbase::dmEuclidean, &D);  // on the standardised columns
  std::printf("distances of the standardised parts:\n");
  for (int R = 1; R <= 5; ++R) {
    std::printf("  part %d:", R);
    for (int C = 1; C <= 5; ++C) std::printf(" %5.2f", D.GetVal(C, R));
    std::printf("\n");
  }
  std::printf("correlation of length and mass: %.4f\n", [&] {
    NMX_matrix::TMatrix A, B;
    A.Resize(1, 5);
    B.Resize(1, 5);
    A.CopyFrom(&M, 1, 1, 1, 5, 1, 1);
    B.CopyFrom(&M, 3, 1, 3, 5, 1, 1);
    return A.Correlate(&B);
  }());
}

// A data table: named columns with their measurement scales, a nominal column whose cells are
// identifiers, and cell states that mark what is missing.
void DataTable() {
  Heading("A data table");
  NMX_datatable::TDataTable T;
  T.Resize(3, 4);
  const char* Columns[3] = {"length", "mass", "grade"};
  for (int C = 1; C <= 3; ++C) T.SetColName(C, Columns[C - 1]);
  T.SetMScaleType(3, NMX_datatable::stNominal);
  const double Values[4][2] = {{52.1, 14.2}, {49.8, 13.1}, {55.0, 15.9}, {50.5, 13.6}};
  const char* Grades[4] = {"A", "B", "A", "C"};
  for (int R = 1; R <= 4; ++R) {
    T.SetRowName(R, "part " + std::to_string(R));
    T.SetElem(1, R, Values[R - 1][0]);
    T.SetElem(2, R, Values[R - 1][1]);
    T.SetElemNominal(3, R, Grades[R - 1]);
  }
  T.SetIsEmpty(2, 4, true);  // the mass of part 4 was not measured
  std::printf("%d columns, %d rows; column 3 \"%s\" holds %d grades\n", T.NrOfColumns(),
              T.NrOfRows(), T.ColName(3).Str().c_str(), T.CountNominalIDs(3));
  for (int R = 1; R <= 4; ++R) {
    char Mass[16] = "-";
    if (!T.IsEmpty(2, R)) std::snprintf(Mass, sizeof Mass, "%.1f", T.Elem(2, R));
    std::printf("  %-7s %6.1f %6s %s\n", T.RowName(R).Str().c_str(), T.Elem(1, R), Mass,
                T.ElemNominal(3, R).Str().c_str());
  }
  std::printf("grade of part 2 is stored as the number %g (its identifier's slot)\n", T.Elem(3, 2));
}

}  // namespace

int main() {
  std::printf("nmx tour\n");
  ComponentsAndVectors();
  Kernels();
  Text();
  Statistics();
  PlainLists();
  Integration();
  OpenArrays();
  LinearSystem();
  MatrixStatistics();
  DataTable();
  return 0;
}
