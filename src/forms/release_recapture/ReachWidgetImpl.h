#pragma once

#include "ui_ReachWidget.h"

#include <QString>
#include <QWidget>

// One intermediate reach of the single-release form and the station ending
// it: the reach's survival, the detection probability and the proportion of
// detected fish removed at the station, and a release there. The combos
// choose whether the reach has its own survival and capture parameter (their
// last entry) or shares that of an earlier reach.
class ReachWidgetImpl : public QWidget, public Ui_ReachWidget
{
    Q_OBJECT

public:
    explicit ReachWidgetImpl(QWidget* parent = nullptr);

    // Names the panel's labels and fields after reach n (Rn, Dn) and fills
    // the combos with S1 .. Sn and P1 .. Pn.
    void setReachNumber(int n);
    int reachNumber() const { return number; }

signals:
    void warningMessage(QString msg);

public slots:
    // A field may be edited only while it holds the reach's own parameter.
    void doSurvivalComboActivated(int pos);
    void doCaptureComboActivated(int pos);

private:
    int number = 0;
};
