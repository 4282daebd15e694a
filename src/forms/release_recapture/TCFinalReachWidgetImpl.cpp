#include "forms/release_recapture/TCFinalReachWidgetImpl.h"

#include "resources/QuorvelResources.h"

TCFinalReachWidgetImpl::TCFinalReachWidgetImpl(QWidget* parent)
    : QWidget(parent)
{
    quorvel::initResources();
    setupUi(this);
    connect(productEdit, &RangeLineEdit::rangeAlreadySet, this,
            &TCFinalReachWidgetImpl::forwardWarningMessage);
}

void TCFinalReachWidgetImpl::forwardWarningMessage(QString msg)
{
    emit warningMessage(msg);
}
