#pragma once

#include "ui_ReachNumDialog.h"

#include <QDialog>

namespace ryn {
class RynSettings;
}

// Sets the number of reaches of the active release-recapture design. The main
// window keeps one in a dock and points it at the active design, whose form it
// hands every new count; each design keeps its own count in the store.
class ReachNumDialog : public QDialog, public Ui_ReachNumDialog
{
    Q_OBJECT

public:
    // Starts on the single release's count. settings must outlive the dialog.
    explicit ReachNumDialog(ryn::RynSettings* settings, QWidget* parent = nullptr);

    int studyType() const { return studyType_; }

signals:
    void reachNumChanged(int n);

public slots:
    // Shows and stores the count of the design of studyType (1 the single, 2
    // the paired release) and emits that count once; for any other design the
    // spin box is left unbound and nothing is emitted.
    void setStudyType(int studyType);

private:
    bool bindTo(int studyType);

    ryn::RynSettings* settings;
    int studyType_ = 0;
};
