#include "plot/QwtDataBar.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_scale_div.h>
#include <qwt_scale_map.h>
#include <qwt_text.h>

#include <algorithm>
#include <cmath>

namespace {

// Inner margin between a box's edge and its text, in pixels.
constexpr int textMargin = 10;

} // namespace

QwtDataBar::QwtDataBar(QWidget* canvas)
    : QWidget(canvas)
    , xAxis(QwtPlot::xBottom)
    , yAxis(QwtPlot::yLeft)
    , itemRtti(QwtPlotItem::Rtti_PlotCurve)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    canvas->installEventFilter(this);
}

QwtPlot* QwtDataBar::plot() const
{
    auto* canvas = qobject_cast<QwtPlotCanvas*>(parentWidget());
    return canvas ? qobject_cast<QwtPlot*>(canvas->parentWidget()) : nullptr;
}

bool QwtDataBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != parentWidget())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const QPoint pos = static_cast<QMouseEvent*>(event)->pos();
        mousePos = pressPos = pos;
        tracking = true;
        resize(parentWidget()->size());
        show();
        update();
        break;
    }
    case QEvent::MouseMove:
        if (tracking) {
            mousePos = static_cast<QMouseEvent*>(event)->pos();
            update();
        }
        break;
    case QEvent::MouseButtonRelease:
        tracking = false;
        break;
    case QEvent::Resize:
        resize(parentWidget()->size());
        break;
    default:
        break;
    }
    return false;
}

// The mouse's x, kept within the x axis, picks on every curve the sample with
// the nearest x (the first of equally near ones). Its value is shown in a box
// whose top left corner is at the sample; a box that would pass the canvas's
// right edge goes to the left of the bar, one that would pass the bottom goes
// above the sample.
QVector<QwtDataBar::Label> QwtDataBar::labels(int* barX) const
{
    return read(barX, nullptr, nullptr);
}

QVector<QwtDataBar::Label> QwtDataBar::read(int* barX, double* sampleX, QStringList* parts) const
{
    QVector<Label> shown;
    QwtPlot* plot = this->plot();
    if (!plot)
        return shown;
    const QwtScaleMap xMap = plot->canvasMap(xAxis);
    const QwtScaleMap yMap = plot->canvasMap(yAxis);
    const QwtScaleDiv& xDiv = plot->axisScaleDiv(xAxis);
    const double low = std::min(xDiv.lowerBound(), xDiv.upperBound());
    const double high = std::max(xDiv.lowerBound(), xDiv.upperBound());
    const double xv = std::clamp(xMap.invTransform(mousePos.x()), low, high);
    const int px = qRound(xMap.transform(xv));

    const QFontMetrics metrics(font());
    const QSize canvasSize = parentWidget()->size();
    for (const QwtPlotItem* item : plot->itemList(itemRtti)) {
        const auto* curve = static_cast<const QwtPlotCurve*>(item);
        const size_t count = curve->dataSize();
        if (count == 0)
            continue;
        size_t nearest = 0;
        for (size_t i = 1; i < count; ++i) {
            if (std::fabs(curve->sample(i).x() - xv) < std::fabs(curve->sample(nearest).x() - xv))
                nearest = i;
        }
        const double yv = curve->sample(nearest).y();
        if (!std::isfinite(yv))
            continue;
        const int py = qRound(yMap.transform(yv));

        Label label;
        label.text = QString::number(yv, 'f', precision);
        if (sampleX && shown.isEmpty())
            *sampleX = curve->sample(nearest).x();
        if (parts)
            *parts << curve->title().text() + QLatin1Char(' ') + label.text;
        const int width = metrics.horizontalAdvance(label.text) + 2 * textMargin;
        const int height = metrics.ascent() + textMargin;
        int left = px;
        if (left + width > canvasSize.width())
            left = px - width;
        int top = py;
        if (top + height > canvasSize.height())
            top = py - height;
        label.box = QRect(left, top, width, height);
        shown.append(label);
    }
    if (barX)
        *barX = px;
    return shown;
}

// The reading's box lies at the top of the canvas beside the bar, to its
// left where it would pass the right edge.
QString QwtDataBar::reading(QRect* box) const
{
    int px = 0;
    double x = 0;
    QStringList parts;
    if (read(&px, &x, &parts).isEmpty())
        return QString();
    const QwtPlot* plot = this->plot();
    const QString text = QStringLiteral("%1 = %2: %3")
                             .arg(plot->axisTitle(xAxis).text(), QString::number(x, 'g', 10),
                                  parts.join(QStringLiteral(", ")));
    if (box) {
        const QFontMetrics metrics(font());
        const int width = metrics.horizontalAdvance(text) + 2 * textMargin;
        int left = px + 1;
        if (left + width > parentWidget()->width())
            left = std::max(0, px - width);
        *box = QRect(left, 0, width, metrics.ascent() + textMargin);
    }
    return text;
}

void QwtDataBar::paintEvent(QPaintEvent* /*event*/)
{
    int px = 0;
    const QVector<Label> shown = labels(&px);
    if (shown.isEmpty())
        return;
    QPainter painter(this);
    const int ascent = painter.fontMetrics().ascent();
    QRect readingBox;
    const QString whole = reading(&readingBox);
    painter.setPen(Qt::black);
    painter.setBrush(QBrush(QColor(255, 255, 225), Qt::SolidPattern));
    painter.drawRect(readingBox);
    painter.drawText(readingBox.left() + textMargin, readingBox.top() + ascent + textMargin / 2,
                     whole);
    for (const Label& label : shown) {
        painter.setPen(Qt::black);
        painter.setBrush(QBrush(Qt::white, Qt::SolidPattern));
        painter.drawRect(label.box);
        painter.drawText(label.box.left() + textMargin, label.box.top() + ascent + textMargin / 2,
                         label.text);
    }
    painter.drawLine(px, 0, px, height());
}
