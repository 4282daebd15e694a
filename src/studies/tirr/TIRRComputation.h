#pragma once

#include "studies/tirr/TIRRResults.h"

class RunMonitor;
struct TIRRParameters;

// The sampling variance of the estimate of the treatment effect T = (a_t/Rt) /
// (a_c/Rc), where a control fish returns with probability θ and a treatment
// fish with probability θ·T (a_c ~ Binomial(Rc, θ), a_t ~ Binomial(Rt, θ·T)).
// By the delta method,
//   var(T̂) = T² · [(1 − θ·T)/(Rt·θ·T) + (1 − θ)/(θ·Rc)].
double treatmentEffectVariance(double theta, double t, double rt, double rc);

// var(T̂) at every point of the record, by the protocol of RunMonitor: it stops
// with "Cancelled!" before a point when the monitor is cancelled, and with
// unshowableVarianceText and setCanceled(true) at a point whose variance is
// not positive and finite; the results then hold the points computed before.
TIRRResults computeTIRR(const TIRRParameters& record, RunMonitor& monitor);
