#pragma once

#include "forms/core/ReachFill.h"
#include "ui_FillReachesDialog.h"

#include <QDialog>

// "Fill reaches…": asks for a span of reaches and the survival, detection
// probability and removal proportion to give each of them, so that a long
// chain of reaches is entered in one step. The fields take what the design's
// fields take; an empty one leaves that parameter alone.
class FillReachesDialog : public QDialog, public Ui_FillReachesDialog
{
    Q_OBJECT

public:
    // The design's reach panels are numbered firstReach to lastReach; the
    // span starts as all of them.
    FillReachesDialog(int firstReach, int lastReach, QWidget* parent = nullptr);

    ReachFill fill() const;

private:
    void keepSpanInOrder();
};
