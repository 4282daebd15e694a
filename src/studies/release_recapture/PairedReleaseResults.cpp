#include "studies/release_recapture/PairedReleaseResults.h"

namespace {

using DisplayedParameter = ReleaseRecaptureResults::DisplayedParameter;

// Control and treatment parameters of each label side by side, numbered from
// the label plus offset.
void appendPairs(std::vector<DisplayedParameter>& display, const ParameterMap& control,
                 const ParameterMap& treatment, const QString& controlPrefix,
                 const QString& treatmentPrefix, int offset)
{
    for (int q = 0; q < control.createdCount(); ++q) {
        const int controlIndex = control.firstIndex() + q;
        const QString number = ReleaseRecaptureResults::labelNumber(control, controlIndex, offset);
        display.push_back({controlPrefix + number, controlIndex});
        display.push_back({treatmentPrefix + number, treatment.firstIndex() + q});
    }
}

std::vector<DisplayedParameter> displayOrder(const PairedReleaseLayout& layout)
{
    std::vector<DisplayedParameter> display = {
        {QStringLiteral("Sc"), PairedReleaseLayout::scIndex},
        {QStringLiteral("St"), PairedReleaseLayout::stIndex}};
    appendPairs(display, layout.controlSurvivalMap(), layout.treatmentSurvivalMap(),
                QStringLiteral("Sc"), QStringLiteral("St"), 2);
    appendPairs(display, layout.controlDetectionMap(), layout.treatmentDetectionMap(),
                QStringLiteral("Pc"), QStringLiteral("Pt"), 1);
    display.push_back({QStringLiteral("FinalC"), layout.controlLambdaIndex()});
    display.push_back({QStringLiteral("FinalT"), layout.treatmentLambdaIndex()});
    return display;
}

} // namespace

PairedReleaseResults::PairedReleaseResults(const PairedReleaseLayout& layout)
    : ReleaseRecaptureResults(displayOrder(layout))
{}

void PairedReleaseResults::addResult(const std::vector<double>& estimates, const Matrix& covariance,
                                     int rc, int rt, const std::vector<bool>& known)
{
    addChecked(estimates, covariance, {rc, rt}, known,
               "PairedReleaseResults::addResult - Number of parameters doesn't match. ");
}

QStringList PairedReleaseResults::releaseNames() const
{
    return {QStringLiteral("Rc"), QStringLiteral("Rt")};
}
