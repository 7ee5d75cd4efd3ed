#include "platform/errors.h"

namespace kelvara {

std::string RuntimeError::defaultMessage(ErrorCode code) {
    switch (code) {
    case ErrorCode::InvalidCall: return "Invalid procedure call or argument";
    case ErrorCode::Overflow: return "Overflow";
    case ErrorCode::OutOfMemory: return "Out of memory";
    case ErrorCode::SubscriptOutOfRange: return "Subscript out of range";
    case ErrorCode::DivisionByZero: return "Division by zero";
    case ErrorCode::TypeMismatch: return "Type mismatch";
    case ErrorCode::BadFileName: return "Bad file name or number";
    case ErrorCode::FileNotFound: return "File not found";
    case ErrorCode::BadFileMode: return "Bad file mode";
    case ErrorCode::InputPastEnd: return "Input past end of file";
    case ErrorCode::PathNotFound: return "Path not found";
    case ErrorCode::PathFileAccess: return "Path/File access error";
    case ErrorCode::DllNotFound: return "File not found: library";
    case ErrorCode::EntryNotFound: return "Can't find DLL entry point";
    case ErrorCode::ObjectRequired: return "Object required";
    case ErrorCode::ApplicationDefined: return "Application-defined or object-defined error";
    }
    return "Run-time error";
}

std::string PlainReason(const RuntimeError& error) {
    const std::string text = error.what();
    if (text != RuntimeError::defaultMessage(error.code())) return text;
    switch (error.code()) {
    case ErrorCode::InvalidCall: return "A value lies outside the range it may take.";
    case ErrorCode::Overflow: return "A number is too large.";
    case ErrorCode::OutOfMemory: return "There is not enough memory.";
    case ErrorCode::SubscriptOutOfRange: return "There are more values than there is room for.";
    case ErrorCode::DivisionByZero: return "Division by zero.";
    case ErrorCode::TypeMismatch: return "A text that is not a number stands where a number is needed.";
    case ErrorCode::BadFileName: return "The file name cannot be used.";
    case ErrorCode::FileNotFound: return "The file does not exist.";
    case ErrorCode::BadFileMode: return "The file cannot be used this way.";
    case ErrorCode::InputPastEnd: return "The file ends before all its values were read.";
    case ErrorCode::PathNotFound: return "The folder does not exist.";
    case ErrorCode::PathFileAccess: return "The file or folder cannot be read or written.";
    case ErrorCode::DllNotFound: return "A library of the program was not found.";
    case ErrorCode::EntryNotFound: return "A library of the program lacks a routine.";
    case ErrorCode::ObjectRequired: return "A part of the window is missing.";
    case ErrorCode::ApplicationDefined: break;
    }
    return "An unexpected error occurred.";
}

} // namespace kelvara
