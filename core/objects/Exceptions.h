// The one root of every exception the system raises. Refusals are results; an exception is raised
// only where the system's behaviour calls for one (corrupt streams, conversion errors, platform
// failures), and it always carries its message as 1252 text.
#pragma once

#include <exception>
#include <string>

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// A conversion or format failure (bad format directive, bad argument, bad code page).
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// A down-cast to a class that the object does not belong to (the class library's "as" check).
class EInvalidCast : public Exception {
 public:
  EInvalidCast() : Exception("Invalid class typecast") {}
};

// Stream failures: reading past the end, writing that could not complete, files that cannot open.
class EStreamError : public Exception {
 public:
  using Exception::Exception;
};
class EReadError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

// The silent abort: it ends an operation without any message being shown or logged.
class EAbort : public Exception {
 public:
  using Exception::Exception;
};

// A call into a part of the system that does not exist yet: raised instead of answering as if the
// call had succeeded.
class ENonConstruit : public Exception {
 public:
  using Exception::Exception;
};

// The end of the program asked for by a unit that cannot go on: the program stops its units the
// normal way and exits with Code.
class EArretProgramme : public Exception {
 public:
  EArretProgramme(std::string message, int code) : Exception(std::move(message)), code_(code) {}
  int Code() const noexcept { return code_; }

 private:
  int code_;
};
