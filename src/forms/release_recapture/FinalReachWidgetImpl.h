#pragma once

#include "ui_FinalReachWidget.h"

#include <QString>
#include <QWidget>

// The last panel of the single-release form: the final reach, whose survival
// and detection at the final station are one probability, "Lambda".
class FinalReachWidgetImpl : public QWidget, public Ui_FinalReachWidget
{
    Q_OBJECT

public:
    explicit FinalReachWidgetImpl(QWidget* parent = nullptr);

signals:
    void warningMessage(QString msg);

public slots:
    void forwardWarningMessage(QString msg);
};
