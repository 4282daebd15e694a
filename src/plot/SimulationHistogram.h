#pragma once

#include <qwt_plot.h>

#include <QString>

#include <vector>

class QwtPlotCurve;
class QwtPlotHistogram;
class QwtPlotMarker;

// The estimates of one quantity over the data sets of a check by simulation:
// their histogram, the true value marked by a vertical line, and the normal
// curve of the predicted standard error around the true value, scaled to the
// histogram, so that a biologist sees at once whether the estimates spread as
// predicted, pile up at a bound or lean to one side.
class SimulationHistogram : public QwtPlot
{
public:
    explicit SimulationHistogram(QWidget* parent = nullptr);

    // Draws estimates of quantity name, whose true value is trueValue and
    // predicted standard error predictedSe (not drawn unless positive and
    // finite). No estimates leave the plot empty.
    void setEstimates(const QString& name, const std::vector<double>& estimates, double trueValue,
                      double predictedSe);

    // The number of bins of the last estimates drawn, and the largest count.
    int binCount() const { return bins; }
    double highestCount() const { return highest; }

private:
    void drawPredictedCurve(double trueValue, double predictedSe, double binWidth, int count,
                            double low, double high);

    QwtPlotHistogram* histogram;
    QwtPlotMarker* trueValueLine;
    QwtPlotCurve* predictedCurve;
    int bins = 0;
    double highest = 0.0;
};
