#pragma once

#include <charconv>
#include <cmath>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

// The guard of every value a case loads into a likelihood or an information
// class. A value outside its domain throws std::invalid_argument naming owner,
// the value and its rule, as in "owner: survival value 2 is 1.5: a probability
// must lie in [0, 1]"; values of a list are numbered from 0 as in the list.
// Values that are not finite never pass.

// Throws unless value is finite and inDomain holds.
inline void requireInDomain(const char* owner, const std::string& name, double value, bool inDomain,
                            const char* rule)
{
    if (std::isfinite(value) && inDomain)
        return;
    char text[32];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, value);
    throw std::invalid_argument(std::string(owner) + ": " + name + " is " +
                                std::string(text, written.ptr) + ": " + rule);
}

inline void requireProbability(const char* owner, const std::string& name, double value)
{
    requireInDomain(owner, name, value, value >= 0.0 && value <= 1.0,
                    "a probability must lie in [0, 1]");
}

// Each values[i], named what + " " + i, is a probability.
inline void requireProbabilities(const char* owner, const char* what,
                                 const std::vector<double>& values)
{
    for (std::size_t i = 0; i < values.size(); ++i)
        requireProbability(owner, std::string(what) + ' ' + std::to_string(i), values[i]);
}

// Each values[i], named "removal proportion " + i, lies in [0, 1).
inline void requireRemovalProportions(const char* owner, const std::vector<double>& values)
{
    for (std::size_t i = 0; i < values.size(); ++i)
        requireInDomain(owner, "removal proportion " + std::to_string(i), values[i],
                        values[i] >= 0.0 && values[i] < 1.0,
                        "a removal proportion must lie in [0, 1)");
}

// Each labels[i], named what + " " + i, is not negative: labels number the
// reaches and sites whose parameter a position shares.
inline void requireLabels(const char* owner, const char* what, const std::vector<int>& labels)
{
    for (std::size_t i = 0; i < labels.size(); ++i)
        requireInDomain(owner, std::string(what) + ' ' + std::to_string(i), labels[i],
                        labels[i] >= 0, "a label must not be negative");
}

inline void requireReleaseSize(const char* owner, const std::string& name, double value)
{
    requireInDomain(owner, name, value, value >= 0.0, "a release size must not be negative");
}
