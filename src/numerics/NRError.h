#pragma once

#include <exception>

namespace NR3 {

// The failure of a matrix routine (a singular matrix, mismatched sizes, an
// iteration that did not converge). It carries a fixed message text; the
// covariance computation raises it too for a singular Hessian.
class NRError : public std::exception
{
public:
    explicit NRError(const char* message) noexcept
        : text(message)
    {}

    const char* what() const noexcept override { return text; }

private:
    const char* text;
};

} // namespace NR3
