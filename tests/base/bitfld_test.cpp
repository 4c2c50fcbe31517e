#include "nmx/base/bitfld.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using NMX_dstruct::TBitFld;
using namespace NMX_nmxbase;  // the TLogicOp values

std::vector<bool> Bits(const TBitFld& F) {
  std::vector<bool> V;
  for (int I = 0; I <= F.Size(); ++I) V.push_back(F.GetBit(I));
  return V;
}

TBitFld Field(const std::vector<bool>& V) {
  TBitFld F;
  F.SetSize(static_cast<int>(V.size()) - 1);
  for (std::size_t I = 0; I < V.size(); ++I) F.SetBit(static_cast<int>(I), V[I]);
  return F;
}

// Sizes around the 64-bit word boundaries.
TEST(BitFld, SizesAroundWordBoundaries) {
  for (const int N : {-5, -1, 0, 1, 62, 63, 64, 65, 127, 128, 200}) {
    SCOPED_TRACE(N);
    TBitFld F;
    F.SetSize(N);
    const int High = N < 0 ? -1 : N;
    EXPECT_EQ(F.Size(), High);
    EXPECT_EQ(F.CountTrueBits(), 0);
    EXPECT_EQ(F.FirstTrueBit(), -1);
    F.Invert();
    EXPECT_EQ(F.CountTrueBits(), High + 1);  // the unused bits of the last word stay clear
    EXPECT_EQ(F.FirstTrueBit(), High < 0 ? -1 : 0);
    EXPECT_EQ(F.GetBit(High), High >= 0);
    EXPECT_FALSE(F.GetBit(High + 1));
    EXPECT_FALSE(F.GetBit(-1));
    F.Clear();
    EXPECT_EQ(F.CountTrueBits(), 0);
  }
}

TEST(BitFld, SetGetAndOutOfRangeIndices) {
  TBitFld F;
  F.SetBit(0, true);  // an empty field ignores everything
  EXPECT_FALSE(F.GetBit(0));
  F.SetSize(130);
  for (const int Ix : {-1, 131, 1000, -2147483647 - 1}) F.SetBit(Ix, true);
  EXPECT_EQ(F.CountTrueBits(), 0);
  F.SetBit(130, true);
  F.SetBit(64, true);
  EXPECT_EQ(F.FirstTrueBit(), 64);
  EXPECT_EQ(F.CountTrueBits(), 2);
  F.SetBit(64, false);
  EXPECT_EQ(F.FirstTrueBit(), 130);
  EXPECT_TRUE(F.GetBit(130));
}

TEST(BitFld, ResizeKeepsTheBitsThatRemain) {
  TBitFld F;
  F.SetSize(100);
  F.SetBit(3, true);
  F.SetBit(60, true);
  F.SetBit(70, true);
  F.SetSize(59);
  EXPECT_EQ(Bits(F).size(), 60U);
  EXPECT_EQ(F.CountTrueBits(), 1);
  F.SetSize(100);  // bits cut off come back false
  EXPECT_EQ(F.CountTrueBits(), 1);
  EXPECT_TRUE(F.GetBit(3));
  EXPECT_FALSE(F.GetBit(60));
  EXPECT_FALSE(F.GetBit(70));
  F.SetSize(-1);
  EXPECT_EQ(F.Size(), -1);
  EXPECT_EQ(F.CountTrueBits(), 0);
}

TEST(BitFld, CloneAndCopiesAreIndependentValues) {
  TBitFld A = Field({true, false, true});
  TBitFld B;
  B.SetSize(500);
  B.Invert();
  B.Clone(A);
  EXPECT_EQ(B.Size(), 2);
  EXPECT_EQ(Bits(B), Bits(A));
  B.SetBit(1, true);
  EXPECT_FALSE(A.GetBit(1));
  A.Clone(A);
  EXPECT_EQ(Bits(A), (std::vector<bool>{true, false, true}));
  const TBitFld C = A;
  EXPECT_EQ(C, A);
}

// CombineWith against a bit-by-bit reference, with the other field shorter, equal and longer.
TEST(BitFld, CombineWithMatchesBitwiseReference) {
  const unsigned Seed = 1234;
  std::mt19937 Gen(Seed);
  const auto RandomBits = [&](int N) {
    std::vector<bool> V(static_cast<std::size_t>(N));
    for (std::size_t I = 0; I < V.size(); ++I) V[I] = (Gen() & 1U) != 0;
    return V;
  };
  const auto Apply = [](TLogicOp Op, bool A, bool B) {
    switch (Op) {
      case loAnd:
        return A && B;
      case loOr:
        return A || B;
      case loXor:
        return A != B;
      case loAndNot:
        return A && !B;
      case loOrNot:
        return A || !B;
      case loXorNot:
        return A != !B;
    }
    return A;
  };
  for (const int OtherN : {0, 40, 100, 130, 300}) {
    for (const TLogicOp Op : {loAnd, loOr, loXor, loAndNot, loOrNot, loXorNot}) {
      SCOPED_TRACE(testing::Message() << "other size " << OtherN << ", op " << int{Op});
      const std::vector<bool> A = RandomBits(130), B = RandomBits(OtherN);
      TBitFld F = Field(A);
      F.CombineWith(Field(B), Op);
      std::vector<bool> Expected(A.size());
      for (std::size_t I = 0; I < A.size(); ++I)
        Expected[I] = Apply(Op, A[I], I < B.size() && B[I]);
      EXPECT_EQ(F.Size(), 129);
      EXPECT_EQ(Bits(F), Expected) << "seed " << Seed;
      int Count = 0;
      for (const bool X : Expected) Count += X ? 1 : 0;
      EXPECT_EQ(F.CountTrueBits(), Count);  // nothing set beyond the size
    }
  }
}

TEST(BitFld, CombineWithItselfAndUnknownOps) {
  TBitFld F = Field({true, false, true, true});
  TBitFld G = F;
  G.CombineWith(G, loXor);
  EXPECT_EQ(G.CountTrueBits(), 0);
  G = F;
  G.CombineWith(G, loOrNot);
  EXPECT_EQ(G.CountTrueBits(), 4);
  G = F;
  G.CombineWith(G, loAndNot);
  EXPECT_EQ(G.CountTrueBits(), 0);
  G = F;
  G.CombineWith(Field({}), static_cast<TLogicOp>(6));
  EXPECT_EQ(G, F);
}

}  // namespace
