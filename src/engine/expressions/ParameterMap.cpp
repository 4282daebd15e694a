#include "engine/expressions/ParameterMap.h"

ParameterMap::ParameterMap(const std::vector<int>& labels, int firstIndex)
    : first(firstIndex)
    , next(firstIndex)
    , positions(labels.size(), -1)
{
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const auto found = labelIndex.find(labels[i]);
        if (found != labelIndex.end()) {
            positions[i] = found->second;
        } else {
            labelIndex.emplace(labels[i], next);
            positions[i] = next++;
        }
    }
}

std::optional<int> ParameterMap::labelOfIndex(int index) const
{
    for (const auto& [label, created] : labelIndex)
        if (created == index)
            return label;
    return std::nullopt;
}
