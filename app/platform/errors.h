#pragma once
// Run-time errors of the program. Every failure that the forms must be able to
// catch (bad number text, overflow, an index out of bounds, a missing library,
// a file that cannot be opened) is raised as a RuntimeError carrying the
// classic error number and its message.
#include <stdexcept>
#include <string>

namespace kelvara {

enum class ErrorCode : int {
    InvalidCall = 5,
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptOutOfRange = 9,
    DivisionByZero = 11,
    TypeMismatch = 13,
    BadFileName = 52,
    FileNotFound = 53,
    BadFileMode = 54,
    InputPastEnd = 62,
    PathNotFound = 76,
    PathFileAccess = 75,
    DllNotFound = 48,
    EntryNotFound = 453,
    ObjectRequired = 424,
    ApplicationDefined = 1000,
};

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(ErrorCode code, const std::string& message)
        : std::runtime_error(message), code_(code) {}
    explicit RuntimeError(ErrorCode code) : RuntimeError(code, defaultMessage(code)) {}
    ErrorCode code() const noexcept { return code_; }
    int number() const noexcept { return static_cast<int>(code_); }

    static std::string defaultMessage(ErrorCode code);

private:
    ErrorCode code_;
};

// What went wrong, in plain words for a message: the error's own text when
// it was raised with one, else a sentence for its code (never the classic
// short name such as "Type mismatch").
std::string PlainReason(const RuntimeError& error);

[[noreturn]] inline void raise(ErrorCode code) { throw RuntimeError(code); }
[[noreturn]] inline void raise(ErrorCode code, const std::string& message) {
    throw RuntimeError(code, message);
}

} // namespace kelvara
