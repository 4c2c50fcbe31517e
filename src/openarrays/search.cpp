#include "nmx/openarrays/search.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

namespace NMX_openarrays {
namespace {

// ASCII lower case: the comparison must not depend on the locale.
std::string Lower(std::string_view S) {
  std::string Out(S);
  for (char& C : Out) {
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  }
  return Out;
}

bool Matches(std::string_view Elem, std::string_view Text, bool AllowPartialMatch) {
  return AllowPartialMatch ? Elem.find(Text) != std::string_view::npos : Elem == Text;
}

}  // namespace

int FindInArray(std::int32_t Key, const NMX_nmxbase::TIntArray& A) {
  if (A.empty()) return -1;
  const auto It = std::find(A.begin(), A.end(), Key);
  return It == A.end() ? -2 : static_cast<int>(It - A.begin());
}

int FindInArray(std::string_view Text, const NMX_nmxbase::TStrArray& A, bool IgnoreCase,
                bool AllowPartialMatch) {
  if (A.empty()) return -1;
  const std::string Key = IgnoreCase ? Lower(Text) : std::string(Text);
  for (std::size_t K = 0; K < A.size(); ++K) {
    const bool Hit = IgnoreCase ? Matches(Lower(A[K]), Key, AllowPartialMatch)
                                : Matches(A[K], Key, AllowPartialMatch);
    if (Hit) return static_cast<int>(K);
  }
  return -2;
}

int FindInSortedArray(double Value, const NMX_nmxbase::TDoubleArray& A, bool Ascending) {
  if (A.empty()) return -1;
  const double Low = Ascending ? A.front() : A.back();
  const double High = Ascending ? A.back() : A.front();
  if (!(Value >= Low && Value <= High)) return -2;
  // Bisection over the 1-based positions 1..n, as the vectors search.
  auto At = [&A](int P) { return A[static_cast<std::size_t>(P - 1)]; };
  int Lo = 1, Hi = static_cast<int>(A.size());
  while (Hi - Lo >= 2) {
    const int Mid = Lo + (Hi - Lo) / 2;
    const double X = At(Mid);
    if (X == Value) return Mid - 1;
    if (Ascending ? Value > X : Value < X) {
      Lo = Mid;
    } else {
      Hi = Mid;
    }
  }
  return (std::fabs(At(Lo) - Value) < std::fabs(At(Hi) - Value) ? Lo : Hi) - 1;
}

}  // namespace NMX_openarrays
