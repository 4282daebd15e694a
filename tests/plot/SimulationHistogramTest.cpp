#include "plot/SimulationHistogram.h"

#include "Tolerance.h"

#include <gtest/gtest.h>

#include <qwt_plot_curve.h>

#include <algorithm>
#include <cmath>

// 1001 estimates spread evenly over [0, 1] around a true value of 0.5 with a
// predicted SE of 0.1: the predicted curve is the normal density scaled to
// the counts, so its peak, at the true value, is n·width/(se·√(2π)).
TEST(SimulationHistogram, PredictedCurvePeaksAtTheCountsANormalWouldGiveEachBin)
{
    std::vector<double> estimates;
    for (int i = 0; i <= 1000; ++i)
        estimates.push_back(i / 1000.0);
    SimulationHistogram histogram;
    histogram.setEstimates("S1", estimates, 0.5, 0.1);
    ASSERT_GT(histogram.binCount(), 1);
    const double width = 1.0 / histogram.binCount();

    const QwtPlotItemList curves = histogram.itemList(QwtPlotItem::Rtti_PlotCurve);
    ASSERT_EQ(curves.size(), 1);
    const auto* curve = static_cast<const QwtPlotCurve*>(curves.front());
    ASSERT_GT(curve->dataSize(), 2u);
    QPointF peak = curve->sample(0);
    for (size_t i = 1; i < curve->dataSize(); ++i) {
        if (curve->sample(i).y() > peak.y())
            peak = curve->sample(i);
    }
    const double pi = std::acos(-1.0);
    EXPECT_REL_NEAR(peak.x(), 0.5, 1e-12);
    EXPECT_REL_NEAR(peak.y(), 1001 * width / (0.1 * std::sqrt(2 * pi)), 1e-12);
}
