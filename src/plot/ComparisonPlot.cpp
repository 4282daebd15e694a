#include "plot/ComparisonPlot.h"

#include "framework/files/SaveFile.h"

#include <qwt_legend.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_renderer.h>
#include <qwt_symbol.h>

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cmath>

namespace {

// The curves' colours, one per design (six at most), told apart in print too
// by their symbols.
const QList<QColor> curveColours = {QColor(0, 90, 181),   QColor(220, 50, 32), QColor(0, 150, 80),
                                    QColor(150, 60, 170), QColor(230, 150, 0), QColor(90, 90, 90)};
const QList<QwtSymbol::Style> curveSymbols = {QwtSymbol::Ellipse,  QwtSymbol::Rect,
                                              QwtSymbol::Triangle, QwtSymbol::Diamond,
                                              QwtSymbol::Cross,    QwtSymbol::XCross};

// The line a power is read against when no target is given.
constexpr double conventionalPower = 0.8;

} // namespace

ComparisonPlot::ComparisonPlot(QWidget* parent)
    : QwtPlot(parent)
    , line(new QwtPlotMarker)
{
    setCanvasBackground(Qt::white);
    insertLegend(new QwtLegend, QwtPlot::BottomLegend);
    auto* grid = new QwtPlotGrid;
    grid->setMajorPen(QPen(QColor(220, 220, 220), 0, Qt::DotLine));
    grid->attach(this);
    line->setLineStyle(QwtPlotMarker::HLine);
    line->setLinePen(QPen(Qt::black, 1.5, Qt::DashLine));
    line->setLabelAlignment(Qt::AlignLeft | Qt::AlignTop);
    line->setVisible(false);
    line->attach(this);
    setAxisTitle(QwtPlot::xBottom, tr("Total fish released"));
    setTitle(tr("Designs compared"));
}

void ComparisonPlot::setCurves(const QList<Curve>& given, const QString& measureName, bool power,
                               double target)
{
    detachItems(QwtPlotItem::Rtti_PlotCurve, true);
    curves = 0;
    for (const Curve& curve : given) {
        auto* drawn = new QwtPlotCurve(curve.label);
        const QColor colour = curveColours[curves % curveColours.size()];
        drawn->setPen(QPen(colour, 2));
        drawn->setSymbol(new QwtSymbol(curveSymbols[curves % curveSymbols.size()], QBrush(colour),
                                       QPen(colour), QSize(6, 6)));
        drawn->setRenderHint(QwtPlotItem::RenderAntialiased);
        drawn->setSamples(curve.fish, curve.measure);
        drawn->attach(this);
        ++curves;
    }
    setAxisTitle(QwtPlot::yLeft, measureName);
    if (power)
        setAxisScale(QwtPlot::yLeft, 0.0, 1.0);
    else
        setAxisAutoScale(QwtPlot::yLeft);
    const double value = target > 0 ? target : power ? conventionalPower : std::nan("");
    line->setVisible(!std::isnan(value));
    if (!std::isnan(value)) {
        line->setYValue(value);
        line->setLabel(
            QwtText(target > 0 ? tr("target %1").arg(value) : tr("power %1").arg(value)));
    }
    replot();
}

double ComparisonPlot::lineValue() const
{
    return line->isVisible() ? line->yValue() : std::nan("");
}

void ComparisonPlot::renderOn(QPainter* painter, const QRectF& rect) const
{
    painter->fillRect(rect, Qt::white);
    QwtPlotRenderer renderer;
    renderer.setDiscardFlag(QwtPlotRenderer::DiscardBackground);
    renderer.render(const_cast<ComparisonPlot*>(this), painter, rect);
}

bool ComparisonPlot::exportTo(const QString& fileName, const QSize& size,
                              ryn::SaveFailure* failure) const
{
    return exportTo(fileName, QFileInfo(fileName).suffix().toLower(), size, failure);
}

bool ComparisonPlot::exportTo(const QString& fileName, const QString& suffix, const QSize& size,
                              ryn::SaveFailure* failure) const
{
    const QRectF area(QPointF(0, 0), size);
    if (suffix == QStringLiteral("svg")) {
        return ryn::saveFile(
            fileName, QIODevice::WriteOnly,
            [&](QIODevice& device) {
                QSvgGenerator generator;
                generator.setOutputDevice(&device);
                generator.setSize(size);
                generator.setViewBox(area);
                QPainter painter(&generator);
                renderOn(&painter, area);
                return QString();
            },
            failure);
    }
    if (suffix == QStringLiteral("pdf")) {
        return ryn::saveFile(
            fileName, QIODevice::WriteOnly,
            [&](QIODevice& device) {
                QPdfWriter writer(&device);
                writer.setResolution(logicalDpiX());
                writer.setPageSize(
                    QPageSize(QSizeF(size) * 72.0 / logicalDpiX(), QPageSize::Point));
                writer.setPageMargins(QMarginsF());
                QPainter painter(&writer);
                renderOn(&painter, QRectF(0, 0, writer.width(), writer.height()));
                return QString();
            },
            failure);
    }
    const QByteArray format = suffix.toLatin1();
    if (!QImageWriter::supportedImageFormats().contains(format)) {
        if (failure)
            *failure = {ryn::SaveFailure::Write,
                        QStringLiteral("there is no image format for the file name's suffix "
                                       "\"%1\"")
                            .arg(suffix)};
        return false;
    }
    QImage image(size, QImage::Format_ARGB32);
    {
        QPainter painter(&image);
        renderOn(&painter, area);
    }
    return ryn::saveFile(
        fileName, QIODevice::NotOpen,
        [&](QIODevice& device) {
            QImageWriter writer(&device, format);
            return writer.write(image) ? QString() : writer.errorString();
        },
        failure);
}
