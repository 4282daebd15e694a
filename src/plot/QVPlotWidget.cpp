#include "plot/QVPlotWidget.h"

#include "framework/files/SaveFile.h"
#include "framework/settings/QVSettingsKeys.h"
#include "framework/settings/RynSettings.h"
#include "plot/QVPlotControls.h"
#include "plot/QwtDataBar.h"

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QPrinter>
#include <QPushButton>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <QVector>

#include <qwt_legend.h>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_intervalcurve.h>
#include <qwt_plot_magnifier.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_panner.h>
#include <qwt_plot_renderer.h>
#include <qwt_plot_textlabel.h>
#include <qwt_scale_div.h>
#include <qwt_scale_draw.h>
#include <qwt_scale_widget.h>
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
    createZoom();
    updatePlotTools();

    // The radio buttons' bindings were connected first, so the store already
    // names the new tool when updatePlotTools reads it.
    connect(controls_->dataBarRadio, &QRadioButton::toggled, this, &QVPlotWidget::updatePlotTools);
    connect(controls_->panningRadio, &QRadioButton::toggled, this, &QVPlotWidget::updatePlotTools);
    connect(controls_->parsCombo, qOverload<int>(&QComboBox::activated), this,
            &QVPlotWidget::onParsComboActivated);
    connect(controls_->measureCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &QVPlotWidget::updatePlot);
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
    bandsButton_ = new QPushButton(tr("Bands…"), controls_);
    bandsButton_->setToolTip(tr("Shade how far the half-width can go when some inputs are "
                                "only known to lie in intervals"));
    controls_->dataSelectorLayout->addWidget(bandsButton_);
    connect(bandsButton_, &QPushButton::clicked, this,
            [this] { emit bandsRequested(controls_->parsCombo->currentText()); });
}

// The magnifier zooms about the canvas's centre, at a turn of the wheel with
// Ctrl held, in as the wheel turns away from the user, a tenth a notch; its
// zoom by dragging with the right button gives way to the context menu,
// which offers "Reset zoom".
void QVPlotWidget::createZoom()
{
    auto* magnifier = new QwtPlotMagnifier(plot_->canvas());
    magnifier->setWheelModifiers(Qt::ControlModifier);
    magnifier->setWheelFactor(1 / 0.9);
    magnifier->setMouseButton(Qt::NoButton);

    resetZoom_ = new QAction(tr("Reset zoom"), this);
    resetZoom_->setToolTip(controls_->resetZoomButton->toolTip());
    connect(resetZoom_, &QAction::triggered, this, &QVPlotWidget::resetZoom);
    connect(controls_->resetZoomButton, &QPushButton::clicked, resetZoom_, &QAction::trigger);
    QWidget* canvas = plot_->canvas();
    canvas->addAction(resetZoom_);
    canvas->setContextMenuPolicy(Qt::ActionsContextMenu);
    canvas->installEventFilter(this);
    for (int axis : {QwtPlot::xBottom, QwtPlot::yLeft})
        connect(plot_->axisWidget(axis), &QwtScaleWidget::scaleDivChanged, this,
                &QVPlotWidget::updateZoomState);
    updateZoomState();
}

bool QVPlotWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == plot_->canvas() && event->type() == QEvent::MouseButtonDblClick)
        resetZoom();
    return QWidget::eventFilter(watched, event);
}

void QVPlotWidget::resetZoom()
{
    plot_->setAxisAutoScale(QwtPlot::xBottom);
    updatePlot();
}

// The magnifier and the panner fix the scales they move; the power's y
// scale is fixed at 0 to 1 anyway.
bool QVPlotWidget::isZoomed() const
{
    if (!plot_->axisAutoScale(QwtPlot::xBottom))
        return true;
    if (measure() == Power) {
        const QwtScaleDiv& y = plot_->axisScaleDiv(QwtPlot::yLeft);
        return y.lowerBound() != 0.0 || y.upperBound() != 1.0;
    }
    return !plot_->axisAutoScale(QwtPlot::yLeft);
}

void QVPlotWidget::updateZoomState()
{
    const bool zoomed = isZoomed();
    resetZoom_->setEnabled(zoomed);
    controls_->resetZoomButton->setEnabled(zoomed);
    if (dataBar)
        dataBar->update();
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
    band = ShadedBand();
    powerTable = Matrix();
    powerTest.clear();
    // A new run is seen whole, whatever the last one was zoomed to; the data
    // bar's reading was of the curves replaced.
    plot_->setAxisAutoScale(QwtPlot::xBottom);
    if (dataBar)
        dataBar->clear();
    updatePlot();
}

void QVPlotWidget::setBand(const QString& parameter, const QString& title, const QVector<double>& x,
                           const QVector<double>& low, const QVector<double>& high)
{
    band = {parameter, title, x, low, high};
    updatePlot();
}

void QVPlotWidget::clearBand()
{
    band = ShadedBand();
    updatePlot();
}

bool QVPlotWidget::showsBand() const
{
    return !band.x.isEmpty() && band.parameter == controls_->parsCombo->currentText();
}

void QVPlotWidget::onParsComboActivated(int /*index*/)
{
    updatePlot();
    emit parameterChosen(controls_->parsCombo->currentText());
}

bool QVPlotWidget::showParameter(const QString& name)
{
    const int index = names.indexOf(name);
    if (index < 0)
        return false;
    controls_->parsCombo->setCurrentIndex(index);
    updatePlot();
    return true;
}

void QVPlotWidget::setPower(const Matrix& power, const QString& test)
{
    powerTable = power;
    powerTest = test;
    // setData has drawn the half-widths already.
    if (measure() == Power)
        updatePlot();
}

void QVPlotWidget::showMeasure(Measure measure)
{
    controls_->measureCombo->setCurrentIndex(measure);
}

QVPlotWidget::Measure QVPlotWidget::measure() const
{
    return controls_->measureCombo->currentIndex() == Power ? Power : HalfWidths;
}

void QVPlotWidget::updatePlot()
{
    if (!plot_)
        return;
    for (int rtti : {QwtPlotItem::Rtti_PlotCurve, QwtPlotItem::Rtti_PlotScale,
                     QwtPlotItem::Rtti_PlotIntervalCurve, QwtPlotItem::Rtti_PlotMarker,
                     QwtPlotItem::Rtti_PlotTextLabel})
        plot_->detachItems(rtti, true);

    const QString parameter = controls_->parsCombo->currentText();
    const int column = controls_->parsCombo->currentIndex() + 1;
    const bool power = measure() == Power;
    // A band is of the half-width; the power has none.
    bandsButton_->setEnabled(!power);

    // A long title (the balloon-tag design's) wraps at its blanks rather than
    // losing its ends at the plot's edges.
    QFont titleFont(fontFamily, 12, QFont::Bold);
    QwtText title = styledText(
        studyTitle + (power ? QStringLiteral(": Power of ") : QStringLiteral(": Precision of ")) +
            parameter + QStringLiteral(" vs. ") + xTitle,
        titleFont);
    title.setRenderFlags(Qt::AlignCenter | Qt::TextWordWrap);
    plot_->setTitle(title);
    const QFont axisTitleFont(fontFamily, 10, QFont::Bold);
    plot_->setAxisTitle(QwtPlot::xBottom, styledText(xTitle, axisTitleFont));
    plot_->setAxisTitle(
        QwtPlot::yLeft,
        styledText(power ? QStringLiteral("Power") : QStringLiteral("1/2 CI"), axisTitleFont));
    if (power)
        drawPower(parameter, column);
    else
        drawHalfWidths(column);
    plot_->replot();
    updateZoomState();
}

// Column k + 1 of the table holds the variance v of the chosen parameter k;
// its half-widths are z·√v with z = 1.645 (90%) and 1.96 (95%).
void QVPlotWidget::drawHalfWidths(int column)
{
    plot_->setAxisAutoScale(QwtPlot::yLeft);
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

    if (showsBand()) {
        QVector<QwtIntervalSample> samples;
        for (int i = 0; i < band.x.size(); ++i) {
            if (std::isfinite(band.low[i]) && std::isfinite(band.high[i]))
                samples.append(QwtIntervalSample(band.x[i], band.low[i], band.high[i]));
        }
        auto* shaded = new QwtPlotIntervalCurve(band.title);
        shaded->setSamples(samples);
        shaded->setPen(QPen(QColor(120, 120, 120), 0));
        shaded->setBrush(QColor(150, 150, 150, 90));
        shaded->attach(plot_);
    }

    auto* curve90 = new QwtPlotCurve(QStringLiteral("90%"));
    curve90->setPen(QPen(Qt::blue));
    curve90->setSamples(x, half90);
    curve90->attach(plot_);
    auto* curve95 = new QwtPlotCurve(QStringLiteral("95%"));
    curve95->setPen(QPen(Qt::red));
    curve95->setSamples(x, half95);
    curve95->attach(plot_);
}

// The power on a fixed 0 to 1 axis, so that designs and runs compare at a
// glance, with the common target of 0.8 as a dashed line. A parameter
// without a null value has no power: the canvas says how to give one.
void QVPlotWidget::drawPower(const QString& parameter, int column)
{
    plot_->setAxisScale(QwtPlot::yLeft, 0.0, 1.0);
    QVector<double> x;
    QVector<double> y;
    if (column >= 1 && column < powerTable.cols()) {
        for (int i = 0; i < powerTable.rows(); ++i) {
            if (std::isfinite(powerTable(i, column))) {
                x.append(powerTable(i, 0));
                y.append(powerTable(i, column));
            }
        }
    }

    auto* target = new QwtPlotMarker();
    target->setLineStyle(QwtPlotMarker::HLine);
    target->setYValue(0.8);
    target->setLinePen(QPen(QColor(80, 80, 80), 1, Qt::DashLine));
    target->setLabel(styledText(QStringLiteral("power 0.8"), QFont(fontFamily, 9)));
    target->setLabelAlignment(Qt::AlignLeft | Qt::AlignTop);
    target->attach(plot_);

    if (y.isEmpty()) {
        QwtText text(tr("%1 has no null value, so no power: give one in the Effect Test panel "
                        "(as in %1=0.8) and run again.")
                         .arg(parameter.isEmpty() ? tr("The parameter") : parameter));
        text.setFont(QFont(fontFamily, 10));
        text.setRenderFlags(Qt::AlignCenter | Qt::TextWordWrap);
        auto* label = new QwtPlotTextLabel();
        label->setText(text);
        label->attach(plot_);
        return;
    }
    auto* curve = new QwtPlotCurve(tr("Power (%1)").arg(powerTest));
    curve->setPen(QPen(QColor(0, 120, 0), 2));
    curve->setSamples(x, y);
    curve->attach(plot_);
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

// The widget's grey background stays behind: a page or an image shows the
// plot on white, its canvas white already.
// Qwt's renderer lets the canvas run almost to the right edge, where the
// last label of the x axis would be cut; half of its width is kept free.
void QVPlotWidget::render(QPainter* painter, const QRectF& rect) const
{
    const double upper = plot_->axisScaleDiv(QwtPlot::xBottom).upperBound();
    const QString lastLabel = plot_->axisScaleDraw(QwtPlot::xBottom)->label(upper).text();
    const QFontMetricsF metrics(plot_->axisFont(QwtPlot::xBottom), painter->device());
    QRectF area = rect;
    area.setRight(rect.right() - metrics.horizontalAdvance(lastLabel) / 2);

    QwtPlotRenderer renderer;
    renderer.setDiscardFlag(QwtPlotRenderer::DiscardBackground);
    renderer.render(plot_, painter, area);
}

// The whole page, whatever its shape: the plot is laid out anew for it, as it
// is for a resized window.
void QVPlotWidget::printPlot(QPrinter* printer)
{
    QPainter painter(printer);
    render(&painter, QRectF(0, 0, printer->width(), printer->height()));
}

// Stored values may be text, as a settings file holds them.
QSize QVPlotWidget::exportSize() const
{
    bool widthOk = false;
    bool heightOk = false;
    const int width = settings->value(QVSettingsKeys::PlotOutWidth).toInt(&widthOk);
    const int height = settings->value(QVSettingsKeys::PlotOutHeight).toInt(&heightOk);
    if (!widthOk || !heightOk || width <= 0 || height <= 0)
        return QSize();
    return QSize(width, height);
}

QSize QVPlotWidget::checkedExportSize(ryn::SaveFailure* failure) const
{
    const QSize size = exportSize();
    if (size.isEmpty() && failure) {
        *failure = {ryn::SaveFailure::Write,
                    tr("the image size in the settings (plot_out_width %1, plot_out_height %2) "
                       "is not a size in pixels")
                        .arg(settings->stringValue(QVSettingsKeys::PlotOutWidth),
                             settings->stringValue(QVSettingsKeys::PlotOutHeight))};
    }
    return size;
}

// Draws the plot on white over area of device; an empty text, or why the
// drawing could not be made.
QString QVPlotWidget::drawOn(QPaintDevice* device, const QRectF& area) const
{
    QPainter painter;
    if (!painter.begin(device))
        return tr("the drawing could not be started");
    painter.fillRect(area, Qt::white);
    render(&painter, area);
    painter.end();
    return QString();
}

bool QVPlotWidget::exportImage(const QString& fileName, ryn::SaveFailure* failure)
{
    const QSize size = checkedExportSize(failure);
    if (size.isEmpty())
        return false;
    const QByteArray format = QFileInfo(fileName).suffix().toLower().toLatin1();
    if (!QImageWriter::supportedImageFormats().contains(format)) {
        if (failure) {
            *failure = {ryn::SaveFailure::Write,
                        tr("there is no image format for the file name's suffix \"%1\"")
                            .arg(QFileInfo(fileName).suffix())};
        }
        return false;
    }
    QImage image(size, QImage::Format_ARGB32);
    if (image.isNull()) {
        if (failure)
            *failure = {ryn::SaveFailure::Write, tr("the image is too large for the memory")};
        return false;
    }
    // Text as large as on the screen, where the plot's layout measured it.
    const double dotsPerMeter = plot_->logicalDpiX() / 0.0254;
    image.setDotsPerMeterX(qRound(dotsPerMeter));
    image.setDotsPerMeterY(qRound(dotsPerMeter));
    const QString drawError = drawOn(&image, QRectF(QPointF(0, 0), size));
    if (!drawError.isEmpty()) {
        if (failure)
            *failure = {ryn::SaveFailure::Write, drawError};
        return false;
    }
    return ryn::saveFile(
        fileName, QIODevice::NotOpen,
        [&image, &format](QIODevice& device) {
            QImageWriter writer(&device, format);
            return writer.write(image) ? QString() : writer.errorString();
        },
        failure);
}

bool QVPlotWidget::exportSvg(const QString& fileName, ryn::SaveFailure* failure)
{
    const QSize size = checkedExportSize(failure);
    if (size.isEmpty())
        return false;
    return ryn::saveFile(
        fileName, QIODevice::NotOpen,
        [this, size](QIODevice& device) {
            QSvgGenerator svg;
            svg.setOutputDevice(&device);
            // Pixels at screen resolution, so that the drawing's size is
            // that of the PNG image and its text as large.
            svg.setResolution(plot_->logicalDpiX());
            svg.setSize(size);
            svg.setViewBox(QRect(QPoint(0, 0), size));
            svg.setTitle(plot_->title().text());
            return drawOn(&svg, QRectF(QPointF(0, 0), size));
        },
        failure);
}

// One page of the export size at screen resolution, so that the page shows
// what the PNG image shows.
bool QVPlotWidget::exportPdf(const QString& fileName, ryn::SaveFailure* failure)
{
    const QSize size = checkedExportSize(failure);
    if (size.isEmpty())
        return false;
    return ryn::saveFile(
        fileName, QIODevice::NotOpen,
        [this, size](QIODevice& device) {
            const int screenDpi = plot_->logicalDpiX();
            QPdfWriter pdf(&device);
            pdf.setTitle(plot_->title().text());
            pdf.setResolution(screenDpi);
            pdf.setPageSize(QPageSize(QSizeF(size) * 72.0 / screenDpi, QPageSize::Point));
            pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
            return drawOn(&pdf, QRectF(0, 0, pdf.width(), pdf.height()));
        },
        failure);
}
