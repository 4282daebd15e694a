#pragma once

#include "ui_TCFinalReachWidget.h"

#include <QString>
#include <QWidget>

// The last panel of the paired-release form: the final reach, whose survival
// and detection at the final station are one probability, "Lambda", of the
// same true value for both groups.
class TCFinalReachWidgetImpl : public QWidget, public Ui_TCFinalReachWidget
{
    Q_OBJECT

public:
    explicit TCFinalReachWidgetImpl(QWidget* parent = nullptr);

signals:
    void warningMessage(QString msg);

public slots:
    void forwardWarningMessage(QString msg);
};
