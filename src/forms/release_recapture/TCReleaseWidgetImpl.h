#pragma once

#include "ui_TCReleaseWidget.h"

#include <QString>
#include <QWidget>

// The first panel of the paired-release form: the treatment release (Rt fish,
// surviving the first reach with St times the control's survival) and the
// control release (Rc fish, Sc), and the first station (detection P1, D1
// removed). With the link box checked the control release follows the
// treatment release: RC is disabled and shows RT's text (the form links and
// unlinks them).
class TCReleaseWidgetImpl : public QWidget, public Ui_TCReleaseWidget
{
    Q_OBJECT

public:
    explicit TCReleaseWidgetImpl(QWidget* parent = nullptr);

    bool releasesLinked() const { return linkReleasesCheckBox->isChecked(); }

signals:
    void warningMessage(QString msg);

public slots:
    // While linked, RC shows every edit of RT.
    void doTreatmentReleasedChanged(QString rt);
};
