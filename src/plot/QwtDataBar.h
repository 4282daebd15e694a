#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

class QwtPlot;

// The data bar: an overlay on a plot's canvas that reads the curves at the
// mouse. Pressing the mouse button shows, for every curve, the value of its
// sample nearest to the mouse's x in a small box, with a vertical line at that
// x, and above them the reading as a whole, "R0 = 2300: 90% 0.0127, 95%
// 0.0151" (the x axis's title and the sample's x, then each curve's title and
// value); dragging moves the reading, and it stays after the button is
// released.
// The bar only watches the canvas's mouse events and lets every one of them
// through, so the plot's own tools (zoom) keep working.
class QwtDataBar : public QWidget
{
    Q_OBJECT

public:
    // One curve's reading: the value as shown and the box it is drawn in, in
    // canvas pixels.
    struct Label
    {
        QString text;
        QRect box;
    };

    // Places the bar, hidden, on canvas, which must be a QwtPlot's canvas.
    explicit QwtDataBar(QWidget* canvas);

    // The readings at the current mouse position, one per curve with samples,
    // and the x pixel of the bar; empty when there is nothing to read.
    QVector<Label> labels(int* barX = nullptr) const;
    // The whole reading at the current mouse position, empty when there is
    // nothing to read; *box (when given) is where it is drawn.
    QString reading(QRect* box = nullptr) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QwtPlot* plot() const;
    // labels() with the x of the first curve's sample read.
    QVector<Label> read(int* barX, double* sampleX, QStringList* parts) const;

    bool tracking = false;
    QPoint mousePos;
    QPoint pressPos;
    int xAxis;
    int yAxis;
    int itemRtti;
    // Decimals of the shown values.
    int precision = 4;
};
