#pragma once

#include "ui_TCReachWidget.h"

#include <QString>
#include <QWidget>

// One downstream reach of the paired-release form and the station ending it:
// the reach's survival, the detection probability and the proportion of
// detected fish removed at the station, each a parameter of both groups. The
// combos choose whether the reach has its own survival and detection
// parameter (their last entry) or shares that of an earlier reach.
class TCReachWidgetImpl : public QWidget, public Ui_TCReachWidget
{
    Q_OBJECT

public:
    explicit TCReachWidgetImpl(QWidget* parent = nullptr);

    // Names the removal label and field after reach n (Dn) and fills the
    // combos with S2 .. Sn and P2 .. Pn.
    void setReachNumber(int n);
    int reachNumber() const { return number; }

signals:
    void warningMessage(QString msg);

public slots:
    // A field may be edited only while it holds the reach's own parameter.
    void doSurvivalComboActivated(int pos);
    void doCaptureComboActivated(int pos);
    void forwardWarningMessage(QString msg);

private:
    int number = 0;
};
