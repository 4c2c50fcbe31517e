// The exception hierarchy every nmx error derives from.
#pragma once

#include <exception>
#include <string>

#include "nmx/config.h"

namespace NMX_platform {

/// Base of every exception the library raises; `what()` is the message.
class NMX_API Exception : public std::exception {
 public:
  explicit Exception(std::string Msg) : FMessage(std::move(Msg)) {}
  const char* what() const noexcept override { return FMessage.c_str(); }
  const std::string& Message() const noexcept { return FMessage; }

 private:
  std::string FMessage;
};

/// A conversion failed: an assignment between unrelated classes, text that is no number.
class NMX_API EConvertError : public Exception {
 public:
  using Exception::Exception;
};

/// A file or stream could not be created, read or written.
class NMX_API EInOutError : public Exception {
 public:
  using Exception::Exception;
};

/// A component operation that would break the ownership tree (a component owning itself or
/// one of its owners).
class NMX_API EComponentError : public Exception {
 public:
  using Exception::Exception;
};

/// Base of the floating-point exceptions.
class NMX_API EMathError : public Exception {
 public:
  using Exception::Exception;
};

class NMX_API EZeroDivide : public EMathError {
 public:
  using EMathError::EMathError;
};

class NMX_API EInvalidOp : public EMathError {
 public:
  using EMathError::EMathError;
};

class NMX_API EOverflow : public EMathError {
 public:
  using EMathError::EMathError;
};

}  // namespace NMX_platform
