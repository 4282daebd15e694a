#include "engine/likelihoods/Func.h"

#include <cmath>

namespace ryn {

void Func::gradient(const std::vector<double>& parameters, std::vector<double>& out) const
{
    constexpr double relativeStep = 1.0e-8;
    const double f0 = value(parameters);
    std::vector<double> shifted(parameters);
    out.resize(parameters.size());
    for (std::size_t j = 0; j < parameters.size(); ++j) {
        const double original = parameters[j];
        double h = relativeStep * std::fabs(original);
        if (h == 0.0)
            h = relativeStep;
        shifted[j] = original + h;
        h = shifted[j] - original;
        const double f = value(shifted);
        shifted[j] = original;
        out[j] = (f - f0) / h;
    }
}

} // namespace ryn
