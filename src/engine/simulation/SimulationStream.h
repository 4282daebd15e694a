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

// An event of probability p, drawn from stream: the top 53 bits of the next
// number, as an integer below 2^53, fall under p 2^53. p = 1 always happens
// and p = 0 never.
class Chance
{
public:
    explicit Chance(double p)
        : threshold(static_cast<std::uint64_t>(p * 9007199254740992.0))
    {}

    bool happens(SimulationStream& stream) const { return (stream() >> 11) < threshold; }

private:
    std::uint64_t threshold;
};
