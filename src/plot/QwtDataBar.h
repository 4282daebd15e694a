#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

class QwtPlot;

// The data bar: an overlay on a plot's canvas that reads the curves at the
// mouse. While the mouse is over the canvas (no button needs to be held) it
// shows, for every curve, the value of its sample nearest to the mouse's x in
// a small box, with a vertical line at that x, and above them the reading as
// a whole, "R0 = 2300: 90% 0.0127, 95% 0.0151" (the x axis's title and the
// sample's x, then each curve's title and value). The boxes stay inside the
// canvas and never cover one another, however close the curves run; the
// bar goes when the mouse leaves the canvas or the plot is given new data.
// The bar only watches the canvas's mouse events and lets every one of them
// through, so the plot's own tools (zoom) keep working.
class QwtDataBar : public QWidget
{
    Q_OBJECT

public:
    // One curve's reading: the value as shown, the box it is drawn in and
    // the sample it reads, in canvas pixels, and the value itself.
    struct Label
    {
        QString text;
        QRect box;
        QPoint sample;
        double value = 0;
    };

    // Places the bar, hidden, on canvas, which must be a QwtPlot's canvas.
    explicit QwtDataBar(QWidget* canvas);

    // The readings at the current mouse position, one per curve with samples,
    // and the x pixel of the bar; empty when there is nothing to read.
    QVector<Label> labels(int* barX = nullptr) const;
    // The whole reading at the current mouse position, empty when there is
    // nothing to read; *box (when given) is where it is drawn: on one line
    // where the canvas is wide enough, else one part a line.
    QString reading(QRect* box = nullptr) const;
    // Hides the bar until the mouse moves over the canvas again: the curves
    // it read are gone.
    void clear();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QwtPlot* plot() const;
    // labels() with the x of the first curve's sample read, before the boxes
    // are moved off one another.
    QVector<Label> read(int* barX, double* sampleX, QStringList* parts) const;
    // The reading's lines and its box, beside the bar at barX.
    QStringList readingLines(const QString& x, const QStringList& parts, int barX,
                             QRect* box) const;
    // Moves the boxes down (and up at the bottom) until none covers another
    // or the area above top.
    void separate(QVector<Label>& shown, int top) const;
    void follow(QPoint pos);

    QPoint mousePos;
    int xAxis;
    int yAxis;
    int itemRtti;
    // Decimals of the shown values.
    int precision = 4;
};
