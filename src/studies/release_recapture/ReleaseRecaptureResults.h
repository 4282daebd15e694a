#pragma once

#include "engine/expressions/ParameterMap.h"
#include "numerics/Matrix.h"
#include "studies/release_recapture/Result.h"

#include <QString>
#include <QStringList>

#include <vector>

// The points of a single- or paired-release run, presented to the report and
// the plot under the names and in the order the user sees, which may differ
// from the likelihood's own parameter order. Each estimated parameter is
// named after the reach or detection site that owns it, so that a parameter
// shared by several reaches keeps the name of the first of them.
class ReleaseRecaptureResults
{
public:
    // One estimated parameter as the user sees it: its display name and its
    // index in the likelihood's parameter vector.
    struct DisplayedParameter
    {
        QString name;
        int index;
    };

    virtual ~ReleaseRecaptureResults() = default;

    // The number shown for parameter index of map: the label that created it
    // plus offset, computed without overflow for any label.
    static QString labelNumber(const ParameterMap& map, int index, int offset);

    // k, the number of estimated parameters.
    virtual int parameterCount() const { return static_cast<int>(display.size()); }
    // The estimated parameters in display order, with their likelihood
    // indices.
    const std::vector<DisplayedParameter>& displayedParameters() const { return display; }
    // Display names of the estimated parameters (and of derived quantities
    // that have a column in the variance table).
    virtual QStringList parameterNames() const;
    // One name per entry of a Result's release sizes.
    virtual QStringList releaseNames() const = 0;
    // One row per Result: column 0 the point's x value (0 where xValues has
    // no entry for it), then one variance per name of parameterNames().
    virtual Matrix varianceTable(const std::vector<double>& xValues) const;
    // The k estimates of Result i in display order.
    virtual std::vector<double> estimates(int i) const;
    // The k × k covariance of Result i in display order.
    virtual Matrix covariance(int i) const;
    // The value at Result i of every name of parameterNames(): the estimates,
    // then any derived quantities.
    virtual std::vector<double> quantities(int i) const { return estimates(i); }
    // Whether each name of parameterNames() is known exactly at Result i
    // (variance 0, see Result).
    virtual std::vector<bool> knownQuantities(int i) const;

    int count() const { return static_cast<int>(results.size()); }
    const Result& result(int i) const { return results[static_cast<std::size_t>(i)]; }

protected:
    explicit ReleaseRecaptureResults(std::vector<DisplayedParameter> displayOrder);

    // Appends a Result after checking that it has k estimates and a k × k
    // covariance; otherwise throws std::invalid_argument with mismatchMessage
    // and appends nothing.
    void addChecked(const std::vector<double>& estimates, const Matrix& covariance,
                    std::vector<int> releaseSizes, std::vector<bool> known,
                    const char* mismatchMessage);

    // The variance table of the k parameters with extraColumns more columns
    // (zero) for derived quantities.
    Matrix parameterVarianceTable(const std::vector<double>& xValues, int extraColumns) const;

private:
    std::vector<DisplayedParameter> display;
    std::vector<Result> results;
};
