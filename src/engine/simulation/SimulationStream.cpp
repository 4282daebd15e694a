#include "engine/simulation/SimulationStream.h"

namespace {

// Adds the golden-ratio increment and scrambles the result with two
// xor-shift-multiply rounds; a bijection of 64-bit words whose every output
// bit depends on every input bit.
std::uint64_t mix(std::uint64_t z)
{
    z += 0x9e3779b97f4a7c15ULL;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

} // namespace

SimulationStream simulationStream(std::uint64_t seed, std::uint64_t index)
{
    return SimulationStream(mix(mix(seed) ^ mix(~index)));
}
