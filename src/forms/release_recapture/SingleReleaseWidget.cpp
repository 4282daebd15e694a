#include "forms/release_recapture/SingleReleaseWidget.h"

#include "forms/core/SingleReleaseInputs.h"
#include "forms/dialogs/ReleaseDesignKeys.h"
#include "forms/release_recapture/FinalReachWidgetImpl.h"
#include "forms/release_recapture/ReachWidgetImpl.h"
#include "forms/release_recapture/ReleaseWidgetImpl.h"

#include <QScrollBar>

SingleReleaseWidget::SingleReleaseWidget(ryn::RynSettings* settings, QWidget* parent)
    : ReleaseRecaptureWidget(settings, parent)
    , release(new ReleaseWidgetImpl(content()))
    , finalReach(new FinalReachWidgetImpl(content()))
{
    setDesignTitle(SingleReleaseInputs::title);
    connect(release, &ReleaseWidgetImpl::warningMessage, this,
            &ReleaseRecaptureWidget::displayWarning);
    connect(finalReach, &FinalReachWidgetImpl::warningMessage, this,
            &ReleaseRecaptureWidget::displayWarning);
    registerField(release->releaseEdit, SingleReleaseInputs::firstReleaseField());
    registerField(finalReach->productEdit, SingleReleaseInputs::lambdaField());
    setEndPanels(release, finalReach);
}

bool SingleReleaseWidget::validate()
{
    return passes(SingleReleaseInputs::firstIllegal(inputs()), SingleReleaseInputs::title);
}

int SingleReleaseWidget::preferredWidth() const
{
    return chainWidth() + 2 * margin + verticalScrollBar()->sizeHint().width();
}

int SingleReleaseWidget::preferredHeight() const
{
    return chainHeight() + horizontalScrollBar()->sizeHint().height() + 4 * margin;
}

int SingleReleaseWidget::minimumReaches() const
{
    return SingleReleaseInputs::minimumReaches;
}

ReleaseRecaptureWidget::ReachPanel SingleReleaseWidget::createReachPanel(int k)
{
    auto* panel = new ReachWidgetImpl(content());
    panel->setReachNumber(k + 1);
    connect(panel, &ReachWidgetImpl::warningMessage, this, &ReleaseRecaptureWidget::displayWarning);
    return {panel,
            panel->survivalCombo,
            panel->survivalEdit,
            panel->captureCombo,
            panel->captureEdit,
            {panel->survivalEdit, panel->captureEdit, panel->removalEdit, panel->releaseEdit}};
}

QList<FieldSpec> SingleReleaseWidget::reachFields(int k) const
{
    return SingleReleaseInputs::reachFields(k);
}

int SingleReleaseWidget::survivalChoiceId() const
{
    return SingleReleaseInputs::survivalChoiceId();
}

int SingleReleaseWidget::captureChoiceId() const
{
    return SingleReleaseInputs::captureChoiceId();
}

QList<QWidget*> SingleReleaseWidget::releaseTabOrder() const
{
    return {release->releaseEdit};
}

QWidget* SingleReleaseWidget::finalField() const
{
    return finalReach->productEdit;
}

QList<FieldSpec> SingleReleaseWidget::fieldTable(int reaches) const
{
    return SingleReleaseInputs::fieldTable(reaches);
}

int SingleReleaseWidget::numReachesId() const
{
    return ReleaseDesignKeys::of(ReleaseDesignKeys::SingleRelease)->numReaches;
}
