#include "plot/QwtDataBar.h"

#include "TestStore.h"
#include "plot/QVPlotWidget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_scale_map.h>

using quorvel::test::TestStore;

namespace {

// Release sizes 100, 200, 400 with S1 half-widths 0.329, 0.1645, 0.08225 (90%)
// and 0.392, 0.196, 0.098 (95%), on fixed axes so that pixels are known.
class DataBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        widget = std::make_unique<QVPlotWidget>(store.get());
        Matrix table(3, 2);
        const double rows[3][2] = {{100, 0.04}, {200, 0.01}, {400, 0.0025}};
        for (int i = 0; i < 3; ++i) {
            table(i, 0) = rows[i][0];
            table(i, 1) = rows[i][1];
        }
        widget->setData({"S1"}, table, "Rc", "Single Release");
        plot()->setAxisScale(QwtPlot::xBottom, 0, 1000);
        plot()->setAxisScale(QwtPlot::yLeft, 0.08225, 0.5);
        widget->resize(640, 480);
        widget->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
        plot()->replot();
        bar = widget->findChild<QwtDataBar*>();
        ASSERT_NE(bar, nullptr);
    }

    QwtPlot* plot() const { return widget->plot(); }
    QWidget* canvas() const { return plot()->canvas(); }
    int xPixel(double x) const { return qRound(plot()->canvasMap(QwtPlot::xBottom).transform(x)); }
    int yPixel(double y) const { return qRound(plot()->canvasMap(QwtPlot::yLeft).transform(y)); }

    void mouse(QEvent::Type type, QPoint pos)
    {
        const Qt::MouseButtons buttons =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, pos, canvas()->mapToGlobal(pos), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(canvas(), &event);
    }

    void hover(QPoint pos)
    {
        QMouseEvent event(QEvent::MouseMove, pos, canvas()->mapToGlobal(pos), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(canvas(), &event);
    }

    // Every label box and the reading's lie inside the canvas and cover no
    // other.
    void expectApartInsideTheCanvas(const char* where)
    {
        QRect readingBox;
        ASSERT_FALSE(bar->reading(&readingBox).isEmpty()) << where;
        QVector<QRect> boxes = {readingBox};
        for (const QwtDataBar::Label& label : bar->labels())
            boxes << label.box;
        const QRect inside = canvas()->rect();
        for (int i = 0; i < boxes.size(); ++i) {
            EXPECT_TRUE(inside.contains(boxes[i])) << where << " box " << i;
            for (int j = i + 1; j < boxes.size(); ++j)
                EXPECT_FALSE(boxes[i].intersects(boxes[j])) << where << " boxes " << i << j;
        }
    }

    TestStore store;
    std::unique_ptr<QVPlotWidget> widget;
    QwtDataBar* bar = nullptr;
};

} // namespace

TEST_F(DataBarTest, ReadsTheNearestSamplesWhereTheMouseHoversUntilItLeaves)
{
    EXPECT_FALSE(bar->isVisible());
    hover({xPixel(260), 50});
    EXPECT_TRUE(bar->isVisible());
    int px = 0;
    QVector<QwtDataBar::Label> labels = bar->labels(&px);
    ASSERT_EQ(labels.size(), 2);
    EXPECT_EQ(px, xPixel(260));
    // 260 is nearer to 200 than to 400; the box hangs right of the bar and
    // below the sample.
    EXPECT_EQ(labels[0].text, "0.1645");
    EXPECT_EQ(labels[1].text, "0.1960");
    EXPECT_EQ(labels[1].sample, QPoint(px, yPixel(0.196)));
    EXPECT_EQ(labels[1].box.topLeft(), QPoint(px, yPixel(0.196)));
    EXPECT_EQ(bar->reading(), "Rc = 200: 90% 0.1645, 95% 0.1960");

    // The reading follows the mouse without a button held, and a press reads
    // where it is pressed.
    hover({xPixel(360), 50});
    EXPECT_EQ(bar->labels()[0].text, "0.0823");
    mouse(QEvent::MouseButtonPress, {xPixel(120), 50});
    EXPECT_EQ(bar->labels()[0].text, "0.3290");
    mouse(QEvent::MouseButtonRelease, {xPixel(120), 50});
    EXPECT_TRUE(bar->isVisible());

    // Leaving the canvas takes the bar away; new data does too, so that no
    // reading of the old curves stays at its x.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(canvas(), &leave);
    EXPECT_FALSE(bar->isVisible());
    hover({xPixel(200), 50});
    ASSERT_TRUE(bar->isVisible());
    Matrix next(2, 2);
    next(0, 0) = 300;
    next(0, 1) = 0.09;
    next(1, 0) = 600;
    next(1, 1) = 0.04;
    widget->setData({"S1"}, next, "Rc", "Single Release");
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(DataBarTest, LeftOfTheDataItReadsTheFirstSampleAndStaysOnTheAxis)
{
    mouse(QEvent::MouseButtonPress, {xPixel(50), 50});
    QVector<QwtDataBar::Label> labels = bar->labels();
    ASSERT_EQ(labels.size(), 2);
    EXPECT_EQ(labels[0].text, "0.3290");
    EXPECT_EQ(labels[1].text, "0.3920");

    // On the canvas frame, left of the axis's lower bound, the bar stays at
    // the bound.
    mouse(QEvent::MouseMove, {0, 50});
    int px = -1;
    labels = bar->labels(&px);
    ASSERT_EQ(labels.size(), 2);
    EXPECT_EQ(px, xPixel(0));
    EXPECT_EQ(labels[0].text, "0.3290");
}

TEST_F(DataBarTest, BoxesFlipAtTheRightAndBottomEdgesAndStackAsTheCurves)
{
    // At the right edge the boxes go to the left of the bar.
    hover({canvas()->width() - 1, 50});
    int px = 0;
    QVector<QwtDataBar::Label> labels = bar->labels(&px);
    ASSERT_EQ(labels.size(), 2);
    EXPECT_EQ(px, xPixel(1000));
    EXPECT_EQ(labels[0].box.left() + labels[0].box.width(), px);
    expectApartInsideTheCanvas("right edge");

    // The 90% value of the last sample lies on the bottom of the canvas: its
    // box goes above it, and the 95% box, whose sample is just above, above
    // that.
    hover({xPixel(400), 50});
    labels = bar->labels(&px);
    ASSERT_EQ(labels.size(), 2);
    EXPECT_EQ(labels[0].box.left(), px);
    EXPECT_LT(labels[0].box.top(), yPixel(0.08225));
    EXPECT_LT(labels[1].box.bottom(), labels[0].box.top());
    expectApartInsideTheCanvas("bottom");
}

TEST_F(DataBarTest, BoxesOfCurvesRunningCloseNeverCoverOneAnother)
{
    // On an axis up to 100 the two curves lie within a pixel of each other
    // and of the bottom; on one up to 0.33 the first point's values lie at
    // the top, under the reading.
    for (double top : {100.0, 0.33}) {
        plot()->setAxisScale(QwtPlot::yLeft, 0, top);
        plot()->replot();
        for (int x : {0, 100, 150, 400, 1000}) {
            hover({xPixel(x), 50});
            const std::string where = "top " + std::to_string(top) + " x " + std::to_string(x);
            expectApartInsideTheCanvas(where.c_str());
            const QVector<QwtDataBar::Label> labels = bar->labels();
            ASSERT_EQ(labels.size(), 2);
            // The 95% value is the larger: its box stays above.
            EXPECT_LT(labels[1].box.top(), labels[0].box.top()) << where;
        }
    }
}

TEST(QwtDataBar, OnANarrowPlotTheReadingTakesALinePerPartInsideTheCanvas)
{
    QwtPlot plot;
    plot.setAxisTitle(QwtPlot::xBottom, "Rc");
    plot.setAxisScale(QwtPlot::xBottom, 0, 1000);
    plot.setAxisScale(QwtPlot::yLeft, 0, 1);
    for (const char* title : {"90%", "95%"}) {
        auto* curve = new QwtPlotCurve(title);
        curve->setSamples(QVector<double>{100, 900}, QVector<double>{0.3, 0.5});
        curve->attach(&plot);
    }
    auto* bar = new QwtDataBar(plot.canvas());
    plot.resize(170, 300);
    plot.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&plot));
    plot.replot();
    QWidget* canvas = plot.canvas();
    ASSERT_LT(canvas->width(), 150);
    const QwtScaleMap xMap = plot.canvasMap(QwtPlot::xBottom);
    for (double x : {0.0, 100.0, 500.0, 1000.0}) {
        const QPoint pos(qRound(xMap.transform(x)), 50);
        QMouseEvent move(QEvent::MouseMove, pos, canvas->mapToGlobal(pos), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(canvas, &move);
        QRect box;
        EXPECT_TRUE(bar->reading(&box).startsWith("Rc = ")) << x;
        // Three lines: the ranged value and each curve.
        EXPECT_GE(box.height(), 3 * QFontMetrics(bar->font()).height()) << x;
        EXPECT_TRUE(canvas->rect().contains(box)) << x;
        for (const QwtDataBar::Label& label : bar->labels()) {
            EXPECT_TRUE(canvas->rect().contains(label.box)) << x;
            EXPECT_FALSE(label.box.intersects(box)) << x;
        }
    }
}

TEST(QwtDataBar, PlotWithoutCurvesShowsNothing)
{
    QwtPlot plot;
    QwtDataBar bar(plot.canvas());
    EXPECT_TRUE(bar.labels().isEmpty());
}
