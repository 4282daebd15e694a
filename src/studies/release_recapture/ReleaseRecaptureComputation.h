#pragma once

#include "studies/common/RunMonitor.h"
#include "studies/release_recapture/PairedReleaseRecord.h"
#include "studies/release_recapture/PairedReleaseResults.h"
#include "studies/release_recapture/SingleReleaseRecord.h"
#include "studies/release_recapture/SingleReleaseResults.h"

#include <atomic>
#include <memory>

// The computations of the single- and paired-release designs: for every point
// of the record the design's exact information is loaded with the point's
// values and its Hessian inverted into the expected variance-covariance
// matrix of the estimates, which becomes one Result. They follow the protocol
// of RunMonitor:
// - "Cancelled!" when monitor's cancel is found set before a point;
// - "Singular hessian: step = " and the point's index, then setCanceled(true),
//   when a point cannot be computed (its Hessian is singular, or a variance
//   is not positive and finite);
// - "Unknown error", then setCanceled(true), for anything else.
// The results hold the points computed before a cancel or a failure; they are
// null only when the failure came before they were made.
//
// pointCancelFlag, when given, is watched inside a point's covariance
// computation: the caller's own flag, which only it sets (the user's cancel
// is seen between points). A point computed while it is set is not stored.
std::unique_ptr<SingleReleaseResults>
computeSingleRelease(const SingleReleaseRecord& record, RunMonitor& monitor,
                     const std::atomic<bool>* pointCancelFlag = nullptr);

std::unique_ptr<PairedReleaseResults>
computePairedRelease(const PairedReleaseRecord& record, RunMonitor& monitor,
                     const std::atomic<bool>* pointCancelFlag = nullptr);
