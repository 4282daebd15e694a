#include "forms/release_recapture/ReachWidgetImpl.h"

#include "forms/core/ReleaseRecaptureInputs.h"
#include "forms/core/SingleReleaseInputs.h"
#include "resources/QuorvelResources.h"

#include <QStringList>

ReachWidgetImpl::ReachWidgetImpl(QWidget* parent)
    : QWidget(parent)
{
    quorvel::initResources();
    setupUi(this);
    for (RangeLineEdit* field : {survivalEdit, captureEdit, removalEdit, releaseEdit})
        connect(field, &RangeLineEdit::rangeAlreadySet, this, &ReachWidgetImpl::warningMessage);
    connect(survivalCombo, qOverload<int>(&QComboBox::activated), this,
            &ReachWidgetImpl::doSurvivalComboActivated);
    connect(captureCombo, qOverload<int>(&QComboBox::activated), this,
            &ReachWidgetImpl::doCaptureComboActivated);
}

void ReachWidgetImpl::setReachNumber(int n)
{
    number = n;
    const QString reach = QString::number(n);
    releaseLabel->setText(
        releaseLabel->text().replace(QLatin1String("R0"), QLatin1Char('R') + reach));
    releaseEdit->setName(releaseLabel->text().toUtf8().constData());
    removalLabel->setText(
        removalLabel->text().replace(QLatin1String("D0"), QLatin1Char('D') + reach));
    removalEdit->setName(removalLabel->text().toUtf8().constData());
    survivalCombo->clear();
    survivalCombo->addItems(ReleaseRecaptureInputs::panelKeys(n, SingleReleaseInputs::survivalKey));
    captureCombo->clear();
    captureCombo->addItems(ReleaseRecaptureInputs::panelKeys(n, SingleReleaseInputs::captureKey));
    survivalEdit->setName(survivalCombo->currentText().toUtf8().constData());
    captureEdit->setName(captureCombo->currentText().toUtf8().constData());
}

void ReachWidgetImpl::doSurvivalComboActivated(int pos)
{
    survivalEdit->setRangeEnabled(pos == survivalCombo->count() - 1);
}

void ReachWidgetImpl::doCaptureComboActivated(int pos)
{
    captureEdit->setRangeEnabled(pos == captureCombo->count() - 1);
}
