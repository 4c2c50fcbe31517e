// TComponent: the owner/owned base class of every nmx component.
#pragma once

#include <string>
#include <vector>

#include "nmx/config.h"
#include "nmx/platform/object.h"

namespace NMX_platform {

/// A named object that may belong to an owner.
///
/// An owner deletes the components it owns when it is destroyed; a component destroyed first
/// removes itself from its owner. Components are neither copyable nor movable: their identity
/// is what owners and event handlers hold on to. Create owned components with `new`, the owner
/// takes them over; unowned ones belong to the caller (a `std::unique_ptr` does nicely).
class NMX_API TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* AOwner = nullptr);
  ~TComponent() override;

  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  TComponent(TComponent&&) = delete;
  TComponent& operator=(TComponent&&) = delete;

  std::string ClassName() const override { return "TComponent"; }

  /// The owner, or nullptr.
  TComponent* Owner() const noexcept { return FOwner; }

  /// The component's name; error messages of a component quote it.
  const std::string& Name() const noexcept { return FName; }
  void SetName(std::string NewName) { FName = std::move(NewName); }

  /// Number of components this one owns, and the owned component at Index (0-based, nullptr
  /// outside the range).
  int ComponentCount() const noexcept { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int Index) const noexcept;

  /// The owned component of that name, or nullptr.
  TComponent* FindComponent(const std::string& AName) const noexcept;

  /// Take AComponent over (it leaves its former owner first); nullptr does nothing. Raises
  /// EComponentError ("A component cannot own itself or one of its owners"), before anything
  /// changes, when AComponent is this component or one of its owners: the ownership would
  /// form a cycle, and deleting any member of it would never end.
  void InsertComponent(TComponent* AComponent);
  /// Give up ownership of AComponent without deleting it; it then has no owner.
  void RemoveComponent(TComponent* AComponent) noexcept;

 private:
  TComponent* FOwner = nullptr;
  std::string FName;
  std::vector<TComponent*> FComponents;
};

}  // namespace NMX_platform
