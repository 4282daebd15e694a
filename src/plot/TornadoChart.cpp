#include "plot/TornadoChart.h"

#include <QPen>

#include <qwt_legend.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_shapeitem.h>
#include <qwt_scale_div.h>
#include <qwt_scale_draw.h>
#include <qwt_text.h>

#include <algorithm>
#include <cmath>

namespace {

const QColor lowColour(70, 110, 190);
const QColor highColour(220, 120, 50);

// The rows of the chart named by the inputs: row k (counted from the top)
// sits at y = count − 1 − k.
class InputScaleDraw : public QwtScaleDraw
{
public:
    explicit InputScaleDraw(const QStringList& labels)
        : labels(labels)
    {
        enableComponent(QwtAbstractScaleDraw::Ticks, false);
        enableComponent(QwtAbstractScaleDraw::Backbone, false);
    }

    QwtText label(double value) const override
    {
        const int row = labels.size() - 1 - static_cast<int>(std::lround(value));
        if (row < 0 || row >= labels.size() || std::fabs(value - std::round(value)) > 1e-9)
            return QwtText();
        return QwtText(labels[row]);
    }

private:
    QStringList labels;
};

} // namespace

TornadoChart::TornadoChart(QWidget* parent)
    : QwtPlot(parent)
{
    setCanvasBackground(Qt::white);
    insertLegend(new QwtLegend(), QwtPlot::BottomLegend);
    auto* grid = new QwtPlotGrid();
    grid->enableY(false);
    grid->setMajorPen(QPen(Qt::gray, 0, Qt::DotLine));
    grid->attach(this);
    setMinimumSize(360, 240);
}

void TornadoChart::addBar(int row, double from, double to, const QColor& colour)
{
    if (!std::isfinite(to) || to == from)
        return;
    const double y = labels.size() - 1 - row;
    auto* bar = new QwtPlotShapeItem();
    bar->setRect(
        QRectF(QPointF(std::min(from, to), y - 0.35), QPointF(std::max(from, to), y + 0.35)));
    bar->setBrush(colour);
    bar->setPen(QPen(colour.darker(130), 0));
    bar->setItemAttribute(QwtPlotItem::Legend, false);
    bar->attach(this);
}

void TornadoChart::setBars(const QString& title, const QString& measureTitle,
                           const QStringList& labels, double base, const QList<double>& low,
                           const QList<double>& high)
{
    detachItems(QwtPlotItem::Rtti_PlotShape, true);
    detachItems(QwtPlotItem::Rtti_PlotMarker, true);
    this->labels = labels;
    setTitle(title);
    setAxisTitle(QwtPlot::xBottom,
                 tr("%1 (dashed line: at the design's own inputs)").arg(measureTitle));

    double least = base;
    double greatest = base;
    for (int k = 0; k < labels.size(); ++k) {
        for (double m : {low.value(k), high.value(k)}) {
            if (std::isfinite(m)) {
                least = std::min(least, m);
                greatest = std::max(greatest, m);
            }
        }
        addBar(k, base, low.value(k), lowColour);
        addBar(k, base, high.value(k), highColour);
    }
    const double margin =
        greatest > least ? (greatest - least) * 0.05 : std::fabs(base) * 0.05 + 1e-12;
    setAxisScale(QwtPlot::xBottom, least - margin, greatest + margin);

    // Every row labelled: one major tick per input.
    QList<double> ticks;
    for (int k = 0; k < labels.size(); ++k)
        ticks << k;
    QwtScaleDiv rows(-0.6, labels.size() - 0.4);
    rows.setTicks(QwtScaleDiv::MajorTick, ticks);
    setAxisScaleDraw(QwtPlot::yLeft, new InputScaleDraw(labels));
    setAxisScaleDiv(QwtPlot::yLeft, rows);

    auto* baseLine = new QwtPlotMarker();
    baseLine->setLineStyle(QwtPlotMarker::VLine);
    baseLine->setXValue(base);
    baseLine->setLinePen(QPen(Qt::black, 0, Qt::DashLine));
    baseLine->attach(this);
    // Legend entries for the two colours, drawn as empty shapes.
    for (const auto& [name, colour] : {std::pair{QStringLiteral("input lowered"), lowColour},
                                       std::pair{QStringLiteral("input raised"), highColour}}) {
        auto* key = new QwtPlotShapeItem(name);
        key->setBrush(colour);
        key->setItemAttribute(QwtPlotItem::Legend, true);
        key->setLegendMode(QwtPlotShapeItem::LegendColor);
        key->attach(this);
    }
    replot();
}
