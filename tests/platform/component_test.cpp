#include "nmx/platform/component.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "nmx/platform/exceptions.h"

namespace {

using NMX_platform::TComponent;
using NMX_platform::TPersistent;

// Counts its own destruction, so tests can see who deleted whom.
class TProbe : public TComponent {
 public:
  TProbe(TComponent* AOwner, int& Deaths) : TComponent(AOwner), FDeaths(Deaths) {}
  ~TProbe() override { ++FDeaths; }
  std::string ClassName() const override { return "TProbe"; }

 private:
  int& FDeaths;
};

TEST(Component, OwnerDeletesOwnedComponents) {
  int Deaths = 0;
  {
    TComponent Owner;
    auto* A = new TProbe(&Owner, Deaths);
    new TProbe(A, Deaths);  // owned by A, so deleted with A
    EXPECT_EQ(Owner.ComponentCount(), 1);
    EXPECT_EQ(A->ComponentCount(), 1);
    EXPECT_EQ(A->Owner(), &Owner);
  }
  EXPECT_EQ(Deaths, 2);
}

TEST(Component, ComponentDeletedFirstLeavesItsOwner) {
  int Deaths = 0;
  TComponent Owner;
  auto* A = new TProbe(&Owner, Deaths);
  auto* B = new TProbe(&Owner, Deaths);
  delete A;
  EXPECT_EQ(Owner.ComponentCount(), 1);
  EXPECT_EQ(Owner.Components(0), B);
  EXPECT_EQ(Owner.Components(1), nullptr);
  EXPECT_EQ(Owner.Components(-1), nullptr);
}

TEST(Component, InsertMovesOwnershipAndRemoveReleasesIt) {
  int Deaths = 0;
  TComponent First;
  TComponent Second;
  auto* A = new TProbe(&First, Deaths);
  A->SetName("A");
  Second.InsertComponent(A);
  EXPECT_EQ(First.ComponentCount(), 0);
  EXPECT_EQ(Second.FindComponent("A"), A);
  EXPECT_EQ(Second.FindComponent("B"), nullptr);
  Second.RemoveComponent(A);
  EXPECT_EQ(A->Owner(), nullptr);
  std::unique_ptr<TProbe> Own(A);  // released: the caller owns it now
  Own.reset();
  EXPECT_EQ(Deaths, 1);
}

// Owning oneself or one's owner would make a cycle whose deletion never ends: refused with
// the ownership left exactly as it was.
TEST(Component, OwnershipCyclesAreRefused) {
  int Deaths = 0;
  {
    TComponent Root;
    auto* A = new TProbe(&Root, Deaths);
    auto* B = new TProbe(A, Deaths);
    auto* C = new TProbe(B, Deaths);
    struct Case {
      TComponent* Owner;
      TComponent* Owned;
    };
    for (const Case& K : {Case{A, A}, Case{B, A}, Case{C, A}, Case{C, &Root}}) {
      SCOPED_TRACE(testing::Message() << K.Owner << " taking " << K.Owned);
      EXPECT_THROW(K.Owner->InsertComponent(K.Owned), NMX_platform::EComponentError);
    }
    EXPECT_EQ(A->Owner(), &Root);
    EXPECT_EQ(B->Owner(), A);
    EXPECT_EQ(C->Owner(), B);
    EXPECT_EQ(Root.ComponentCount(), 1);
    EXPECT_EQ(A->ComponentCount(), 1);
    C->InsertComponent(nullptr);  // still nothing
    A->InsertComponent(C);        // a grandchild may become a child
    EXPECT_EQ(C->Owner(), A);
  }
  EXPECT_EQ(Deaths, 3);
}

class TOther : public TPersistent {
 public:
  std::string ClassName() const override { return "TOther"; }
};

TEST(Persistent, AssignBetweenUnrelatedClassesRaisesConvertError) {
  TComponent C;
  TOther O;
  try {
    C.Assign(&O);
    FAIL() << "no exception";
  } catch (const NMX_platform::EConvertError& E) {
    EXPECT_STREQ(E.what(), "Cannot assign a TOther to a TComponent");
  }
  try {
    C.Assign(nullptr);
    FAIL() << "no exception";
  } catch (const NMX_platform::EConvertError& E) {
    EXPECT_STREQ(E.what(), "Cannot assign a nil to a TComponent");
  }
}

TEST(Exceptions, HierarchyLetsOneHandlerCatchAll) {
  EXPECT_THROW(throw NMX_platform::EZeroDivide("x"), NMX_platform::EMathError);
  EXPECT_THROW(throw NMX_platform::EInOutError("x"), NMX_platform::Exception);
  EXPECT_THROW(throw NMX_platform::EOverflow("x"), std::exception);
}

}  // namespace
