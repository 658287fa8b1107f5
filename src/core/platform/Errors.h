#pragma once
// Error classes of the core. Every failure is raised as an exception carrying the
// message the user sees in the error box; the command that raised it is abandoned.
#include <stdexcept>
#include <string>

namespace pelm {

class EError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file could not be opened for reading: "Cannot open file "%s". %s".
class EFOpenError : public EError {
public:
    using EError::EError;
};

// A file could not be created or written: "Cannot create file "%s". %s".
class EFCreateError : public EError {
public:
    using EError::EError;
};

// A text that should hold an integer does not: "'%s' is not a valid integer value".
class EConvertError : public EError {
public:
    using EError::EError;
};

// printf-style formatting into a std::string.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// The system's reason for the last failed call (errno), as a sentence.
std::string SystemErrorText(int err);

}  // namespace pelm
