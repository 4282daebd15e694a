#include "forms/release_recapture/TCReleaseWidgetImpl.h"

#include "resources/QuorvelResources.h"

TCReleaseWidgetImpl::TCReleaseWidgetImpl(QWidget* parent)
    : QWidget(parent)
{
    quorvel::initResources();
    setupUi(this);
    for (RangeLineEdit* field : {treatmentReleaseEdit, treatmentSurvivalEdit, controlReleaseEdit,
                                 controlSurvivalEdit, captureEdit, removalEdit})
        connect(field, &RangeLineEdit::rangeAlreadySet, this, &TCReleaseWidgetImpl::warningMessage);
    connect(treatmentReleaseEdit, &QLineEdit::textChanged, this,
            &TCReleaseWidgetImpl::doTreatmentReleasedChanged);
}

void TCReleaseWidgetImpl::doTreatmentReleasedChanged(QString rt)
{
    if (releasesLinked())
        controlReleaseEdit->setText(rt);
}
