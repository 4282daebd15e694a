#include "plot/QVPlotWidget.h"

#include "framework/settings/QVSettingsKeys.h"
#include "framework/settings/RynSettings.h"
#include "plot/QVPlotControls.h"
#include "plot/QwtDataBar.h"

#include <QImage>
#include <QPainter>
#include <QPen>
#include <QVBoxLayout>
#include <QVector>

#include <qwt_legend.h>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_magnifier.h>
#include <qwt_plot_panner.h>
#include <qwt_plot_renderer.h>
#include <qwt_text.h>

#include <cmath>

namespace {

// Half-widths of the confidence intervals in standard errors: the normal
// quantiles of 0.95 and 0.975.
constexpr double z90 = 1.645;
constexpr double z95 = 1.96;

QwtText styledText(const QString& text, const QFont& font)
{
    QwtText styled(text);
    styled.setFont(font);
    return styled;
}

} // namespace

QVPlotWidget::QVPlotWidget(ryn::RynSettings* settings, QWidget* parent)
    : QWidget(parent)
    , settings(settings)
{
    createPlot();
    setGrid(-1);
    createControls();
    bindControls();
    new QwtPlotMagnifier(plot_->canvas());
    updatePlotTools();

    // The radio buttons' bindings were connected first, so the store already
    // names the new tool when updatePlotTools reads it.
    connect(controls_->dataBarRadio, &QRadioButton::toggled, this, &QVPlotWidget::updatePlotTools);
    connect(controls_->panningRadio, &QRadioButton::toggled, this, &QVPlotWidget::updatePlotTools);
    connect(controls_->parsCombo, qOverload<int>(&QComboBox::activated), this,
            &QVPlotWidget::onParsComboActivated);
    connect(controls_->gridComboBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
            qOverload<int>(&QVPlotWidget::setGrid));
}

QVPlotWidget::~QVPlotWidget() = default;

void QVPlotWidget::createPlot()
{
    plot_ = new QwtPlot(this);
    plot_->setAutoDelete(true);
    plot_->setCanvasBackground(QBrush(Qt::white, Qt::SolidPattern));
    const QFont axisFont(fontFamily, 8);
    plot_->setAxisFont(QwtPlot::xBottom, axisFont);
    plot_->setAxisFont(QwtPlot::yLeft, axisFont);
    plot_->insertLegend(new QwtLegend(), QwtPlot::BottomLegend);
}

void QVPlotWidget::createControls()
{
    controls_ = new QVPlotControls(this);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(6);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->addWidget(plot_, 10);
    layout->addWidget(controls_, 1);
}

void QVPlotWidget::bindControls()
{
    settings->bindWidget(controls_->dataBarRadio, QVSettingsKeys::PlotDataBar, false);
    settings->bindWidget(controls_->panningRadio, QVSettingsKeys::PlotPanning, false);
}

void QVPlotWidget::setData(const QStringList& names, const Matrix& table, const QString& xTitle,
                           const QString& studyTitle)
{
    this->studyTitle = studyTitle;
    this->xTitle = xTitle;
    this->names = names;
    this->table = table;
    QComboBox* combo = controls_->parsCombo;
    combo->clear();
    combo->addItems(names);
    combo->setEnabled(names.size() >= 2);
    updatePlot();
}

void QVPlotWidget::onParsComboActivated(int /*index*/)
{
    updatePlot();
}

// Column k + 1 of the table holds the variance v of the chosen parameter k;
// its half-widths are z·√v with z = 1.645 (90%) and 1.96 (95%).
void QVPlotWidget::updatePlot()
{
    if (!plot_)
        return;
    plot_->detachItems(QwtPlotItem::Rtti_PlotCurve, true);
    plot_->detachItems(QwtPlotItem::Rtti_PlotScale, true);

    const QString parameter = controls_->parsCombo->currentText();
    const int column = controls_->parsCombo->currentIndex() + 1;

    QFont titleFont(fontFamily, 12, QFont::Bold);
    plot_->setTitle(styledText(studyTitle + QStringLiteral(": Precision of ") + parameter +
                                   QStringLiteral(" vs. ") + xTitle,
                               titleFont));
    const QFont axisTitleFont(fontFamily, 10, QFont::Bold);
    plot_->setAxisTitle(QwtPlot::xBottom, styledText(xTitle, axisTitleFont));
    plot_->setAxisTitle(QwtPlot::yLeft, styledText(QStringLiteral("1/2 CI"), axisTitleFont));

    QVector<double> x;
    QVector<double> half90;
    QVector<double> half95;
    if (column >= 1 && column < table.cols()) {
        for (int i = 0; i < table.rows(); ++i) {
            const double se = std::sqrt(table(i, column));
            x.append(table(i, 0));
            half90.append(z90 * se);
            half95.append(z95 * se);
        }
    }

    auto* curve90 = new QwtPlotCurve(QStringLiteral("90%"));
    curve90->setPen(QPen(Qt::blue));
    curve90->setSamples(x, half90);
    curve90->attach(plot_);
    auto* curve95 = new QwtPlotCurve(QStringLiteral("95%"));
    curve95->setPen(QPen(Qt::red));
    curve95->setSamples(x, half95);
    curve95->attach(plot_);
    plot_->replot();
}

void QVPlotWidget::setGrid()
{
    setGrid(-1);
}

void QVPlotWidget::setGrid(int level)
{
    if (level != -1)
        gridLevel_ = level;
    plot_->detachItems(QwtPlotItem::Rtti_PlotGrid, true);
    if (gridLevel_ != GridOff) {
        auto* grid = new QwtPlotGrid();
        grid->enableXMin(gridLevel_ == GridHigh);
        grid->enableYMin(gridLevel_ == GridHigh);
        // Width 0: cosmetic lines, one pixel wide at any scale.
        grid->setMajorPen(QPen(Qt::black, 0, Qt::DotLine, Qt::SquareCap, Qt::BevelJoin));
        grid->setMinorPen(QPen(Qt::gray, 0, Qt::DotLine, Qt::SquareCap, Qt::BevelJoin));
        grid->attach(plot_);
    }
    plot_->replot();
}

void QVPlotWidget::updatePlotTools()
{
    QWidget* canvas = plot_->canvas();
    if (settings->value(QVSettingsKeys::PlotDataBar).toBool()) {
        delete panner;
        panner = nullptr;
        if (!dataBar)
            dataBar = new QwtDataBar(canvas);
    } else {
        delete dataBar;
        dataBar = nullptr;
        if (!panner)
            panner = new QwtPlotPanner(canvas);
    }
}

void QVPlotWidget::printPlot(QPrinter* printer)
{
    QwtPlotRenderer().renderTo(plot_, *printer);
}

bool QVPlotWidget::exportImage(const QString& fileName)
{
    const int width = settings->value(QVSettingsKeys::PlotOutWidth).toInt();
    const int height = settings->value(QVSettingsKeys::PlotOutHeight).toInt();
    if (width <= 0 || height <= 0)
        return false;
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QwtPlotRenderer renderer;
    renderer.setDiscardFlag(QwtPlotRenderer::DiscardBackground);
    QPainter painter(&image);
    renderer.render(plot_, &painter, QRectF(0, 0, width, height));
    painter.end();
    return image.save(fileName, "PNG");
}
