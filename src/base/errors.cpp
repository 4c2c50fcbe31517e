#include "nmx/base/errors.h"

namespace NMX_nmxbase {

std::string ComponentMessage(const NMX_platform::TComponent* Component, std::string_view Text,
                             std::string_view Where) {
  std::string Msg = "Component \"";
  if (Component != nullptr) Msg += Component->Name();
  Msg += Where;
  Msg += "\": ";
  Msg += Text;
  return Msg;
}

}  // namespace NMX_nmxbase
