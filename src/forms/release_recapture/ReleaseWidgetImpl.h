#pragma once

#include "ui_ReleaseWidget.h"

#include <QString>
#include <QWidget>

// The first panel of the single-release form: the release at the top of the
// chain, R0 fish.
class ReleaseWidgetImpl : public QWidget, public Ui_ReleaseWidget
{
    Q_OBJECT

public:
    explicit ReleaseWidgetImpl(QWidget* parent = nullptr);

signals:
    void warningMessage(QString msg);

public slots:
    void forwardWarningMessage(QString msg);
};
