#pragma once

#include "numerics/Matrix.h"

#include <QString>
#include <QStringList>
#include <QWidget>

class QAction;
class QPainter;
class QPrinter;
class QPushButton;
class QRectF;
class QVPlotControls;
class QwtDataBar;
class QwtPlot;
class QwtPlotPanner;

namespace ryn {
class RynSettings;
struct SaveFailure;
} // namespace ryn

// The "Plot" window's widget. After a run over a range of one input it draws,
// for the parameter chosen below the plot, the expected half-widths of the 90%
// and 95% confidence intervals against the ranged input, so that a biologist
// sees how much precision a larger release or a better detection buys; or, as
// the other measure, the power of the test of the parameter's effect on a 0 to
// 1 axis with the usual target of 0.8 drawn. The controls choose the
// parameter, the measure, the grid density and the mouse tool: the data bar,
// which reads the curves at the mouse, or panning. The wheel zooms with Ctrl
// held (a wheel turned alone may be meant for the report beside the plot);
// "Reset zoom" (a button, the canvas's context menu, or a double click on
// the canvas) and every new run show the whole run again.
class QVPlotWidget : public QWidget
{
    Q_OBJECT

public:
    // Grid levels, the indexes of the "Grid Lines" choice.
    enum GridLevel { GridHigh = 0, GridLow = 1, GridOff = 2 };

    // settings keeps the chosen mouse tool; it must outlive the widget.
    explicit QVPlotWidget(ryn::RynSettings* settings, QWidget* parent = nullptr);
    ~QVPlotWidget() override;

    // Shows a run's table: row i holds the ranged value in column 0 and the
    // variance of names[k] in column k + 1. The widget keeps its own copy.
    void setData(const QStringList& names, const Matrix& table, const QString& xTitle,
                 const QString& studyTitle);
    // The power of each parameter at each point, in the table's shape (NaN
    // for a parameter without a null value), and the test it is of ("two-sided
    // test at alpha = 0.05"). Given after setData, which forgets it.
    void setPower(const Matrix& power, const QString& test);
    // The measures of the "Measure" choice.
    enum Measure { HalfWidths = 0, Power = 1 };
    void showMeasure(Measure measure);
    Measure measure() const;
    // Redraws the curves of the chosen parameter from the table.
    void updatePlot();
    // Shows the whole run again: the x axis over the ranged input, the y axis
    // over the curves (or 0 to 1 for the power).
    void resetZoom();
    // Whether a zoom or a pan has moved the view off the whole run.
    bool isZoomed() const;
    QAction* resetZoomAction() const { return resetZoom_; }
    // Shows the parameter called name when the table has it; false, and the
    // choice unchanged, when not.
    bool showParameter(const QString& name);

    // The plot as shown (titles, axes, curves, grid and legend) filling the
    // printer's page.
    void printPlot(QPrinter* printer);
    // The plot as shown, on white, at the stored export size ("plot_out_width"
    // x "plot_out_height" pixels): an image in the format of the file name's
    // suffix (PNG for .png), or vector drawings in SVG or PDF (a page of that
    // size at screen resolution). Each replaces the file only when it was
    // written whole; false, with *failure saying why, when it cannot be.
    bool exportImage(const QString& fileName, ryn::SaveFailure* failure = nullptr);
    bool exportSvg(const QString& fileName, ryn::SaveFailure* failure = nullptr);
    bool exportPdf(const QString& fileName, ryn::SaveFailure* failure = nullptr);
    // The stored export size; an empty size when the stored values are not
    // positive whole numbers.
    QSize exportSize() const;

    // A shaded band behind the curves of parameter: from low to high at the
    // ranged values x, named title in the legend; shown while parameter is
    // the one chosen, until the next run's data.
    void setBand(const QString& parameter, const QString& title, const QVector<double>& x,
                 const QVector<double>& low, const QVector<double>& high);
    void clearBand();
    bool showsBand() const;
    QPushButton* bandsButton() const { return bandsButton_; }

    QwtPlot* plot() const { return plot_; }
    QVPlotControls* controls() const { return controls_; }
    int gridLevel() const { return gridLevel_; }

signals:
    // The user chose the parameter called name in the parameter list.
    void parameterChosen(const QString& name);
    // "Bands…" beside the parameter selector was pressed, for parameter.
    void bandsRequested(const QString& parameter);

public slots:
    // Redraws the grid at level (GridLevel); -1 keeps the current level.
    void setGrid(int level);
    void setGrid();
    void onParsComboActivated(int index);
    // Puts the mouse tool the store names on the canvas: the data bar or the
    // panner, never both.
    void updatePlotTools();

protected:
    // A double click on the canvas resets the zoom.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createPlot();
    // The curves of the chosen measure for the table's column.
    void drawHalfWidths(int column);
    void drawPower(const QString& parameter, int column);
    void createControls();
    void bindControls();
    void createZoom();
    void updateZoomState();
    // The plot as shown, into rect of painter's device, without the widget's
    // background.
    void render(QPainter* painter, const QRectF& rect) const;
    QString drawOn(QPaintDevice* device, const QRectF& area) const;
    // Checks the export size: the size, or an empty one with *failure filled.
    QSize checkedExportSize(ryn::SaveFailure* failure) const;

    ryn::RynSettings* settings;
    QwtPlot* plot_ = nullptr;
    QString studyTitle;
    QString xTitle;
    QVPlotControls* controls_ = nullptr;
    QwtDataBar* dataBar = nullptr;
    QwtPlotPanner* panner = nullptr;
    QAction* resetZoom_ = nullptr;
    QString fontFamily = QStringLiteral("Tahoma");
    Matrix table;
    Matrix powerTable;
    QString powerTest;
    QStringList names;
    QPushButton* bandsButton_ = nullptr;
    struct ShadedBand
    {
        QString parameter;
        QString title;
        QVector<double> x;
        QVector<double> low;
        QVector<double> high;
    } band;
    int gridLevel_ = GridHigh;
};
