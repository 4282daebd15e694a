#include "forms/dialogs/ReachNumDialog.h"

#include "forms/StudyWidget.h"
#include "forms/core/FieldHelp.h"
#include "forms/core/ReleaseRecaptureInputs.h"
#include "forms/dialogs/ReleaseDesignKeys.h"
#include "framework/settings/RynSettings.h"
#include "resources/QuorvelResources.h"

#include <QSignalBlocker>

ReachNumDialog::ReachNumDialog(ryn::RynSettings* settings, QWidget* parent)
    : QDialog(parent)
    , settings(settings)
{
    quorvel::initResources();
    setupUi(this);
    reachNumSpin->setMaximum(ReleaseRecaptureInputs::maximumReaches);
    StudyWidget::applyFieldHelp(reachNumSpin, fieldhelp::runModeTopic, QStringLiteral("reaches"));
    bindTo(ReleaseDesignKeys::SingleRelease);
    connect(reachNumSpin, qOverload<int>(&QSpinBox::valueChanged), this,
            &ReachNumDialog::reachNumChanged);
}

void ReachNumDialog::setStudyType(int studyType)
{
    if (bindTo(studyType))
        emit reachNumChanged(reachNumSpin->value());
}

// The spin box is silent while its minimum and binding change: a minimum that
// pushes the shown count up, or the previous design's count, would otherwise
// reach the new design's form as counts of its own (a single-release form told
// 2 on its way back from the paired release's 1 would drop and regrow its
// panels). The count the box ends with is stored, since a stored count below
// the minimum, or none at all, is raised without a word.
bool ReachNumDialog::bindTo(int studyType)
{
    studyType_ = studyType;
    settings->unbindWidget(reachNumSpin);
    const ReleaseDesignKeys* keys = ReleaseDesignKeys::of(studyType);
    if (!keys)
        return false;
    {
        const QSignalBlocker silence(reachNumSpin);
        reachNumSpin->setMinimum(keys->minReaches);
        // Without disconnecting, so that the connection to reachNumChanged
        // stays.
        settings->bindWidget(reachNumSpin, keys->numReaches, false);
    }
    settings->setValue(keys->numReaches, reachNumSpin->value());
    return true;
}
