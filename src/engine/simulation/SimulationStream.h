#pragma once

#include <cstdint>
#include <random>

// The random numbers of one simulated data set. Every data set has its own
// stream, derived from the run's seed and the data set's index alone, so a
// run gives the same data sets whatever the number of threads that share
// them out and in whatever order they are drawn.
using SimulationStream = std::mt19937_64;

// The stream of data set index under seed. The seed and the index are mixed
// (splitmix64's finalising steps) into the generator's seed, so that
// neighbouring seeds or indices start streams that look unrelated.
SimulationStream simulationStream(std::uint64_t seed, std::uint64_t index);
