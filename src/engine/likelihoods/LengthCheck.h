#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

// Throws std::invalid_argument naming owner and what when a vector handed to
// owner has actual elements instead of expected.
inline void requireLength(const char* owner, std::size_t actual, int expected, const char* what)
{
    if (actual != static_cast<std::size_t>(expected))
        throw std::invalid_argument(std::string(owner) + ": expected " + std::to_string(expected) +
                                    ' ' + what + ", got " + std::to_string(actual));
}
