#include "studies/planning/Planner.h"

#include "forms/core/BTPSInputs.h"
#include "forms/core/SingleReleaseInputs.h"
#include "forms/core/TIRRInputs.h"
#include "forms/core/VWPInputs.h"

#include "Tolerance.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

Design designOf(Design::Kind kind, const QMap<QString, QString>& texts, int reaches = 0)
{
    Design design;
    design.kind = kind;
    design.inputs = designs::info(kind).blankInputs(reaches);
    for (auto t = texts.begin(); t != texts.end(); ++t)
        design.inputs.field(t.key()).text = t.value();
    return design;
}

// The single release of one reach and the final one: R0 fish, survival S1,
// detection P1 and lambda; nothing removed, nothing released below.
Design singleRelease(const QString& s1, const QString& p1, const QString& lambda)
{
    return designOf(
        Design::SingleRelease,
        {{"R0", "1000"}, {"S1", s1}, {"P1", p1}, {"D1", "0"}, {"R1", "0"}, {"Lambda", lambda}}, 2);
}

// Var(Ŝ1) of that design with N fish: S1(1 − S1)/N + S1(1 − P1)(1 − λ)/(N·P1·λ).
double survivalVariance(double s, double p, double lambda, double n)
{
    return s * (1 - s) / n + s * (1 - p) * (1 - lambda) / (n * p * lambda);
}

Plan planned(const Design& design, const PlanRequest& request)
{
    Plan plan;
    QString error;
    EXPECT_TRUE(planner::plan(design, request, &plan, &error)) << error.toStdString();
    return plan;
}

PlanRequest request(PlanRequest::Solve solve, const QString& quantity, PlanTarget::Measure measure,
                    double value, const QString& field = QString())
{
    PlanRequest request;
    request.solve = solve;
    request.target = {quantity, measure, value};
    request.field = field;
    return request;
}

int fieldValue(const PlanRow& row, const QString& key)
{
    for (const auto& [name, text] : row.fields) {
        if (name == key)
            return text.toInt();
    }
    ADD_FAILURE() << "no " << key.toStdString();
    return 0;
}

Design linked(Design design, const QMap<QString, bool>& switches)
{
    for (auto s = switches.begin(); s != switches.end(); ++s)
        design.inputs.switches[s.key()] = s.value();
    designs::info(design.kind).applySwitches(design.inputs);
    return design;
}

} // namespace

// N = ⌈v/se²⌉ with v the variance of one fish, at every point of a range of
// S1: the answer meets the target and one fish fewer does not, by the
// closed form.
TEST(Planner, ReleaseSizeOfTheSingleReleaseFollowsItsClosedFormAtEveryPoint)
{
    Design design = singleRelease("0.5:0.9", "0.6", "0.7");
    design.inputs.setRangeHolder("S1");
    const double se = 0.021;
    const Plan plan =
        planned(design, request(PlanRequest::ReleaseSize, "S1", PlanTarget::StandardError, se));
    ASSERT_EQ(plan.rows.size(), design.inputs.numPoints());
    EXPECT_EQ(plan.xName, "S1");
    for (const PlanRow& row : plan.rows) {
        const int n = fieldValue(row, "R0");
        EXPECT_TRUE(row.met);
        const double exact = survivalVariance(row.x, 0.6, 0.7, 1) / (se * se);
        EXPECT_GE(n, std::ceil(exact - 1e-6)) << row.x;
        EXPECT_LE(n, std::ceil(exact + 1e-6)) << row.x;
        EXPECT_LE(std::sqrt(survivalVariance(row.x, 0.6, 0.7, n)), se);
        EXPECT_GT(std::sqrt(survivalVariance(row.x, 0.6, 0.7, n - 1)), se);
        EXPECT_REL_NEAR(row.achieved, std::sqrt(survivalVariance(row.x, 0.6, 0.7, n)), 1e-6);
        EXPECT_REL_NEAR(row.shortMeasure, std::sqrt(survivalVariance(row.x, 0.6, 0.7, n - 1)),
                        1e-6);
    }

    // A 95% half-width and a CV are SE targets of 0.05/1.96 and 0.1·S1.
    const Design fixed = singleRelease("0.8", "0.6", "0.7");
    const double v = survivalVariance(0.8, 0.6, 0.7, 1);
    const auto fish = [&](PlanTarget::Measure measure, double value) {
        const Plan p = planned(fixed, request(PlanRequest::ReleaseSize, "S1", measure, value));
        return p.rows.isEmpty() ? 0 : fieldValue(p.rows[0], "R0");
    };
    EXPECT_EQ(fish(PlanTarget::HalfWidth95, 0.05), std::ceil(v / std::pow(0.05 / 1.96, 2)));
    EXPECT_EQ(fish(PlanTarget::HalfWidth90, 0.05), std::ceil(v / std::pow(0.05 / 1.645, 2)));
    EXPECT_EQ(fish(PlanTarget::CoefficientOfVariation, 0.05), std::ceil(v / std::pow(0.04, 2)));
}

// Each measure of a target from one SE of 0.02 on an estimate of 0.8.
TEST(PlanTarget, EachMeasureScalesTheStandardErrorByItsOwnFactor)
{
    const auto measured = [](PlanTarget::Measure measure) {
        return PlanTarget{"S1", measure, 1.0}.measureOf(0.8, 0.0004);
    };
    EXPECT_REL_NEAR(measured(PlanTarget::StandardError), 0.02, 1e-12);
    EXPECT_REL_NEAR(measured(PlanTarget::HalfWidth90), 1.645 * 0.02, 1e-12);
    EXPECT_REL_NEAR(measured(PlanTarget::HalfWidth95), 1.96 * 0.02, 1e-12);
    EXPECT_REL_NEAR(measured(PlanTarget::CoefficientOfVariation), 0.025, 1e-12);
}

// With r replicates and natural variance σ² the variance is (σ² + v/N)/r,
// so the fewest fish are N = ⌈v/(r·se² − σ²)⌉: not proportional to 1/N, so
// the search brackets and bisects, and must end on that N and not beside it.
TEST(Planner, ReleaseSizeSearchEndsOnTheFewestFishWhenTheGuessIsOff)
{
    Design design = singleRelease("0.8", "0.6", "0.7");
    design.options.replicatesEnabled = true;
    design.options.replicateCount = 2;
    design.options.replicateParameter = "S1";
    const double v = survivalVariance(0.8, 0.6, 0.7, 1);
    for (const auto& [sigma2, se] : {std::pair{0.0001, 0.01}, {0.00005, 0.012}, {0.0002, 0.0125}}) {
        design.options.naturalVariance = QString::number(sigma2);
        const Plan plan =
            planned(design, request(PlanRequest::ReleaseSize, "S1", PlanTarget::StandardError, se));
        ASSERT_EQ(plan.rows.size(), 1);
        ASSERT_TRUE(plan.rows[0].met) << plan.rows[0].message.toStdString();
        const int n = fieldValue(plan.rows[0], "R0");
        EXPECT_EQ(n, std::ceil(v / (2 * se * se - sigma2))) << sigma2;
        EXPECT_GT(std::sqrt((sigma2 + v / (n - 1)) / 2), se);
        EXPECT_GT(plan.rows[0].shortMeasure, se);
    }
}

// Releases keep their proportions: R0 and a release below scaled together.
TEST(Planner, ReleaseSizesScaleTogetherAndStayInProportion)
{
    Design design = designOf(Design::SingleRelease,
                             {{"R0", "3000"},
                              {"S1", "0.8"},
                              {"P1", "0.6"},
                              {"D1", "0"},
                              {"R1", "1000"},
                              {"S2", "0.9"},
                              {"P2", "0.7"},
                              {"D2", "0"},
                              {"R2", "0"},
                              {"Lambda", "0.6"}},
                             3);
    const Plan plan =
        planned(design, request(PlanRequest::ReleaseSize, "S2", PlanTarget::HalfWidth90, 0.03));
    ASSERT_EQ(plan.rows.size(), 1);
    const PlanRow& row = plan.rows[0];
    ASSERT_TRUE(row.met);
    const int r0 = fieldValue(row, "R0");
    const int r1 = fieldValue(row, "R1");
    EXPECT_NEAR(r0, 3.0 * r1, 1.0);
    EXPECT_LE(row.achieved, 0.03);
    EXPECT_GT(row.shortMeasure, 0.03);
    EXPECT_EQ(planner::withAnswer(design, row).inputs.field("R1").text.toInt(), r1);
}

// Var(T) = a/Rc + b/Rt: the best split has Rc/Rt = √(a/b), and the smallest
// total meeting an SE target at its best split is near (√a + √b)²/se².
TEST(Planner, SplitOfTheBalloonTagAndTransportDesignsFollowsTheirClosedForms)
{
    struct Case
    {
        Design design;
        double a;
        double b;
    };
    const double t = 0.9, sc = 0.8, pa = 0.7, theta = 0.3, tt = 1.4;
    Design btps = designOf(Design::BTPS, {{"Rc", "1500"},
                                          {"Rt", "1500"},
                                          {"Sc", "0.8"},
                                          {"T", "0.9"},
                                          {"Pa", "0.7"},
                                          {"Pd", "0.5"}});
    btps.inputs.switches[BTPSInputs::useSt] = false;
    btps.inputs.switches[BTPSInputs::linkReleases] = true;
    designs::info(Design::BTPS).applySwitches(btps.inputs);
    Design tirr =
        designOf(Design::TIRR, {{"Rc", "1000"}, {"Rt", "2000"}, {"Sc*P", "0.3"}, {"T", "1.4"}});
    tirr.inputs.switches[TIRRInputs::useTheta] = true;
    designs::info(Design::TIRR).applySwitches(tirr.inputs);
    const QList<Case> cases = {
        {btps, t * t * (1 - pa * sc) / (sc * pa), t * (1 - t * sc * pa) / (sc * pa)},
        {tirr, tt * tt * (1 - theta) / theta, tt * (1 - theta * tt) / theta}};
    for (const Case& c : cases) {
        const double se = 0.03;
        PlanRequest split = request(PlanRequest::Split, "T", PlanTarget::StandardError, se);
        split.total = 3000;
        const Plan plan = planned(c.design, split);
        ASSERT_EQ(plan.rows.size(), 1);
        const PlanRow& row = plan.rows[0];
        const double share = std::sqrt(c.a) / (std::sqrt(c.a) + std::sqrt(c.b));
        EXPECT_TRUE(
            row.bestSplit.startsWith(QStringLiteral("Rc = %1,").arg(std::lround(3000 * share))) ||
            row.bestSplit.startsWith(QStringLiteral("Rc = %1,").arg(std::floor(3000 * share))))
            << row.bestSplit.toStdString();
        const auto se2 = [&](double rc, double rt) { return std::sqrt(c.a / rc + c.b / rt); };
        ASSERT_TRUE(row.met);
        const int rc = fieldValue(row, "Rc");
        const int rt = fieldValue(row, "Rt");
        const int n = rc + rt;
        EXPECT_NEAR(rc, n * share, 1.0);
        EXPECT_LE(se2(rc, rt), se);
        EXPECT_REL_NEAR(row.achieved, se2(rc, rt), 1e-9);
        // No split of one fish fewer meets the target.
        const double best = std::floor((n - 1) * share);
        EXPECT_GT(std::min(se2(best, n - 1 - best), se2(best + 1, n - 2 - best)), se);
        EXPECT_NEAR(n, std::pow(std::sqrt(c.a) + std::sqrt(c.b), 2) / (se * se), 2.0);
        // "Use this" unlinks the groups and writes both.
        const Design answered = planner::withAnswer(c.design, row);
        EXPECT_FALSE(answered.inputs.switches.value("linkReleases"));
        EXPECT_TRUE(answered.inputs.field("Rt").enabled);
        EXPECT_EQ(answered.inputs.field("Rt").text.toInt(), rt);
    }
}

// The smallest P1 meeting an SE target on S1, on a grid of 0.001; a target
// beyond reach even at P1 = 1 is said to be so, with the SE there.
TEST(Planner, DetectionIsSolvedOnItsGridOrReportedUnmeetableAtOne)
{
    const Design design = singleRelease("0.8", "0.5", "0.7");
    const Plan plan = planned(
        design, request(PlanRequest::Probability, "S1", PlanTarget::StandardError, 0.02, "P1"));
    ASSERT_EQ(plan.rows.size(), 1);
    const PlanRow& row = plan.rows[0];
    ASSERT_TRUE(row.met) << row.message.toStdString();
    const double p = row.fields[0].second.toDouble();
    EXPECT_LE(std::sqrt(survivalVariance(0.8, p, 0.7, 1000)), 0.02);
    EXPECT_GT(std::sqrt(survivalVariance(0.8, p - 0.001, 0.7, 1000)), 0.02);

    // As P1 nears 1 the variance falls to S1(1 − S1)/N, an SE of 0.01265
    // with 1000 fish.
    const Plan unmeetable = planned(
        design, request(PlanRequest::Probability, "S1", PlanTarget::StandardError, 0.012, "P1"));
    ASSERT_EQ(unmeetable.rows.size(), 1);
    EXPECT_FALSE(unmeetable.rows[0].met);
    EXPECT_TRUE(unmeetable.rows[0].message.startsWith("cannot be met"))
        << unmeetable.rows[0].message.toStdString();
    EXPECT_GT(unmeetable.rows[0].achieved, 0.012);
}

// S1 solved for its own SE: Var(Ŝ1) = S1(1 − S1 + c)/N with
// c = (1 − P1)(1 − λ)/(P1·λ) rises and falls again, so the target is met
// below one crossing and above another. The answer is the smallest grid
// value meeting it, and says where else it is met, whatever the release size.
TEST(Planner, ProbabilityWhoseMeasureIsNotMonotoneIsScannedOverTheWholeGrid)
{
    Design design = singleRelease("0.8", "0.6", "0.7");
    const double se = 0.0191;
    const auto grid = [](int k) { return QString::number(k / 1000.0); };
    QStringList answers;
    for (int n : {1000, 2000}) {
        design.inputs.field("R0").text = QString::number(n);
        const Plan plan = planned(
            design, request(PlanRequest::Probability, "S1", PlanTarget::StandardError, se, "S1"));
        ASSERT_EQ(plan.rows.size(), 1);
        const PlanRow& row = plan.rows[0];
        const auto met = [&](int k) {
            return std::sqrt(survivalVariance(k / 1000.0, 0.6, 0.7, n)) <= se;
        };
        // Met from 0.001 up to the lower crossing, and again from the upper
        // one (if it lies below 1) up to 1.
        int lower = 1;
        while (lower < 1000 && met(lower + 1))
            ++lower;
        int upper = lower + 1;
        while (upper <= 1000 && !met(upper))
            ++upper;
        ASSERT_TRUE(row.met) << n;
        QString expected = "S1 = 0.001";
        if (lower < 1000 && upper > 1000)
            expected += QStringLiteral(" (met for S1 <= %1)").arg(grid(lower));
        else if (lower < 1000)
            expected +=
                QStringLiteral(" (met for S1 <= %1 and S1 >= %2)").arg(grid(lower), grid(upper));
        EXPECT_EQ(row.answer.toStdString(), expected.toStdString()) << n;
        EXPECT_REL_NEAR(row.achieved, std::sqrt(survivalVariance(0.001, 0.6, 0.7, n)), 1e-6);
        answers << row.answer;
    }
    // At 1000 fish the crossings are near S1 = 0.414 and 0.871.
    EXPECT_TRUE(answers[0].contains("and S1 >= 0.8")) << answers[0].toStdString();

    // A target below the smallest SE anywhere is not met, and the answer says
    // where the SE is smallest, not merely what it is at 1.
    design.inputs.field("R0").text = "1000";
    const Plan unmet = planned(
        design, request(PlanRequest::Probability, "S1", PlanTarget::StandardError, 0.001, "S1"));
    ASSERT_EQ(unmet.rows.size(), 1);
    EXPECT_FALSE(unmet.rows[0].met);
    EXPECT_EQ(unmet.rows[0].message.toStdString(),
              QStringLiteral("cannot be met at any S1 in (0, 1]: the smallest SE is %1, at S1 = "
                             "0.001")
                  .arg(QString::number(std::sqrt(survivalVariance(0.001, 0.6, 0.7, 1000)), 'g', 4))
                  .toStdString());
}

// Bad targets name what was asked and what is possible.
TEST(Planner, RefusesBadTargetsNamingWhatWasAskedAndWhatIsPossible)
{
    const Design single = singleRelease("0.8", "0.6", "0.7");
    const auto refusal = [](const Design& design, const PlanRequest& request) {
        Plan plan;
        QString error;
        EXPECT_FALSE(planner::plan(design, request, &plan, &error));
        return error;
    };
    EXPECT_EQ(
        refusal(single, request(PlanRequest::ReleaseSize, "S1", PlanTarget::StandardError, 0)),
        "The target SE of S1 must be a number above 0: 0 was asked");
    EXPECT_EQ(
        refusal(single, request(PlanRequest::ReleaseSize, "T", PlanTarget::StandardError, 0.1)),
        "The Single Release design does not estimate \"T\": its quantities are S1, P1, "
        "Final and CompositeS");
    EXPECT_TRUE(refusal(single, request(PlanRequest::Split, "S1", PlanTarget::StandardError, 0.1))
                    .startsWith("The Single Release design has no two groups to split"));
    EXPECT_EQ(refusal(single, request(PlanRequest::Probability, "S1", PlanTarget::StandardError,
                                      0.1, "D1")),
              "\"D1\" is no probability of the Single Release design that can be solved for: "
              "those are S1, P1 and Lambda");
    Design btps = designOf(
        Design::BTPS,
        {{"Rc", "100"}, {"Rt", "100"}, {"Sc", "0.8"}, {"St", "0.7"}, {"Pa", "0.7"}, {"Pd", "0.5"}});
    PlanRequest huge = request(PlanRequest::Split, "T", PlanTarget::StandardError, 0.1);
    huge.total = 5000000000;
    EXPECT_TRUE(refusal(btps, huge)
                    .startsWith("A total of 5000000000 fish is beyond what Rc and "
                                "Rt can hold: at most "));
    Design ranged = single;
    ranged.inputs.field("R0").text = "100:1000";
    ranged.inputs.setRangeHolder("R0");
    EXPECT_TRUE(
        refusal(ranged, request(PlanRequest::ReleaseSize, "S1", PlanTarget::StandardError, 0.1))
            .startsWith("The release sizes are solved for, so R0 cannot hold the range"));

    // The total survival is a quantity of the single release even when its
    // report leaves it out; a target it cannot reach with any number of fish
    // is a row saying so.
    Design floor = single;
    floor.options.replicatesEnabled = true;
    floor.options.replicateCount = 2;
    floor.options.replicateParameter = "S1";
    floor.options.naturalVariance = "0.01";
    const Plan plan =
        planned(floor, request(PlanRequest::ReleaseSize, "S1", PlanTarget::StandardError, 0.05));
    ASSERT_EQ(plan.rows.size(), 1);
    EXPECT_FALSE(plan.rows[0].met);
    EXPECT_TRUE(plan.rows[0].message.startsWith("cannot be met with up to"));
    EXPECT_TRUE(planned(single, request(PlanRequest::ReleaseSize, "CompositeS",
                                        PlanTarget::StandardError, 0.05))
                    .rows.value(0)
                    .met);
}

// "N fish" counts every fish the design releases: a release size that follows
// another while linked releases as many as its leader, is listed and marked
// as linked, and "Use this" writes it too. Checked on every design, without
// and with each of its links.
TEST(Planner, ReleaseSizeAnswerCountsEveryFishTheDesignReleases)
{
    struct Case
    {
        Design design;
        QString quantity;
        // Follower and the field it follows.
        QList<QPair<QString, QString>> links;
    };
    const Design single = designOf(Design::SingleRelease,
                                   {{"R0", "1000"},
                                    {"S1", "0.8"},
                                    {"P1", "0.6"},
                                    {"D1", "0"},
                                    {"R1", "500"},
                                    {"S2", "0.9"},
                                    {"P2", "0.7"},
                                    {"D2", "0"},
                                    {"R2", "0"},
                                    {"Lambda", "0.6"}},
                                   3);
    const Design paired = designOf(Design::PairedRelease,
                                   {{"RT", "1000"},
                                    {"ST", "0.85"},
                                    {"RC", "1500"},
                                    {"SC", "0.92"},
                                    {"P1", "0.6"},
                                    {"D1", "0.2"},
                                    {"S2", "0.9"},
                                    {"P2", "0.7"},
                                    {"D2", "0.1"},
                                    {"Lambda", "0.5"}},
                                   2);
    const Design tirr = linked(
        designOf(Design::TIRR, {{"Rc", "1000"}, {"Rt", "2000"}, {"Sc*P", "0.3"}, {"T", "1.4"}}),
        {{TIRRInputs::useTheta, true}});
    const Design btps = linked(designOf(Design::BTPS, {{"Rc", "1500"},
                                                       {"Rt", "700"},
                                                       {"Sc", "0.8"},
                                                       {"St", "0.72"},
                                                       {"Pa", "0.7"},
                                                       {"Pd", "0.5"}}),
                               {{BTPSInputs::useSt, true}});
    const Design vwp = designOf(Design::VWP, {{"V1", "2000"},
                                              {"R2", "1000"},
                                              {"R3", "700"},
                                              {"SDam", "0.9"},
                                              {"SPrime11", "0.95"},
                                              {"S12", "0.9"},
                                              {"P1", "0.7"},
                                              {"P2", "0.6"},
                                              {"Lambda", "0.5"}});
    const QList<Case> cases = {
        {single, "S2", {}},
        {paired, "St", {}},
        {linked(paired, {{"linkReleases", true}}), "St", {{"RC", "RT"}}},
        {tirr, "T", {}},
        {linked(tirr, {{"linkReleases", true}}), "T", {{"Rt", "Rc"}}},
        {btps, "T", {}},
        {linked(btps, {{"linkReleases", true}}), "T", {{"Rt", "Rc"}}},
        {vwp, "Sdam", {}},
        {linked(vwp, {{"linkReleases", true}}), "Sdam", {{"R3", "R2"}}},
        {linked(vwp, {{"linkAllReleases", true}}), "Sdam", {{"R2", "V1"}, {"R3", "V1"}}},
    };
    for (const Case& c : cases) {
        const std::string label = designs::info(c.design.kind).name.toStdString() + " " +
                                  std::to_string(c.links.size()) + " links";
        const double cv = 0.03;
        const Plan plan = planned(c.design, request(PlanRequest::ReleaseSize, c.quantity,
                                                    PlanTarget::CoefficientOfVariation, cv));
        ASSERT_EQ(plan.rows.size(), 1) << label;
        const PlanRow& row = plan.rows[0];
        ASSERT_TRUE(row.met) << label;
        const Design answered = planner::withAnswer(c.design, row);
        long released = 0;
        for (const InputField& field : answered.inputs.fields()) {
            if (field.editType == RangeArithmetic::Integer)
                released += field.text.toLong();
        }
        EXPECT_TRUE(row.answer.startsWith(QStringLiteral("%1 fish: ").arg(released)))
            << label << ": " << row.answer.toStdString();
        for (const auto& [follower, leader] : c.links) {
            EXPECT_EQ(answered.inputs.field(follower).text, answered.inputs.field(leader).text)
                << label;
            EXPECT_TRUE(row.answer.contains(QStringLiteral("%1 = %2 (linked)")
                                                .arg(follower, answered.inputs.field(leader).text)))
                << label << ": " << row.answer.toStdString();
        }
        EXPECT_EQ(row.answer.count("(linked)"), c.links.size()) << label;
        EXPECT_LE(row.achieved, cv) << label;
        EXPECT_GT(row.shortMeasure, cv) << label;
        const long shortTotal = row.shortAnswer.section(' ', 0, 0).toLong();
        EXPECT_GT(shortTotal, released - 1 - long(c.links.size()) - 1) << label;
        EXPECT_LT(shortTotal, released) << label;
    }

    // The linked balloon-tag design releases m fish in each group, and
    // Var(T) = (a + b)/m: the fewest are 2·⌈(a + b)/se²⌉ fish.
    const double t = 0.9, sc = 0.8, pa = 0.7, se = 0.03;
    const double a = t * t * (1 - pa * sc) / (sc * pa), b = t * (1 - t * sc * pa) / (sc * pa);
    Design balloon = linked(designOf(Design::BTPS, {{"Rc", "1000"},
                                                    {"Rt", "1000"},
                                                    {"Sc", "0.8"},
                                                    {"T", "0.9"},
                                                    {"Pa", "0.7"},
                                                    {"Pd", "0.5"}}),
                            {{BTPSInputs::useSt, false}, {"linkReleases", true}});
    const Plan plan =
        planned(balloon, request(PlanRequest::ReleaseSize, "T", PlanTarget::StandardError, se));
    const int m = static_cast<int>(std::ceil((a + b) / (se * se)));
    EXPECT_EQ(plan.rows.value(0).answer,
              QStringLiteral("%1 fish: Rc = %2, Rt = %2 (linked)").arg(2 * m).arg(m));
    EXPECT_EQ(plan.rows.value(0).shortAnswer, QStringLiteral("%1 fish").arg(2 * m - 2));
}
