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
#include <vector>

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
    // Moves without a button held reach the canvas only while it tracks.
    canvas->setMouseTracking(true);
    canvas->installEventFilter(this);
}

QwtPlot* QwtDataBar::plot() const
{
    auto* canvas = qobject_cast<QwtPlotCanvas*>(parentWidget());
    return canvas ? qobject_cast<QwtPlot*>(canvas->parentWidget()) : nullptr;
}

void QwtDataBar::follow(QPoint pos)
{
    mousePos = pos;
    resize(parentWidget()->size());
    show();
    update();
}

void QwtDataBar::clear()
{
    hide();
}

bool QwtDataBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != parentWidget())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
        follow(static_cast<QMouseEvent*>(event)->pos());
        break;
    case QEvent::Leave:
        hide();
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
// above the sample, and none leaves the canvas on the left. The boxes are
// then moved apart below the reading.
QVector<QwtDataBar::Label> QwtDataBar::labels(int* barX) const
{
    int px = 0;
    double x = 0;
    QStringList parts;
    QVector<Label> shown = read(&px, &x, &parts);
    if (!shown.isEmpty()) {
        QRect readingBox;
        readingLines(QString::number(x, 'g', 10), parts, px, &readingBox);
        separate(shown, readingBox.bottom() + 1);
    }
    if (barX)
        *barX = px;
    return shown;
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
        left = std::max(0, left);
        int top = py;
        if (top + height > canvasSize.height())
            top = py - height;
        label.box = QRect(left, top, width, height);
        label.sample = QPoint(px, py);
        label.value = yv;
        shown.append(label);
    }
    if (barX)
        *barX = px;
    return shown;
}

// From the top down each box starts below the one above it; where the last
// then passes the canvas's bottom, from the bottom up each ends above the one
// below it. Only a canvas too low for all of them lets them cover the top.
void QwtDataBar::separate(QVector<Label>& shown, int top) const
{
    // The boxes keep the curves' order; they are moved from the largest value
    // down (the y axis rises upwards), so that they stack as the curves do
    // even where two samples share a pixel.
    std::vector<Label*> order;
    for (Label& label : shown)
        order.push_back(&label);
    std::stable_sort(order.begin(), order.end(),
                     [](const Label* a, const Label* b) { return a->value > b->value; });
    std::vector<QRect*> boxes;
    for (Label* label : order)
        boxes.push_back(&label->box);
    int next = top;
    for (QRect* box : boxes) {
        box->moveTop(std::max(box->top(), next));
        next = box->bottom() + 1;
    }
    int limit = parentWidget()->height();
    for (auto it = boxes.rbegin(); it != boxes.rend(); ++it) {
        if ((*it)->bottom() + 1 > limit)
            (*it)->moveBottom(limit - 1);
        limit = (*it)->top();
    }
    for (QRect* box : boxes)
        box->moveTop(std::max(0, box->top()));
}

// The reading's box lies at the top of the canvas beside the bar, to its
// left where it would pass the right edge, and never outside the canvas on
// the left. Too wide for the canvas on one line, it takes a line for the
// ranged value and one for each curve.
QStringList QwtDataBar::readingLines(const QString& x, const QStringList& parts, int barX,
                                     QRect* box) const
{
    const QwtPlot* plot = this->plot();
    const QString head = QStringLiteral("%1 = %2").arg(plot->axisTitle(xAxis).text(), x);
    const QFontMetrics metrics(font());
    const int canvasWidth = parentWidget()->width();
    QStringList lines = {head + QStringLiteral(": ") + parts.join(QStringLiteral(", "))};
    if (metrics.horizontalAdvance(lines.first()) + 2 * textMargin > canvasWidth)
        lines = QStringList{head + QLatin1Char(':')} + parts;
    int width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    width += 2 * textMargin;
    int left = barX + 1;
    if (left + width > canvasWidth)
        left = barX - width;
    left = std::max(0, std::min(left, canvasWidth - width));
    *box = QRect(left, 0, width, static_cast<int>(lines.size()) * metrics.height() + textMargin);
    return lines;
}

QString QwtDataBar::reading(QRect* box) const
{
    int px = 0;
    double x = 0;
    QStringList parts;
    if (read(&px, &x, &parts).isEmpty())
        return QString();
    const QString xText = QString::number(x, 'g', 10);
    if (box)
        readingLines(xText, parts, px, box);
    return QStringLiteral("%1 = %2: %3")
        .arg(plot()->axisTitle(xAxis).text(), xText, parts.join(QStringLiteral(", ")));
}

void QwtDataBar::paintEvent(QPaintEvent* /*event*/)
{
    int px = 0;
    double x = 0;
    QStringList parts;
    if (read(&px, &x, &parts).isEmpty())
        return;
    const QVector<Label> shown = labels();
    QPainter painter(this);
    const QFontMetrics metrics = painter.fontMetrics();
    QRect readingBox;
    const QStringList lines = readingLines(QString::number(x, 'g', 10), parts, px, &readingBox);
    painter.setPen(Qt::black);
    painter.drawLine(px, 0, px, height());
    painter.setBrush(QBrush(QColor(255, 255, 225), Qt::SolidPattern));
    painter.drawRect(readingBox);
    for (int i = 0; i < lines.size(); ++i)
        painter.drawText(
            readingBox.left() + textMargin,
            readingBox.top() + textMargin / 2 + i * metrics.height() + metrics.ascent(), lines[i]);
    painter.setBrush(QBrush(Qt::white, Qt::SolidPattern));
    for (const Label& label : shown) {
        painter.drawRect(label.box);
        painter.drawText(label.box.left() + textMargin,
                         label.box.top() + metrics.ascent() + textMargin / 2, label.text);
    }
}
