#pragma once

#include "studies/btps/BTPSResults.h"

class RunMonitor;
struct BTPSParameters;

// The sampling variance of the passage survival estimate T̂ = (a_t/Rt)/(a_c/Rc)
// of the balloon-tag design, where a_t ~ Binomial(Rt, St·Pa) and
// a_c ~ Binomial(Rc, Sc·Pa) count the treatment and control fish recaptured
// alive, St = T·Sc. By the delta method,
//   var(T̂) = (T / (Sc·Pa)) · [T·(1 − Pa·Sc)/Rc + (1 − T·Sc·Pa)/Rt].
double passageSurvivalVariance(double t, double sc, double pa, double rt, double rc);

// var(T̂) at every point of the record, by the protocol of RunMonitor: it stops
// with "Cancelled!" before a point when the monitor is cancelled, and with
// unshowableVarianceText and setCanceled(true) at a point whose variance is
// not positive and finite; the results then hold the points computed before.
BTPSResults computeBTPS(const BTPSParameters& record, RunMonitor& monitor);
