#pragma once

#include "engine/likelihoods/Func.h"

namespace ryn {

// A Func whose value is a negative log-likelihood. At the true parameter
// values of expected data its Hessian is the expected (Fisher) information,
// whose inverse is the expected variance-covariance matrix of the estimates.
class LikelihoodFunc : public Func
{
};

} // namespace ryn
