#pragma once

#include <qwt_plot.h>

#include <QList>
#include <QString>
#include <QVector>

class QwtPlotMarker;
class QPainter;
class QRectF;

namespace ryn {
struct SaveFailure;
}

// Designs side by side: the measure of each compared design against the fish
// it releases in all, one curve per design, so that designs with different
// release structures share one axis; the target's value is a horizontal line.
// A power is drawn on a 0 to 1 axis with its 0.8 line when no target is given.
class ComparisonPlot : public QwtPlot
{
public:
    // One design's curve: its name in the legend, and its points.
    struct Curve
    {
        QString label;
        QVector<double> fish;
        QVector<double> measure;
    };

    explicit ComparisonPlot(QWidget* parent = nullptr);

    // Replaces the curves. measureName heads the y axis ("95% half-width",
    // "Power"); target, when above 0, is drawn as a line.
    void setCurves(const QList<Curve>& curves, const QString& measureName, bool power,
                   double target);

    int curveCount() const { return curves; }
    // The value of the horizontal line, NaN without one.
    double lineValue() const;

    // The plot on white filling rect of painter's device.
    void renderOn(QPainter* painter, const QRectF& rect) const;
    // The plot as a PNG (or another image format by the suffix), an SVG or a
    // PDF of size pixels, replacing the file only when it was written whole.
    bool exportTo(const QString& fileName, const QSize& size, ryn::SaveFailure* failure) const;
    // The same in the format named ("png", "svg", "pdf"), whatever the name's
    // suffix.
    bool exportTo(const QString& fileName, const QString& format, const QSize& size,
                  ryn::SaveFailure* failure) const;

private:
    QwtPlotMarker* line;
    int curves = 0;
};
