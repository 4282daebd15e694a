#include "plot/QwtDataBar.h"

#include "TestStore.h"
#include "plot/QVPlotWidget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <qwt_plot.h>
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

    TestStore store;
    std::unique_ptr<QVPlotWidget> widget;
    QwtDataBar* bar = nullptr;
};

} // namespace

TEST_F(DataBarTest, ShowsTheNearestSamplesFromThePressUntilTheRelease)
{
    EXPECT_FALSE(bar->isVisible());
    mouse(QEvent::MouseButtonPress, {xPixel(260), 50});
    EXPECT_TRUE(bar->isVisible());
    int px = 0;
    QVector<QwtDataBar::Label> labels = bar->labels(&px);
    ASSERT_EQ(labels.size(), 2);
    EXPECT_EQ(px, xPixel(260));
    // 260 is nearer to 200 than to 400; the box hangs right of the bar and
    // below the sample.
    EXPECT_EQ(labels[0].text, "0.1645");
    EXPECT_EQ(labels[1].text, "0.1960");
    EXPECT_EQ(labels[1].box.topLeft(), QPoint(px, yPixel(0.196)));
    EXPECT_EQ(bar->reading(), "Rc = 200: 90% 0.1645, 95% 0.1960");

    // Dragging follows the mouse; after the release the reading stays put.
    mouse(QEvent::MouseMove, {xPixel(360), 50});
    EXPECT_EQ(bar->labels()[0].text, "0.0823");
    mouse(QEvent::MouseButtonRelease, {xPixel(360), 50});
    mouse(QEvent::MouseMove, {xPixel(120), 50});
    EXPECT_EQ(bar->labels()[0].text, "0.0823");
    EXPECT_TRUE(bar->isVisible());
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

TEST_F(DataBarTest, BoxesFlipAtTheRightAndBottomEdges)
{
    // At the right edge the boxes go to the left of the bar.
    mouse(QEvent::MouseButtonPress, {canvas()->width() - 1, 50});
    int px = 0;
    QVector<QwtDataBar::Label> labels = bar->labels(&px);
    ASSERT_EQ(labels.size(), 2);
    EXPECT_EQ(px, xPixel(1000));
    EXPECT_EQ(labels[0].box.left() + labels[0].box.width(), px);
    EXPECT_LE(labels[0].box.right(), canvas()->width());

    // The 90% value of the last sample lies on the bottom of the canvas: its
    // box goes above it.
    mouse(QEvent::MouseMove, {xPixel(400), 50});
    labels = bar->labels(&px);
    ASSERT_EQ(labels.size(), 2);
    const QRect box = labels[0].box;
    EXPECT_EQ(box.left(), px);
    EXPECT_EQ(box.top() + box.height(), yPixel(0.08225));
    EXPECT_LE(box.bottom(), canvas()->height());
}

TEST(QwtDataBar, PlotWithoutCurvesShowsNothing)
{
    QwtPlot plot;
    QwtDataBar bar(plot.canvas());
    EXPECT_TRUE(bar.labels().isEmpty());
}
