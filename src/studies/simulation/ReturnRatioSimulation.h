#pragma once

#include "engine/simulation/ReleaseSimulation.h"
#include "studies/simulation/DesignSimulation.h"

#include <memory>

// The two-group designs whose one quantity T is the ratio of the groups'
// return rates: of Rc control fish each returns (is recaptured alive) with
// probability pc, of Rt treatment fish each with pt = pc·T, so that
// a_c ~ Binomial(Rc, pc) and a_t ~ Binomial(Rt, pt), and the estimate is
// T̂ = (a_t/Rt)/(a_c/Rc). In the balloon-tag design pc = Sc·Pa, in the
// transport design pc = θ.
struct ReturnRatio
{
    int controlRelease = 0;
    int treatmentRelease = 0;
    double controlReturn = 0.0;
    double effect = 0.0;
};

// The variance of T̂ as the design computes it, at the return rate pc and
// effect T: the delta method's T²·[(1 − pc)/(Rc·pc) + (1 − pc·T)/(Rt·pc·T)].
using ReturnRatioVariance = double (*)(const ReturnRatio& design);

// Draws one data set of design from stream, the returns of each group as one
// binomial count, the control group first, and estimates T with the standard
// error variance gives at the estimates (pc = a_c/Rc, T = T̂). The fit fails without control
// returns; it is on a boundary when no treatment fish or every fish of a group returned, and has no
// standard error when its variance is not positive. Throws std::invalid_argument unless both rates
// are probabilities.
SimulatedFit fitReturnRatio(const ReturnRatio& design, ReturnRatioVariance variance,
                            SimulationStream& stream);

// The checks of the balloon-tag and the transport design, from their run's
// record.
std::unique_ptr<DesignSimulation> balloonTagSimulation(const Design& design);
std::unique_ptr<DesignSimulation> transportSimulation(const Design& design);
