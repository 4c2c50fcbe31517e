#include "nmx/platform/component.h"

#include <algorithm>

#include "nmx/platform/exceptions.h"

namespace NMX_platform {

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner != nullptr) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  // Owned components are deleted last first; each one's destructor removes it from our list,
  // so the list shrinks as we go and never holds a dangling pointer.
  while (!FComponents.empty()) {
    delete FComponents.back();
  }
  if (FOwner != nullptr) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const noexcept {
  if (Index < 0 || Index >= ComponentCount()) return nullptr;
  return FComponents[static_cast<std::size_t>(Index)];
}

TComponent* TComponent::FindComponent(const std::string& AName) const noexcept {
  for (TComponent* C : FComponents) {
    if (C->FName == AName) return C;
  }
  return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent->FOwner == this) return;
  for (const TComponent* C = this; C != nullptr; C = C->FOwner) {
    if (C == AComponent) {
      throw EComponentError("A component cannot own itself or one of its owners");
    }
  }
  // Reserve first so that a failed allocation leaves both owners as they were.
  FComponents.reserve(FComponents.size() + 1);
  if (AComponent->FOwner != nullptr) AComponent->FOwner->RemoveComponent(AComponent);
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
}

void TComponent::RemoveComponent(TComponent* AComponent) noexcept {
  if (AComponent == nullptr || AComponent->FOwner != this) return;
  auto It = std::find(FComponents.begin(), FComponents.end(), AComponent);
  if (It != FComponents.end()) FComponents.erase(It);
  AComponent->FOwner = nullptr;
}

}  // namespace NMX_platform
