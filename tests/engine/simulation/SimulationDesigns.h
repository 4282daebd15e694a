#pragma once

// Designs of the simulation tests, loaded through the designs' exact
// information so that the chains are those whose precision it predicts.

#include "engine/information/PairedReleaseInformation.h"
#include "engine/information/SingleReleaseInformation.h"
#include "engine/simulation/ReleaseDesign.h"

#include <vector>

namespace quorvel::test {

struct SingleCase
{
    std::vector<int> survivalLabels, detectionLabels;
    std::vector<double> removals;
    std::vector<int> releaseSizes;
    std::vector<double> survivalValues, detectionValues;
    double lambda;
};

struct PairedCase
{
    std::vector<int> survivalLabels, detectionLabels;
    double sc, st;
    std::vector<double> removals;
    int controlRelease, treatmentRelease;
    std::vector<double> survivalValues, detectionValues;
    double lambda;
};

inline ReleaseDesign designOf(const SingleCase& c)
{
    SingleReleaseInformation information(c.survivalLabels, c.detectionLabels);
    std::vector<double> parameters;
    information.setCase(c.removals, parameters, c.releaseSizes, c.survivalValues, c.detectionValues,
                        c.lambda);
    return releaseDesignOf(information);
}

inline ReleaseDesign designOf(const PairedCase& c)
{
    PairedReleaseInformation information(c.survivalLabels, c.detectionLabels);
    std::vector<double> parameters;
    information.setCase(c.st, c.sc, c.removals, parameters, c.controlRelease, c.treatmentRelease,
                        c.survivalValues, c.detectionValues, c.lambda);
    return releaseDesignOf(information);
}

// Four reaches, a survival label shared by two of them, removals and
// releases at several sites.
inline SingleCase singleWithRemovals()
{
    return {{0, 1, 1, 2},
            {0, 1, 2, 3},
            {0.1, 0.0, 0.3, 0.05},
            {2000, 0, 500, 300, 100},
            {0.9, 0.8, 0.95},
            {0.7, 0.6, 0.8, 0.5},
            0.6};
}

// The first reach and three downstream reaches, removals at two sites.
inline PairedCase pairedWithRemovals()
{
    return {{0, 1, 2},         {0, 1, 2, 3},         0.85, 0.9, {0.2, 0.0, 0.1, 0.0}, 1500, 1200,
            {0.9, 0.85, 0.95}, {0.6, 0.7, 0.8, 0.5}, 0.7};
}

} // namespace quorvel::test
