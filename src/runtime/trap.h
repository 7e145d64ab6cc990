// Catching an error instead of letting it pass, for the members that report errors themselves
// (the environment facade and its module procedures).
#pragma once

#include <optional>

#include "library/errors.h"

namespace zolbex {

// Runs `body`; returns the error it raised, if any, as an automation error.
template <class Body>
std::optional<AutomationError> Trap(Body&& body) {
    try {
        body();
        return std::nullopt;
    } catch (...) {
        return CaughtError();
    }
}

}  // namespace zolbex
