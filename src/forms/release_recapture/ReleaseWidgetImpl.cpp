#include "forms/release_recapture/ReleaseWidgetImpl.h"

#include "resources/QuorvelResources.h"

ReleaseWidgetImpl::ReleaseWidgetImpl(QWidget* parent)
    : QWidget(parent)
{
    quorvel::initResources();
    setupUi(this);
    connect(releaseEdit, &RangeLineEdit::rangeAlreadySet, this,
            &ReleaseWidgetImpl::forwardWarningMessage);
}

void ReleaseWidgetImpl::forwardWarningMessage(QString msg)
{
    emit warningMessage(msg);
}
