#pragma once

#include "ui_TCReleaseWidget.h"

#include <QString>
#include <QWidget>

namespace ryn {
class RynSettings;
}

// The first panel of the paired-release form: the treatment release (Rt fish,
// surviving the first reach with St times the control's survival) and the
// control release (Rc fish, Sc), and the first station (detection P1, D1
// removed). With the link box checked the control release follows the
// treatment release: RC is disabled and shows RT's text.
class TCReleaseWidgetImpl : public QWidget, public Ui_TCReleaseWidget
{
    Q_OBJECT

public:
    // settings holds the link state and the treatment release size; it must
    // outlive the panel.
    explicit TCReleaseWidgetImpl(ryn::RynSettings* settings, QWidget* parent = nullptr);

    // Sets the link box from the stored state, once the release fields are
    // registered: a stored link links them, and without one RT gets the name
    // it has while not linked.
    void applyStoredLink();
    bool releasesLinked() const { return linked; }

signals:
    void warningMessage(QString msg);

public slots:
    void linkReleaseSizes(bool rhs);
    void doTreatmentReleasedChanged(QString rt);

private:
    ryn::RynSettings* settings;
    bool linked = false;
};
