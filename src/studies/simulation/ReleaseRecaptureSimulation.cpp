#include "studies/simulation/ReleaseRecaptureSimulation.h"

#include "engine/information/PairedReleaseInformation.h"
#include "engine/information/SingleReleaseInformation.h"
#include "engine/simulation/ReleaseDesign.h"
#include "studies/release_recapture/PairedReleaseRecord.h"
#include "studies/release_recapture/PairedReleaseResults.h"
#include "studies/release_recapture/SingleReleaseRecord.h"
#include "studies/release_recapture/SingleReleaseResults.h"

#include <functional>

namespace {

// The parameters of a fit in the likelihood's order, put in the report's:
// entry k of the result is entry order[k] of the fit.
SimulatedFit inDisplayOrder(const SimulatedFit& fit, const std::vector<int>& order)
{
    SimulatedFit shown = fit;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const auto index = static_cast<std::size_t>(order[k]);
        shown.estimates[k] = fit.estimates[index];
        if (!fit.standardErrors.empty())
            shown.standardErrors[k] = fit.standardErrors[index];
    }
    return shown;
}

std::vector<double> inDisplayOrder(const std::vector<double>& values, const std::vector<int>& order)
{
    std::vector<double> shown;
    for (int index : order)
        shown.push_back(values[static_cast<std::size_t>(index)]);
    return shown;
}

// A release-recapture design's check: Record the run's record, Information
// and Results the design's exact information and results, load the point's
// case into the information.
template <typename Record, typename Information, typename Results>
class ReleaseRecaptureSimulation : public DesignSimulation
{
public:
    using Load = std::function<void(Information&, const Record&, int point)>;
    using MakeResults = std::function<Results(const Information&)>;

    ReleaseRecaptureSimulation(Record record, Load load, MakeResults makeResults)
        : record(std::move(record))
        , load(std::move(load))
    {
        const Information information(this->record.survivalLabels, this->record.detectionLabels);
        const Results results = makeResults(information);
        names = results.parameterNames().mid(0, results.parameterCount());
        for (const auto& parameter : results.displayedParameters())
            order.push_back(parameter.index);
    }

    int pointCount() const override { return static_cast<int>(record.points.size()); }
    QString rangeName() const override { return record.rangeName; }
    double xAt(int point) const override { return record.x.at(point); }
    QStringList quantityNames() const override { return names; }

protected:
    Model modelAt(int point) const override
    {
        Information information(record.survivalLabels, record.detectionLabels);
        load(information, record, point);
        auto design = std::make_shared<const ReleaseDesign>(releaseDesignOf(information));
        checkReleaseDesign("DesignSimulation", *design);

        Model model;
        model.trueValues = inDisplayOrder(design->trueValues, order);
        model.predictedStandardErrors = inDisplayOrder(predictedStandardErrors(*design), order);
        model.fitDataSet = [design, order = order](SimulationStream& stream) {
            return inDisplayOrder(simulateAndFit(*design, stream), order);
        };
        return model;
    }

private:
    Record record;
    Load load;
    QStringList names;
    std::vector<int> order;
};

} // namespace

std::unique_ptr<DesignSimulation> singleReleaseSimulation(const Design& design)
{
    using Simulation = ReleaseRecaptureSimulation<SingleReleaseRecord, SingleReleaseInformation,
                                                  SingleReleaseResults>;
    return std::make_unique<Simulation>(
        takeSingleReleaseRecord(design.inputs, ReleaseRecaptureOptions::of(design.options)),
        [](SingleReleaseInformation& information, const SingleReleaseRecord& record, int i) {
            const SingleReleasePoint& point = record.points[static_cast<std::size_t>(i)];
            std::vector<double> parameters;
            information.setCase(point.removals, parameters, point.releaseSizes,
                                point.survivalValues, point.detectionValues, point.lambda);
        },
        [](const SingleReleaseInformation& information) {
            return SingleReleaseResults(information.parameterLayout(), false);
        });
}

std::unique_ptr<DesignSimulation> pairedReleaseSimulation(const Design& design)
{
    using Simulation = ReleaseRecaptureSimulation<PairedReleaseRecord, PairedReleaseInformation,
                                                  PairedReleaseResults>;
    return std::make_unique<Simulation>(
        takePairedReleaseRecord(design.inputs, ReleaseRecaptureOptions::of(design.options)),
        [](PairedReleaseInformation& information, const PairedReleaseRecord& record, int i) {
            const PairedReleasePoint& point = record.points[static_cast<std::size_t>(i)];
            std::vector<double> parameters;
            information.setCase(point.st, point.sc, point.removals, parameters,
                                point.controlRelease, point.treatmentRelease, point.survivalValues,
                                point.detectionValues, point.lambda);
        },
        [](const PairedReleaseInformation& information) {
            return PairedReleaseResults(information.parameterLayout());
        });
}
