// The root classes of the component model: TObject and the copyable TPersistent.
#pragma once

#include <string>

#include "nmx/config.h"

namespace NMX_platform {

/// Root of every class of the component model; knows its class name.
class NMX_API TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = default;
  TObject& operator=(const TObject&) = default;
  virtual ~TObject();

  /// The name of the most derived class ("TVector", "TComponent", ...).
  virtual std::string ClassName() const { return "TObject"; }
};

/// An object that can copy its state from another through `Assign`.
///
/// `Assign(Source)` hands the work to `Source->AssignTo(this)`; a class that knows how to copy
/// from a source overrides `Assign`, a class that knows how to copy into a destination
/// overrides `AssignTo`. When neither side knows the other, `EConvertError` is raised with
/// "Cannot assign a <source class> to a <destination class>".
class NMX_API TPersistent : public TObject {
 public:
  std::string ClassName() const override { return "TPersistent"; }

  /// Copy the state of Source into this object; nullptr is reported as "a nil".
  virtual void Assign(const TPersistent* Source);

 protected:
  /// Copy this object's state into Dest; the base raises EConvertError.
  virtual void AssignTo(TPersistent* Dest) const;

  /// Raise EConvertError for an assignment of Source (may be nullptr) to this object.
  [[noreturn]] void AssignError(const TPersistent* Source) const;
};

}  // namespace NMX_platform
