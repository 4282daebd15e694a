#include "plot/SimulationHistogram.h"

#include <qwt_legend.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_histogram.h>
#include <qwt_plot_marker.h>
#include <qwt_samples.h>
#include <qwt_text.h>

#include <QPen>
#include <QVector>

#include <algorithm>
#include <cmath>

namespace {

// The square-root rule, within bounds that keep a few thousand estimates
// readable and a few dozen from looking empty.
int binCountFor(std::size_t estimates)
{
    const int rule = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(estimates))));
    return std::clamp(rule, 10, 60);
}

constexpr double pi = 3.14159265358979323846;

} // namespace

SimulationHistogram::SimulationHistogram(QWidget* parent)
    : QwtPlot(parent)
    , histogram(new QwtPlotHistogram(tr("Estimates")))
    , trueValueLine(new QwtPlotMarker(tr("True value")))
    , predictedCurve(new QwtPlotCurve(tr("Predicted")))
{
    setCanvasBackground(Qt::white);
    setAxisTitle(QwtPlot::yLeft, tr("Data sets"));
    insertLegend(new QwtLegend(), QwtPlot::BottomLegend);

    auto* grid = new QwtPlotGrid();
    grid->setMajorPen(QColor(220, 220, 220), 0.0, Qt::DotLine);
    grid->attach(this);

    histogram->setStyle(QwtPlotHistogram::Columns);
    histogram->setBrush(QColor(120, 160, 210));
    histogram->setPen(QPen(QColor(60, 90, 140), 0.0));
    histogram->attach(this);

    predictedCurve->setPen(QPen(QColor(200, 120, 0), 2.0));
    predictedCurve->setRenderHint(QwtPlotItem::RenderAntialiased);
    predictedCurve->attach(this);

    trueValueLine->setLineStyle(QwtPlotMarker::VLine);
    trueValueLine->setLinePen(QPen(QColor(190, 30, 30), 2.0, Qt::DashLine));
    trueValueLine->setLabelAlignment(Qt::AlignRight | Qt::AlignTop);
    trueValueLine->setItemAttribute(QwtPlotItem::Legend, true);
    trueValueLine->setVisible(false);
    trueValueLine->attach(this);
}

void SimulationHistogram::setEstimates(const QString& name, const std::vector<double>& estimates,
                                       double trueValue, double predictedSe)
{
    setTitle(tr("Estimates of %1").arg(name));
    setAxisTitle(QwtPlot::xBottom, name);
    if (estimates.empty()) {
        histogram->setSamples(QVector<QwtIntervalSample>());
        predictedCurve->setSamples(QVector<QPointF>());
        trueValueLine->setVisible(false);
        bins = 0;
        highest = 0.0;
        replot();
        return;
    }

    const auto [lowest, largest] = std::minmax_element(estimates.begin(), estimates.end());
    double low = std::min(*lowest, trueValue);
    double high = std::max(*largest, trueValue);
    if (high - low < 1e-12) {
        low -= 0.5;
        high += 0.5;
    }
    bins = binCountFor(estimates.size());
    const double width = (high - low) / bins;
    QVector<double> counts(bins, 0.0);
    for (double x : estimates)
        counts[std::min(bins - 1, static_cast<int>((x - low) / width))] += 1.0;

    QVector<QwtIntervalSample> samples;
    for (int b = 0; b < bins; ++b)
        samples.append(QwtIntervalSample(counts[b], low + b * width, low + (b + 1) * width));
    histogram->setSamples(samples);
    highest = *std::max_element(counts.begin(), counts.end());

    trueValueLine->setXValue(trueValue);
    trueValueLine->setVisible(true);
    trueValueLine->setLabel(QwtText(tr("true %1").arg(trueValue, 0, 'g', 4)));
    drawPredictedCurve(trueValue, predictedSe, width, static_cast<int>(estimates.size()), low,
                       high);
    setAxisAutoScale(QwtPlot::xBottom);
    setAxisAutoScale(QwtPlot::yLeft);
    replot();
}

// The normal density N(trueValue, predictedSe²) times the number of estimates
// and the bin width: the counts the histogram would show if the estimates
// were distributed as the prediction says.
void SimulationHistogram::drawPredictedCurve(double trueValue, double predictedSe, double binWidth,
                                             int count, double low, double high)
{
    QVector<QPointF> points;
    if (predictedSe > 0.0 && std::isfinite(predictedSe)) {
        const double from = std::min(low, trueValue - 4.0 * predictedSe);
        const double to = std::max(high, trueValue + 4.0 * predictedSe);
        const double scale = count * binWidth / (predictedSe * std::sqrt(2.0 * pi));
        for (int i = 0; i <= 200; ++i) {
            const double x = from + (to - from) * i / 200.0;
            const double z = (x - trueValue) / predictedSe;
            points.append(QPointF(x, scale * std::exp(-0.5 * z * z)));
        }
    }
    predictedCurve->setSamples(points);
}
