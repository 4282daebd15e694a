#include "forms/release_recapture/TCReachWidgetImpl.h"

#include "forms/core/PairedReleaseInputs.h"
#include "forms/core/ReleaseRecaptureInputs.h"
#include "resources/QuorvelResources.h"

#include <QStringList>

TCReachWidgetImpl::TCReachWidgetImpl(QWidget* parent)
    : QWidget(parent)
{
    quorvel::initResources();
    setupUi(this);
    for (RangeLineEdit* field : {survivalEdit, captureEdit, removalEdit})
        connect(field, &RangeLineEdit::rangeAlreadySet, this,
                &TCReachWidgetImpl::forwardWarningMessage);
    connect(survivalCombo, qOverload<int>(&QComboBox::activated), this,
            &TCReachWidgetImpl::doSurvivalComboActivated);
    connect(captureCombo, qOverload<int>(&QComboBox::activated), this,
            &TCReachWidgetImpl::doCaptureComboActivated);
}

void TCReachWidgetImpl::setReachNumber(int n)
{
    number = n;
    const QString reach = QString::number(n);
    removalLabel->setText(
        removalLabel->text().replace(QLatin1String("D0"), QLatin1Char('D') + reach));
    removalEdit->setName(removalLabel->text().toUtf8().constData());
    survivalCombo->clear();
    survivalCombo->addItems(
        ReleaseRecaptureInputs::panelKeys(n - 1, PairedReleaseInputs::survivalKey));
    captureCombo->clear();
    captureCombo->addItems(
        ReleaseRecaptureInputs::panelKeys(n - 1, PairedReleaseInputs::captureKey));
    survivalEdit->setName(survivalCombo->currentText().toUtf8().constData());
    captureEdit->setName(captureCombo->currentText().toUtf8().constData());
}

void TCReachWidgetImpl::doSurvivalComboActivated(int pos)
{
    survivalEdit->setRangeEnabled(pos == survivalCombo->count() - 1);
}

void TCReachWidgetImpl::doCaptureComboActivated(int pos)
{
    captureEdit->setRangeEnabled(pos == captureCombo->count() - 1);
}

void TCReachWidgetImpl::forwardWarningMessage(QString msg)
{
    emit warningMessage(msg);
}
