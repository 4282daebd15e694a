#pragma once

#include <vector>

namespace ryn {

// A scalar function of a parameter vector. The covariance computation
// differentiates it numerically; nothing in the program maximises it.
class Func
{
public:
    virtual ~Func() = default;

    // The function value at the given parameter vector.
    virtual double value(const std::vector<double>& parameters) const = 0;

    // First derivatives of value by forward differences, one per parameter,
    // written into out (resized to the parameter count). The step for
    // parameter j is 1e-8·|x_j| (1e-8 when x_j is 0), rounded to a number that
    // x_j + h represents exactly.
    virtual void gradient(const std::vector<double>& parameters, std::vector<double>& out) const;
};

} // namespace ryn
