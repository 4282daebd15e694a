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

void QwtDataBar::paintEvent(QPaintEvent* /*event*/)
{
    int px = 0;
    const QVector<Label> shown = labels(&px);
    if (shown.isEmpty())
        return;
    QPainter painter(this);
    const int ascent = painter.fontMetrics().ascent();
    for (const Label& label : shown) {
        painter.setPen(Qt::black);
        painter.setBrush(QBrush(Qt::white, Qt::SolidPattern));
        painter.drawRect(label.box);
        painter.drawText(label.box.left() + textMargin, label.box.top() + ascent + textMargin / 2,
                         label.text);
    }
    painter.drawLine(px, 0, px, height());
}
