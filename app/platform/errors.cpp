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

} // namespace kelvara
