#include "nmx/platform/object.h"

#include "nmx/platform/exceptions.h"

namespace NMX_platform {

TObject::~TObject() = default;

void TPersistent::Assign(const TPersistent* Source) {
  if (Source == nullptr) AssignError(nullptr);
  Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) const {
  if (Dest == nullptr) throw EConvertError("Cannot assign a " + ClassName() + " to a nil");
  Dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* Source) const {
  const std::string SourceName = Source != nullptr ? Source->ClassName() : std::string("nil");
  throw EConvertError("Cannot assign a " + SourceName + " to a " + ClassName());
}

}  // namespace NMX_platform
