#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <qwt_plot.h>

// The tornado chart of a sensitivity: one horizontal bar per input, from the
// measure at the design's own inputs (the vertical line) to the measure with
// the input varied down (one colour) and up (the other), the inputs that
// matter most at the top. A measure that cannot be computed has no bar.
class TornadoChart : public QwtPlot
{
    Q_OBJECT

public:
    explicit TornadoChart(QWidget* parent = nullptr);

    // Shows the bars of labels, in that order from the top; measureTitle
    // heads the measure's axis, title the chart.
    void setBars(const QString& title, const QString& measureTitle, const QStringList& labels,
                 double base, const QList<double>& low, const QList<double>& high);
    int barCount() const { return labels.size(); }

private:
    void addBar(int row, double from, double to, const QColor& colour);

    QStringList labels;
};
