#pragma once

#include "ui_RunModeDialog.h"

#include <QDialog>
#include <QString>
#include <QStringList>

namespace ryn {
class RynSettings;
}

// The run mode of the active release-recapture design: how many replicate
// studies are planned and the natural (extra-binomial) variance applied to one
// chosen parameter, which the runs read from the store, and for the single
// release whether the report adds the total survival through all reaches. The
// main window keeps one in a dock, points it at the active design and gives it
// that design's parameter names; each design keeps its own options.
class RunModeDialogImpl : public QDialog, public Ui_RunModeDialog
{
    Q_OBJECT

public:
    // Starts on the single release's options. settings must outlive the dialog.
    explicit RunModeDialogImpl(ryn::RynSettings* settings, QWidget* parent = nullptr);

    int studyType() const { return studyType_; }

    // Shows and stores the options of the design of studyType (1 the single,
    // 2 the paired release); for other designs nothing is bound. The chosen
    // parameter shown becomes the design's stored one, if it is offered.
    void setStudyType(int studyType);
    // The parameters the variance can be applied to. The design's stored
    // choice is shown when it is offered, else preferred when given and
    // offered, else the first name. Only the user's own choice is ever stored,
    // so the two calls may come in either order.
    void setParameters(const QStringList& names, const QString& preferred);

signals:
    void multipleModeToggled(bool rhs);
    void dialogClosed();

public slots:
    void displayMessage(QString s);
    void numRunsChanged(int num);
    // Stores the parameter the user chose for the current design.
    void onParChanged(QString s);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setReplicateGroupsEnabled(bool enabled);
    void showMultipleMode(bool multiple);
    void dropStoredRange();
    void showStoredParameter();
    void adoptShownParameter();

    ryn::RynSettings* settings;
    int studyType_ = 0;
    QString preferredParameter;
    bool retargeting = false;
};
