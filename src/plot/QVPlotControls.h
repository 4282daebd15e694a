#pragma once

#include "ui_QVPlotControls.h"

#include <QWidget>

// The panel below the precision plot: which parameter's precision is drawn,
// how dense the grid is ("High", "Low", "Off", the plot's grid levels 0 to 2)
// and what the mouse does on the plot (read the curves with the data bar, or
// pan). The plot widget connects and binds its controls.
class QVPlotControls : public QWidget, public Ui_QVPlotControls
{
    Q_OBJECT

public:
    explicit QVPlotControls(QWidget* parent = nullptr);
};
