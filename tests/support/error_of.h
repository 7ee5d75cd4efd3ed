#pragma once
// The error code a call raises, or ApplicationDefined when it raises nothing.
#include "platform/errors.h"

namespace kelvara::testing {

inline ErrorCode errorOf(auto&& call) {
    try {
        call();
    } catch (const RuntimeError& e) {
        return e.code();
    }
    return ErrorCode::ApplicationDefined; // nothing raised
}

} // namespace kelvara::testing
