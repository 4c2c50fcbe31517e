// ENMXError, the base of every library exception, and the component message format.
#pragma once

#include <string>
#include <string_view>

#include "nmx/config.h"
#include "nmx/platform/component.h"
#include "nmx/platform/exceptions.h"

namespace NMX_nmxbase {

/// Base of the library's own exceptions: every module derives its own from it, so one handler
/// catches them all. The platform's exceptions that the library raises where a platform would
/// (EConvertError from Assign, EInOutError from failed writes, EComponentError) are not
/// ENMXErrors; NMX_platform::Exception, the base of both, catches everything the library
/// raises.
class NMX_API ENMXError : public NMX_platform::Exception {
 public:
  using NMX_platform::Exception::Exception;
};

/// `Component "<Name><Where>": <Text>`, the form of every component's error message (Where is
/// mostly empty; ".Histogram" names an operation inside the quotes); a nullptr component gives
/// an empty name.
NMX_API std::string ComponentMessage(const NMX_platform::TComponent* Component,
                                     std::string_view Text, std::string_view Where = {});

/// Raises E, a library or platform exception, with the component message of Component, Text
/// and Where: the one way components report their errors.
template <class E>
[[noreturn]] void RaiseComponentError(const NMX_platform::TComponent* Component,
                                      std::string_view Text, std::string_view Where = {}) {
  throw E(ComponentMessage(Component, Text, Where));
}

/// The message for a failed allocation of a component's array while it is created
/// ("not enough memory on heap") and while it is resized ("not enough memory").
inline constexpr std::string_view kNoMemoryOnHeap = "not enough memory on heap";
inline constexpr std::string_view kNoMemory = "not enough memory";

}  // namespace NMX_nmxbase
