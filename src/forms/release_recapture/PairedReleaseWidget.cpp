#include "forms/release_recapture/PairedReleaseWidget.h"

#include "forms/core/PairedReleaseInputs.h"
#include "forms/dialogs/ReleaseDesignKeys.h"
#include "forms/release_recapture/TCFinalReachWidgetImpl.h"
#include "forms/release_recapture/TCReachWidgetImpl.h"
#include "forms/release_recapture/TCReleaseWidgetImpl.h"
#include "framework/settings/QVSettingsKeys.h"
#include "framework/settings/RynSettings.h"

#include <QScrollBar>

PairedReleaseWidget::PairedReleaseWidget(ryn::RynSettings* settings, QWidget* parent)
    : ReleaseRecaptureWidget(settings, parent)
    , release(new TCReleaseWidgetImpl(content()))
    , finalReach(new TCFinalReachWidgetImpl(content()))
{
    setDesignTitle(PairedReleaseInputs::windowTitle);
    connect(release, &TCReleaseWidgetImpl::warningMessage, this,
            &ReleaseRecaptureWidget::displayWarning);
    connect(finalReach, &TCFinalReachWidgetImpl::warningMessage, this,
            &ReleaseRecaptureWidget::displayWarning);
    connect(release->treatmentReleaseEdit, &QLineEdit::textChanged, this,
            &PairedReleaseWidget::onTreatmentReleaseEditChanged);

    const QList<FieldSpec> specs = PairedReleaseInputs::releaseFields();
    const QList<RangeLineEdit*> fields = {
        release->treatmentReleaseEdit, release->treatmentSurvivalEdit, release->controlReleaseEdit,
        release->controlSurvivalEdit,  release->captureEdit,           release->removalEdit};
    for (int f = 0; f < specs.size(); ++f)
        registerField(fields[f], specs[f]);
    registerField(finalReach->productEdit, PairedReleaseInputs::lambdaField());

    // A link stored on runs the slot now; without one RT only takes its
    // unlinked name (RC keeps its stored text, a range too).
    connect(release->linkReleasesCheckBox, &QCheckBox::toggled, this,
            &PairedReleaseWidget::linkReleaseSizes);
    settings->bindWidget(release->linkReleasesCheckBox, QVSettingsKeys::PrLinkReleases, false);
    registerSwitch(PairedReleaseInputs::linkReleases, release->linkReleasesCheckBox);
    if (!release->releasesLinked())
        release->treatmentReleaseEdit->setName(
            PairedReleaseInputs::treatmentName.toUtf8().constData());
    setEndPanels(release, finalReach);
}

bool PairedReleaseWidget::validate()
{
    return passes(PairedReleaseInputs::firstIllegal(inputs()), PairedReleaseInputs::windowTitle);
}

int PairedReleaseWidget::preferredWidth() const
{
    return chainWidth() + 2 * margin + verticalScrollBar()->sizeHint().width();
}

// The scroll area's frame counted too: with two margins alone the strip
// would not fit above a horizontal scroll bar, and a vertical one would show.
int PairedReleaseWidget::preferredHeight() const
{
    return chainHeight() + horizontalScrollBar()->sizeHint().height() + 2 * margin +
           2 * frameWidth();
}

// Linked, RC is disabled (a range it held is released with the field's box)
// and shows RT's stored text; unlinked while a range is set, RC takes RT's
// first value, so that it does not show a second range.
void PairedReleaseWidget::linkReleaseSizes(bool rhs)
{
    linkFollowers(release->treatmentReleaseEdit, QVSettingsKeys::PrRt,
                  {{release->controlReleaseEdit, QVSettingsKeys::PrRc}}, rhs,
                  rhs ? PairedReleaseInputs::linkedTreatmentName
                      : PairedReleaseInputs::treatmentName);
}

void PairedReleaseWidget::onTreatmentReleaseEditChanged(QString rt)
{
    if (release->releasesLinked())
        settings()->setValue(QVSettingsKeys::PrRc, rt);
}

int PairedReleaseWidget::minimumReaches() const
{
    return PairedReleaseInputs::minimumReaches;
}

ReleaseRecaptureWidget::ReachPanel PairedReleaseWidget::createReachPanel(int k)
{
    auto* panel = new TCReachWidgetImpl(content());
    panel->setReachNumber(k + 2);
    connect(panel, &TCReachWidgetImpl::warningMessage, this,
            &ReleaseRecaptureWidget::displayWarning);
    return {panel,
            panel->survivalCombo,
            panel->survivalEdit,
            panel->captureCombo,
            panel->captureEdit,
            {panel->survivalEdit, panel->captureEdit, panel->removalEdit}};
}

QList<FieldSpec> PairedReleaseWidget::reachFields(int k) const
{
    return PairedReleaseInputs::reachFields(k);
}

int PairedReleaseWidget::survivalChoiceId() const
{
    return PairedReleaseInputs::survivalChoiceId();
}

int PairedReleaseWidget::captureChoiceId() const
{
    return PairedReleaseInputs::captureChoiceId();
}

QList<QWidget*> PairedReleaseWidget::releaseTabOrder() const
{
    return {release->treatmentReleaseEdit, release->treatmentSurvivalEdit,
            release->controlReleaseEdit,   release->controlSurvivalEdit,
            release->captureEdit,          release->removalEdit};
}

QWidget* PairedReleaseWidget::finalField() const
{
    return finalReach->productEdit;
}

QList<FieldSpec> PairedReleaseWidget::fieldTable(int reaches) const
{
    return PairedReleaseInputs::fieldTable(reaches);
}

int PairedReleaseWidget::numReachesId() const
{
    return ReleaseDesignKeys::of(ReleaseDesignKeys::PairedRelease)->numReaches;
}
