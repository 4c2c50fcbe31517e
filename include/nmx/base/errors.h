// ENMXError, the base of every library exception, and the component message format.
#pragma once

#include <string>
#include <string_view>

#include "nmx/config.h"
#include "nmx/platform/component.h"
#include "nmx/platform/exceptions.h"

namespace NMX_nmxbase {

/// Base of the library's exceptions; every module derives its own from it, so one handler
/// catches them all.
class NMX_API ENMXError : public NMX_platform::Exception {
 public:
  using NMX_platform::Exception::Exception;
};

/// `Component "<Name>": <Text>`, the form of every component's error message; a nullptr
/// component gives an empty name.
NMX_API std::string ComponentMessage(const NMX_platform::TComponent* Component,
                                     std::string_view Text);

/// The message for a failed allocation of a component's array while it is created
/// ("not enough memory on heap") and while it is resized ("not enough memory").
inline constexpr std::string_view kNoMemoryOnHeap = "not enough memory on heap";
inline constexpr std::string_view kNoMemory = "not enough memory";

}  // namespace NMX_nmxbase
