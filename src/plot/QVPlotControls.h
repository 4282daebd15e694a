#pragma once

#include "ui_QVPlotControls.h"

#include <QWidget>

class QHBoxLayout;

// The panel below the precision plot: which parameter's precision is drawn,
// how dense the grid is ("High", "Low", "Off", the plot's grid levels 0 to 2)
// and what the mouse does on the plot (read the curves with the data bar, or
// pan), with the way back from a zoom. The plot widget connects and binds its
// controls. Its three groups stand in one row where the panel is wide enough,
// else the grid and mouse choices go below the data selector, so that a plot
// on a laptop's screen can be narrow.
class QVPlotControls : public QWidget, public Ui_QVPlotControls
{
    Q_OBJECT

public:
    explicit QVPlotControls(QWidget* parent = nullptr);

    // The least width of the two-row arrangement, the least height of the
    // rows as they are.
    QSize minimumSizeHint() const override;
    bool isOneRow() const { return oneRow; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Puts the grid and mouse choices in the first row or in a second one.
    void arrange(bool inOneRow);
    // The width the three groups take in one row.
    int oneRowWidth() const;

    QHBoxLayout* secondRow = nullptr;
    bool oneRow = true;
};
