#include "plot/QVPlotWidget.h"

#include "TestStore.h"
#include "Tolerance.h"
#include "plot/QVPlotControls.h"
#include "plot/QwtDataBar.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_panner.h>
#include <qwt_scale_div.h>

#include <vector>

using quorvel::test::TestStore;

namespace {

// Three points of a release-size range with the variances of S1 and P1,
// chosen so that the standard errors are round: S1 0.2, 0.1, 0.05 and P1 0.3,
// 0.04, 0.01.
Matrix threePoints()
{
    const double rows[3][3] = {{100, 0.04, 0.09}, {200, 0.01, 0.0016}, {400, 0.0025, 0.0001}};
    Matrix table(3, 3);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            table(i, j) = rows[i][j];
    return table;
}

QList<QwtPlotCurve*> curves(const QVPlotWidget& widget)
{
    QList<QwtPlotCurve*> found;
    for (QwtPlotItem* item : widget.plot()->itemList(QwtPlotItem::Rtti_PlotCurve))
        found << static_cast<QwtPlotCurve*>(item);
    return found;
}

void expectSamples(const QwtPlotCurve* curve, const std::vector<double>& x,
                   const std::vector<double>& y)
{
    ASSERT_EQ(curve->dataSize(), x.size()) << curve->title().text().toStdString();
    for (size_t i = 0; i < x.size(); ++i) {
        EXPECT_EQ(curve->sample(i).x(), x[i]);
        EXPECT_REL_NEAR(curve->sample(i).y(), y[i], 1e-12);
    }
}

QwtPlotGrid* onlyGrid(const QVPlotWidget& widget)
{
    const QwtPlotItemList grids = widget.plot()->itemList(QwtPlotItem::Rtti_PlotGrid);
    return grids.size() == 1 ? static_cast<QwtPlotGrid*>(grids.front()) : nullptr;
}

void sendMouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pos, target->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

TEST(QVPlotWidget, CurvesAreTheHalfWidthsOfTheChosenParameter)
{
    TestStore store;
    QVPlotWidget widget(store.get());
    widget.setData({"S1", "P1"}, threePoints(), "Rc", "Single Release");

    EXPECT_EQ(widget.plot()->title().text(), "Single Release: Precision of S1 vs. Rc");
    EXPECT_EQ(widget.plot()->axisTitle(QwtPlot::xBottom).text(), "Rc");
    EXPECT_EQ(widget.plot()->axisTitle(QwtPlot::yLeft).text(), "1/2 CI");
    QList<QwtPlotCurve*> drawn = curves(widget);
    ASSERT_EQ(drawn.size(), 2);
    EXPECT_EQ(drawn[0]->title().text(), "90%");
    EXPECT_EQ(drawn[0]->pen().color(), QColor(Qt::blue));
    EXPECT_EQ(drawn[1]->title().text(), "95%");
    EXPECT_EQ(drawn[1]->pen().color(), QColor(Qt::red));
    // 1.645 and 1.96 times the standard errors 0.2, 0.1, 0.05.
    expectSamples(drawn[0], {100, 200, 400}, {0.329, 0.1645, 0.08225});
    expectSamples(drawn[1], {100, 200, 400}, {0.392, 0.196, 0.098});

    // Choosing the second parameter redraws both curves from column 2
    // (standard errors 0.3, 0.04, 0.01).
    QComboBox* combo = widget.controls()->parsCombo;
    ASSERT_TRUE(combo->isEnabled());
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(widget.plot()->title().text(), "Single Release: Precision of P1 vs. Rc");
    drawn = curves(widget);
    ASSERT_EQ(drawn.size(), 2);
    expectSamples(drawn[0], {100, 200, 400}, {0.4935, 0.0658, 0.01645});
    expectSamples(drawn[1], {100, 200, 400}, {0.588, 0.0784, 0.0196});

    // New data replaces the old; one parameter leaves nothing to choose, and a
    // table without rows draws empty curves.
    widget.setData({"Sc"}, Matrix(0, 2), "Rt", "Paired Release");
    EXPECT_FALSE(combo->isEnabled());
    drawn = curves(widget);
    ASSERT_EQ(drawn.size(), 2);
    EXPECT_EQ(drawn[0]->dataSize(), 0u);
    EXPECT_EQ(widget.plot()->title().text(), "Paired Release: Precision of Sc vs. Rt");
}

TEST(QVPlotWidget, GridLinesHighLowAndOff)
{
    TestStore store;
    QVPlotWidget widget(store.get());
    QComboBox* grid = widget.controls()->gridComboBox;

    QwtPlotGrid* high = onlyGrid(widget);
    ASSERT_NE(high, nullptr);
    EXPECT_TRUE(high->xMinEnabled() && high->yMinEnabled());
    EXPECT_EQ(high->majorPen().color(), QColor(Qt::black));
    EXPECT_EQ(high->majorPen().style(), Qt::DotLine);
    EXPECT_EQ(high->minorPen().color(), QColor(Qt::gray));

    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(widget.gridLevel(), QVPlotWidget::GridLow);
    QwtPlotGrid* low = onlyGrid(widget);
    ASSERT_NE(low, nullptr);
    EXPECT_FALSE(low->xMinEnabled() || low->yMinEnabled());
    EXPECT_EQ(low->majorPen().style(), Qt::DotLine);

    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_TRUE(widget.plot()->itemList(QwtPlotItem::Rtti_PlotGrid).isEmpty());

    // Redrawing the curves keeps the grid as chosen.
    widget.setData({"S1"}, threePoints(), "Rc", "Single Release");
    EXPECT_TRUE(widget.plot()->itemList(QwtPlotItem::Rtti_PlotGrid).isEmpty());
}

TEST(QVPlotWidget, PanningReplacesTheDataBarIsStoredAndDragsThePlot)
{
    TestStore store;
    {
        QVPlotWidget widget(store.get());
        EXPECT_NE(widget.findChild<QwtDataBar*>(), nullptr);
        EXPECT_EQ(widget.findChild<QwtPlotPanner*>(), nullptr);

        widget.controls()->panningRadio->click();
        EXPECT_TRUE(store->value(QVSettingsKeys::PlotPanning).toBool());
        EXPECT_FALSE(store->value(QVSettingsKeys::PlotDataBar).toBool());
        EXPECT_EQ(widget.findChild<QwtDataBar*>(), nullptr);
        ASSERT_NE(widget.findChild<QwtPlotPanner*>(), nullptr);

        widget.setData({"S1"}, threePoints(), "Rc", "Single Release");
        widget.resize(640, 480);
        widget.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
        QWidget* canvas = widget.plot()->canvas();
        const double lowBefore = widget.plot()->axisScaleDiv(QwtPlot::xBottom).lowerBound();
        sendMouse(canvas, QEvent::MouseButtonPress, {300, 200}, Qt::LeftButton);
        sendMouse(canvas, QEvent::MouseMove, {200, 200}, Qt::LeftButton);
        sendMouse(canvas, QEvent::MouseButtonRelease, {200, 200}, Qt::NoButton);
        // Dragging left shows larger release sizes.
        EXPECT_GT(widget.plot()->axisScaleDiv(QwtPlot::xBottom).lowerBound(), lowBefore);
    }

    // The next plot starts with the stored tool.
    QVPlotWidget next(store.get());
    EXPECT_TRUE(next.controls()->panningRadio->isChecked());
    EXPECT_NE(next.findChild<QwtPlotPanner*>(), nullptr);
    next.controls()->dataBarRadio->click();
    EXPECT_TRUE(store->value(QVSettingsKeys::PlotDataBar).toBool());
    EXPECT_NE(next.findChild<QwtDataBar*>(), nullptr);
    EXPECT_EQ(next.findChild<QwtPlotPanner*>(), nullptr);
}

TEST(QVPlotWidget, ExportsAnImageOfTheStoredSize)
{
    TestStore store;
    QVPlotWidget widget(store.get());
    widget.setData({"S1"}, threePoints(), "Rc", "Single Release");
    QTemporaryDir dir;
    const QString file = dir.filePath("plot.png");
    ASSERT_TRUE(widget.exportImage(file));
    const QImage image(file);
    EXPECT_EQ(image.size(), QSize(600, 400));
    EXPECT_FALSE(widget.exportImage(dir.filePath("missing/plot.png")));
}

namespace {

void wheel(QWidget* canvas, Qt::KeyboardModifiers modifiers)
{
    const QPoint pos = canvas->rect().center();
    QWheelEvent event(pos, canvas->mapToGlobal(pos), QPoint(), QPoint(0, 120), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas, &event);
}

QPair<double, double> bounds(const QVPlotWidget& widget, int axis)
{
    const QwtScaleDiv& div = widget.plot()->axisScaleDiv(axis);
    return {div.lowerBound(), div.upperBound()};
}

// A run over release sizes from low to high with the variances of S1 falling
// as 1/R.
Matrix rangeFrom(double low, double high)
{
    Matrix table(3, 2);
    const double x[3] = {low, (low + high) / 2, high};
    for (int i = 0; i < 3; ++i) {
        table(i, 0) = x[i];
        table(i, 1) = 1.0 / x[i];
    }
    return table;
}

} // namespace

TEST(QVPlotWidget, TheWheelZoomsOnlyWithCtrlAndANewRunIsShownWhole)
{
    TestStore store;
    QVPlotWidget widget(store.get());
    widget.setData({"S1"}, rangeFrom(500, 5000), "R0", "Single Release");
    widget.resize(640, 480);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    QWidget* canvas = widget.plot()->canvas();
    const auto whole = bounds(widget, QwtPlot::xBottom);
    EXPECT_LE(whole.first, 500);
    EXPECT_GE(whole.second, 5000);
    EXPECT_FALSE(widget.isZoomed());
    EXPECT_FALSE(widget.resetZoomAction()->isEnabled());
    EXPECT_FALSE(widget.controls()->resetZoomButton->isEnabled());

    // A wheel turned alone (to scroll the report beside) leaves the plot be.
    for (int i = 0; i < 3; ++i)
        wheel(canvas, Qt::NoModifier);
    EXPECT_EQ(bounds(widget, QwtPlot::xBottom), whole);
    EXPECT_FALSE(widget.isZoomed());

    // With Ctrl it zooms, and the way back is offered.
    for (int i = 0; i < 3; ++i)
        wheel(canvas, Qt::ControlModifier);
    const auto zoomed = bounds(widget, QwtPlot::xBottom);
    EXPECT_LT(zoomed.second - zoomed.first, whole.second - whole.first);
    EXPECT_TRUE(widget.isZoomed());
    EXPECT_TRUE(widget.resetZoomAction()->isEnabled());
    EXPECT_TRUE(widget.controls()->resetZoomButton->isEnabled());

    // The next run, far outside the zoomed view, is drawn whole.
    widget.setData({"S1"}, rangeFrom(5000, 20000), "R0", "Single Release");
    const auto next = bounds(widget, QwtPlot::xBottom);
    EXPECT_LE(next.first, 5000);
    EXPECT_GE(next.second, 20000);
    EXPECT_LT(next.second, 30000);
    const auto y = bounds(widget, QwtPlot::yLeft);
    // 95% half-widths 1.96/sqrt(R) from 0.0139 to 0.0277.
    EXPECT_LE(y.first, 1.96 / std::sqrt(20000.0));
    EXPECT_GE(y.second, 1.96 / std::sqrt(5000.0));
    EXPECT_FALSE(widget.isZoomed());
    EXPECT_FALSE(widget.resetZoomAction()->isEnabled());
}

TEST(QVPlotWidget, DoubleClickButtonAndContextMenuShowTheWholeRunAgain)
{
    TestStore store;
    QVPlotWidget widget(store.get());
    widget.setData({"S1"}, rangeFrom(500, 5000), "R0", "Single Release");
    widget.resize(640, 480);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    QWidget* canvas = widget.plot()->canvas();
    const auto wholeX = bounds(widget, QwtPlot::xBottom);
    const auto wholeY = bounds(widget, QwtPlot::yLeft);

    wheel(canvas, Qt::ControlModifier);
    ASSERT_TRUE(widget.isZoomed());
    QTest::mouseDClick(canvas, Qt::LeftButton, Qt::NoModifier, canvas->rect().center());
    EXPECT_FALSE(widget.isZoomed());
    EXPECT_EQ(bounds(widget, QwtPlot::xBottom), wholeX);
    EXPECT_EQ(bounds(widget, QwtPlot::yLeft), wholeY);

    wheel(canvas, Qt::ControlModifier);
    ASSERT_TRUE(widget.isZoomed());
    QTest::mouseClick(widget.controls()->resetZoomButton, Qt::LeftButton);
    EXPECT_EQ(bounds(widget, QwtPlot::xBottom), wholeX);

    // The canvas's context menu holds the same entry; the power's axis
    // returns to 0 to 1 after a pan.
    Matrix power = rangeFrom(500, 5000);
    for (int i = 0; i < 3; ++i)
        power(i, 1) = 0.2 * (i + 1);
    widget.setPower(power, "two-sided test at alpha = 0.05");
    EXPECT_EQ(canvas->contextMenuPolicy(), Qt::ActionsContextMenu);
    ASSERT_TRUE(canvas->actions().contains(widget.resetZoomAction()));
    EXPECT_EQ(widget.resetZoomAction()->text(), "Reset zoom");
    widget.controls()->panningRadio->click();
    widget.showMeasure(QVPlotWidget::Power);
    sendMouse(canvas, QEvent::MouseButtonPress, {300, 200}, Qt::LeftButton);
    sendMouse(canvas, QEvent::MouseMove, {250, 150}, Qt::LeftButton);
    sendMouse(canvas, QEvent::MouseButtonRelease, {250, 150}, Qt::NoButton);
    EXPECT_TRUE(widget.isZoomed());
    EXPECT_NE(bounds(widget, QwtPlot::yLeft), qMakePair(0.0, 1.0));
    widget.resetZoomAction()->trigger();
    EXPECT_EQ(bounds(widget, QwtPlot::yLeft), qMakePair(0.0, 1.0));
    EXPECT_EQ(bounds(widget, QwtPlot::xBottom), wholeX);
    EXPECT_FALSE(widget.isZoomed());

    // The mouse tools say what they do.
    EXPECT_FALSE(widget.controls()->dataBarRadio->toolTip().isEmpty());
    EXPECT_FALSE(widget.controls()->panningRadio->toolTip().isEmpty());
}
