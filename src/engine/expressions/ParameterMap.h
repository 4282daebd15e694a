#pragma once

#include <map>
#include <optional>
#include <vector>

// Turns per-position labels (one per reach or detection site) into parameter
// indices: positions with equal labels share one parameter, and new labels
// get consecutive indices from firstIndex on, in order of first appearance.
// After construction nextIndex() is the first index free for the next block
// of parameters.
class ParameterMap
{
public:
    ParameterMap(const std::vector<int>& labels, int firstIndex);
    virtual ~ParameterMap() = default;

    int positionCount() const { return static_cast<int>(positions.size()); }
    // The parameter index of position i.
    int positionIndex(int position) const { return positions[static_cast<std::size_t>(position)]; }
    const std::vector<int>& positionIndices() const { return positions; }

    int firstIndex() const { return first; }
    int nextIndex() const { return next; }
    // The number of distinct labels, which is the number of indices created.
    int createdCount() const { return next - first; }
    // The label that created index; none when index is not one of this map's.
    std::optional<int> labelOfIndex(int index) const;

private:
    int first;
    int next;
    std::vector<int> positions;
    std::map<int, int> labelIndex;
};
