#include "forms/dialogs/RunModeDialogImpl.h"

#include "forms/StudyWidget.h"
#include "forms/core/FieldHelp.h"
#include "forms/dialogs/ReleaseDesignKeys.h"
#include "framework/settings/RynSettings.h"
#include "resources/QuorvelResources.h"

#include <QCloseEvent>
#include <QList>
#include <QMessageBox>
#include <QPair>

#include <initializer_list>

RunModeDialogImpl::RunModeDialogImpl(ryn::RynSettings* settings, QWidget* parent)
    : QDialog(parent)
    , settings(settings)
{
    quorvel::initResources();
    setupUi(this);
    numRunsSpin->setObjectName(QStringLiteral("Replicates"));
    varQEdit->setName("Variability");
    // The variance belongs to no form, so it can never hold a range; a colon
    // would make the stored variance read as 0.
    varQEdit->setRangeAllowed(false);
    const QList<QPair<QWidget*, const char*>> helped = {
        {enableReplicatesCheckBox, "enableReplicates"},
        {numRunsSpin, "replicates"},
        {varQEdit, "naturalVariance"},
        {multiParCombo, "replicateParameter"},
        {totalSurvivalCheckBox, "totalSurvival"}};
    for (const auto& [widget, key] : helped)
        StudyWidget::applyFieldHelp(widget, fieldhelp::runModeTopic, QLatin1String(key));
    connect(enableReplicatesCheckBox, &QCheckBox::toggled, this,
            &RunModeDialogImpl::setReplicateGroupsEnabled);

    setStudyType(ReleaseDesignKeys::SingleRelease);

    // A choice from the list is the user's own; filling the list stores
    // nothing.
    connect(multiParCombo, &QComboBox::textActivated, this, &RunModeDialogImpl::onParChanged);
    connect(numRunsSpin, qOverload<int>(&QSpinBox::valueChanged), this,
            &RunModeDialogImpl::numRunsChanged);
}

// Bindings are moved without disconnecting the widgets, which keeps the
// dialog's own connections (the check box enabling the group boxes, the
// replicate count) in place.
void RunModeDialogImpl::setStudyType(int studyType)
{
    studyType_ = studyType;
    retargeting = true;
    const std::initializer_list<QWidget*> bound = {enableReplicatesCheckBox, numRunsSpin, varQEdit,
                                                   multiParCombo, totalSurvivalCheckBox};
    for (QWidget* w : bound)
        settings->unbindWidget(w);
    if (const ReleaseDesignKeys* keys = ReleaseDesignKeys::of(studyType)) {
        settings->bindWidget(enableReplicatesCheckBox, keys->replicatesEnabled, false);
        settings->bindWidget(numRunsSpin, keys->replicatesNum, false);
        settings->bindWidget(varQEdit, keys->naturalVariance, false);
        dropStoredRange();
    }
    // Only the single release's report has the total survival.
    const bool single = studyType == ReleaseDesignKeys::SingleRelease;
    totalSurvivalCheckBox->setVisible(single);
    if (single)
        settings->bindWidget(totalSurvivalCheckBox, QVSettingsKeys::TotalSurvVar, false);
    retargeting = false;

    setReplicateGroupsEnabled(enableReplicatesCheckBox->isChecked());
    showMultipleMode(numRunsSpin->value() > 1);
    showStoredParameter();
}

void RunModeDialogImpl::setParameters(const QStringList& names, const QString& preferred)
{
    preferredParameter = preferred;
    multiParCombo->clear();
    multiParCombo->addItems(names);
    showStoredParameter();
}

void RunModeDialogImpl::displayMessage(QString s)
{
    QMessageBox::warning(this, QStringLiteral("Quorvel"), s, QMessageBox::Ok);
}

void RunModeDialogImpl::numRunsChanged(int num)
{
    showMultipleMode(num > 1);
    if (num > 1 && !retargeting)
        adoptShownParameter();
}

void RunModeDialogImpl::onParChanged(QString s)
{
    if (const ReleaseDesignKeys* keys = ReleaseDesignKeys::of(studyType_))
        settings->setValue(keys->replicateParameter, s);
}

void RunModeDialogImpl::closeEvent(QCloseEvent* event)
{
    emit dialogClosed();
    QDialog::closeEvent(event);
}

void RunModeDialogImpl::setReplicateGroupsEnabled(bool enabled)
{
    replicatesGroupBox->setEnabled(enabled);
    groupBox->setEnabled(enabled);
}

// Natural variability is offered only with at least two replicates.
void RunModeDialogImpl::showMultipleMode(bool multiple)
{
    varQEdit->setEnabled(multiple);
    multiParCombo->setEnabled(multiple);
    emit multipleModeToggled(multiple);
}

// A variance stored with a colon (typed before the field refused it) keeps its
// first value, written back at once so that the run reads what is shown.
void RunModeDialogImpl::dropStoredRange()
{
    const QString text = varQEdit->text();
    if (text.contains(QLatin1Char(':')))
        varQEdit->setText(text.section(QLatin1Char(':'), 0, 0));
}

void RunModeDialogImpl::showStoredParameter()
{
    const ReleaseDesignKeys* keys = ReleaseDesignKeys::of(studyType_);
    const QString stored = keys ? settings->stringValue(keys->replicateParameter) : QString();
    int index = stored.isEmpty() ? -1 : multiParCombo->findText(stored);
    if (index < 0 && !preferredParameter.isNull())
        index = multiParCombo->findText(preferredParameter);
    if (index < 0 && multiParCombo->count() > 0)
        index = 0;
    multiParCombo->setCurrentIndex(index);
}

// The runs apply the variance to the stored parameter only. When the user asks
// for replicates while the store names no parameter on offer (nothing chosen
// yet, or one the design no longer has), the parameter shown becomes the
// choice, so that the run applies the variance where the dialog says it does.
void RunModeDialogImpl::adoptShownParameter()
{
    const ReleaseDesignKeys* keys = ReleaseDesignKeys::of(studyType_);
    if (!keys || multiParCombo->currentIndex() < 0)
        return;
    if (multiParCombo->findText(settings->stringValue(keys->replicateParameter)) < 0)
        settings->setValue(keys->replicateParameter, multiParCombo->currentText());
}
