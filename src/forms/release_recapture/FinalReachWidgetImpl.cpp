#include "forms/release_recapture/FinalReachWidgetImpl.h"

#include "resources/QuorvelResources.h"

FinalReachWidgetImpl::FinalReachWidgetImpl(QWidget* parent)
    : QWidget(parent)
{
    quorvel::initResources();
    setupUi(this);
    connect(productEdit, &RangeLineEdit::rangeAlreadySet, this,
            &FinalReachWidgetImpl::forwardWarningMessage);
}

void FinalReachWidgetImpl::forwardWarningMessage(QString msg)
{
    emit warningMessage(msg);
}
