#include "studies/simulation/ReturnRatioSimulation.h"

#include "engine/simulation/BinomialDraw.h"
#include "studies/btps/BTPSComputation.h"
#include "studies/btps/BTPSParameters.h"
#include "studies/tirr/TIRRComputation.h"
#include "studies/tirr/TIRRParameters.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace {

// The returns of a group of fish: one binomial draw, however many fish.
int returns(int fish, double p, SimulationStream& stream)
{
    return static_cast<int>(binomialDraw(fish, p, stream));
}

bool isProbability(double p)
{
    return p >= 0.0 && p <= 1.0;
}

// The balloon-tag variance depends on Sc and Pa through their product alone,
// which is all its data estimate: pc stands for Sc with Pa = 1.
double balloonTagVariance(const ReturnRatio& d)
{
    return passageSurvivalVariance(d.effect, d.controlReturn, 1.0, d.treatmentRelease,
                                   d.controlRelease);
}

double transportVariance(const ReturnRatio& d)
{
    return treatmentEffectVariance(d.controlReturn, d.effect, d.treatmentRelease, d.controlRelease);
}

// Record is BTPSParameters or TIRRParameters; designAt reads one point.
template <typename Record> class ReturnRatioSimulation : public DesignSimulation
{
public:
    using DesignAt = ReturnRatio (*)(const Record&, int point);

    ReturnRatioSimulation(Record record, DesignAt designAt, ReturnRatioVariance variance)
        : record(std::move(record))
        , designAt(designAt)
        , variance(variance)
    {}

    int pointCount() const override { return record.pointCount(); }
    QString rangeName() const override { return record.rangeName; }
    double xAt(int point) const override { return record.x.at(point); }
    QStringList quantityNames() const override { return {QStringLiteral("T")}; }

protected:
    Model modelAt(int point) const override
    {
        const ReturnRatio design = designAt(record, point);
        Model model;
        model.trueValues = {design.effect};
        model.predictedStandardErrors = {std::sqrt(variance(design))};
        model.fitDataSet = [design, variance = variance](SimulationStream& stream) {
            return fitReturnRatio(design, variance, stream);
        };
        return model;
    }

private:
    Record record;
    DesignAt designAt;
    ReturnRatioVariance variance;
};

} // namespace

SimulatedFit fitReturnRatio(const ReturnRatio& design, ReturnRatioVariance variance,
                            SimulationStream& stream)
{
    const double treatmentReturn = design.controlReturn * design.effect;
    if (!isProbability(design.controlReturn) || !isProbability(treatmentReturn))
        throw std::invalid_argument("fitReturnRatio: the return rates " +
                                    std::to_string(design.controlReturn) + " and " +
                                    std::to_string(treatmentReturn) + " must be probabilities");
    const int controlReturns = returns(design.controlRelease, design.controlReturn, stream);
    const int treatmentReturns = returns(design.treatmentRelease, treatmentReturn, stream);

    SimulatedFit fit;
    fit.converged = controlReturns > 0;
    if (!fit.converged) {
        fit.estimates = {0.0};
        return fit;
    }
    ReturnRatio estimated = design;
    estimated.controlReturn = static_cast<double>(controlReturns) / design.controlRelease;
    estimated.effect =
        static_cast<double>(treatmentReturns) / design.treatmentRelease / estimated.controlReturn;
    fit.estimates = {estimated.effect};
    fit.onBoundary = treatmentReturns == 0 || treatmentReturns == design.treatmentRelease ||
                     controlReturns == design.controlRelease;
    const double v = treatmentReturns > 0 ? variance(estimated) : 0.0;
    if (v > 0.0 && std::isfinite(v))
        fit.standardErrors = {std::sqrt(v)};
    return fit;
}

std::unique_ptr<DesignSimulation> balloonTagSimulation(const Design& design)
{
    return std::make_unique<ReturnRatioSimulation<BTPSParameters>>(
        takeBTPSRecord(design.inputs),
        [](const BTPSParameters& r, int i) {
            return ReturnRatio{r.rc[i], r.rt[i], r.sc[i] * r.pa[i], r.t[i]};
        },
        balloonTagVariance);
}

std::unique_ptr<DesignSimulation> transportSimulation(const Design& design)
{
    return std::make_unique<ReturnRatioSimulation<TIRRParameters>>(
        takeTIRRRecord(design.inputs),
        [](const TIRRParameters& r, int i) {
            return ReturnRatio{r.rc[i], r.rt[i], r.theta[i], r.t[i]};
        },
        transportVariance);
}
