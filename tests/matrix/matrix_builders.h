// Small helpers of the matrix tests: filling a matrix from rows written as they read, reading
// it back, and recording its notifications.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "nmx/matrix/matrix.h"

namespace mat_test {

using Rows = std::vector<std::vector<double>>;

/// Resizes M to the rows given (each row a list of its columns' values) and stores them.
inline void SetRows(NMX_matrix::TMatrix& M, const Rows& R) {
  M.Resize(static_cast<int>(R[0].size()), static_cast<int>(R.size()));
  for (std::size_t r = 0; r < R.size(); ++r) {
    for (std::size_t c = 0; c < R[r].size(); ++c) {
      M.SetVal(static_cast<int>(c + 1), static_cast<int>(r + 1), R[r][c]);
    }
  }
}

/// The cells of M as rows.
inline Rows RowsOf(const NMX_matrix::TMatrix& M) {
  Rows R(static_cast<std::size_t>(M.NrOfRows()),
         std::vector<double>(static_cast<std::size_t>(M.NrOfColumns())));
  for (int r = 1; r <= M.NrOfRows(); ++r) {
    for (int c = 1; c <= M.NrOfColumns(); ++c) {
      R[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c - 1)] = M.GetVal(c, r);
    }
  }
  return R;
}

/// Records the notifications of a matrix in the order they come: C change, R resize,
/// S sort exchange.
struct EventLog {
  std::string Calls;

  explicit EventLog(NMX_matrix::TMatrix& M) {
    M.OnChange = [this, &M](NMX_platform::TObject* Sender) {
      EXPECT_EQ(Sender, &M);
      Calls += 'C';
    };
    M.OnResize = [this, &M](NMX_platform::TObject* Sender) {
      EXPECT_EQ(Sender, &M);
      Calls += 'R';
    };
    M.OnSortExchange = [this](NMX_platform::TObject*, std::uint8_t, int, int, int, int) {
      Calls += 'S';
    };
  }
  std::size_t Changes() const { return static_cast<std::size_t>(std::count(Calls.begin(), Calls.end(), 'C')); }
};

}  // namespace mat_test
