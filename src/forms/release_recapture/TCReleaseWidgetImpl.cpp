#include "forms/release_recapture/TCReleaseWidgetImpl.h"

#include "forms/core/PairedReleaseInputs.h"
#include "framework/settings/QVSettingsKeys.h"
#include "framework/settings/RynSettings.h"
#include "resources/QuorvelResources.h"

TCReleaseWidgetImpl::TCReleaseWidgetImpl(ryn::RynSettings* settings, QWidget* parent)
    : QWidget(parent)
    , settings(settings)
{
    quorvel::initResources();
    setupUi(this);
    for (RangeLineEdit* field : {treatmentReleaseEdit, treatmentSurvivalEdit, controlReleaseEdit,
                                 controlSurvivalEdit, captureEdit, removalEdit})
        connect(field, &RangeLineEdit::rangeAlreadySet, this, &TCReleaseWidgetImpl::warningMessage);
    connect(linkReleasesCheckBox, &QCheckBox::toggled, this,
            &TCReleaseWidgetImpl::linkReleaseSizes);
    connect(treatmentReleaseEdit, &QLineEdit::textChanged, this,
            &TCReleaseWidgetImpl::doTreatmentReleasedChanged);
}

void TCReleaseWidgetImpl::applyStoredLink()
{
    linkReleasesCheckBox->setChecked(settings->value(QVSettingsKeys::PrLinkReleases).toBool());
    if (!linked)
        treatmentReleaseEdit->setName(PairedReleaseInputs::treatmentName.toUtf8().constData());
}

// Linking shows RT's stored text in RC, which is disabled (a range it held is
// released with the field's "Disabling" box). Unlinking while a range is set
// gives RC RT's first value, so that RC does not show a second range; when RT
// cannot be read the texts stay as they are.
void TCReleaseWidgetImpl::linkReleaseSizes(bool rhs)
{
    settings->setValue(QVSettingsKeys::PrLinkReleases, rhs);
    controlReleaseEdit->setRangeEnabled(!rhs);
    linked = rhs;
    if (rhs) {
        controlReleaseEdit->setText(settings->value(QVSettingsKeys::PrRt).toString());
        treatmentReleaseEdit->setName(
            PairedReleaseInputs::linkedTreatmentName.toUtf8().constData());
        return;
    }
    if (treatmentReleaseEdit->isRangeSet()) {
        try {
            controlReleaseEdit->setText(QString::number(treatmentReleaseEdit->intValueAt(0)));
        } catch (const QString&) {
        }
    }
    treatmentReleaseEdit->setName(PairedReleaseInputs::treatmentName.toUtf8().constData());
}

void TCReleaseWidgetImpl::doTreatmentReleasedChanged(QString rt)
{
    if (linked)
        controlReleaseEdit->setText(rt);
}
