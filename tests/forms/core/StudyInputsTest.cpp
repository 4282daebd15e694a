#include "forms/core/StudyInputs.h"

#include "Tolerance.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

namespace {

InputField field(const QString& key, const QString& text,
                 RangeArithmetic::EditType type = RangeArithmetic::Real)
{
    InputField f;
    f.key = key;
    f.name = key;
    f.text = text;
    f.editType = type;
    return f;
}

// Two release sizes and a probability, as a form gives them.
StudyInputs releaseInputs(const QString& rc, const QString& rt, const QString& p)
{
    StudyInputs inputs;
    inputs.addField(field("Rc", rc, RangeArithmetic::Integer));
    inputs.addField(field("Rt", rt, RangeArithmetic::Integer));
    inputs.addField(field("P", p));
    return inputs;
}

} // namespace

TEST(StudyInputs, HolderDeliversRangePointsOthersTheirSingleValue)
{
    StudyInputs inputs = releaseInputs("100:1000", "500", "0.5");
    inputs.setRangeHolder("Rc");
    inputs.field("Rc").name = "Rc-Rt";

    EXPECT_EQ(inputs.numPoints(), 90);
    EXPECT_EQ(inputs.rangeName(), "Rc-Rt");
    EXPECT_EQ(inputs.intValueAt("Rc", 1), 110);
    EXPECT_EQ(inputs.intValueAt("Rc", 89), 1000);
    EXPECT_EQ(inputs.intValueAt("Rt", 89), 500);
    EXPECT_REL_NEAR(inputs.pointAt(1), 110.0, 1e-12);

    const StudyInputs single = releaseInputs("100", "500", "0.5");
    EXPECT_EQ(single.numPoints(), 1);
    EXPECT_TRUE(single.rangeName().isNull());
    EXPECT_REL_NEAR(single.valueAt("P", 0), 0.5, 1e-12);
}

TEST(StudyInputs, ReadsOutsideTheBoundsThrowTheFieldsMessageUnderItsCurrentName)
{
    StudyInputs inputs = releaseInputs("3000000000", "5", "x");
    inputs.field("Rc").name = "Rc-Rt";
    inputs.field("Rt").editMin = 10;

    try {
        inputs.intValueAt("Rc", 0);
        FAIL() << "a value beyond int was read";
    } catch (const QString& message) {
        EXPECT_EQ(message, "Out of range value in Rc-Rt: 3e+09");
    }
    EXPECT_THROW(inputs.valueAt("Rt", 0), QString);
    // Text that is not a number reads as 0, inside the default bounds.
    EXPECT_EQ(inputs.valueAt("P", 0), 0.0);
    EXPECT_THROW(inputs.valueAt("Q", 0), std::invalid_argument);
}

TEST(StudyInputs, OpenChecksRefuseTheirOpenBoundForSingleValuesAndRanges)
{
    StudyInputs inputs = releaseInputs("0", "1", "0:1");
    inputs.setRangeHolder("P");
    EXPECT_FALSE(inputs.delivers("Rc", Interval::halfOpen(0, 1)));
    EXPECT_TRUE(inputs.delivers("Rt", Interval::halfOpen(0, 1)));
    EXPECT_FALSE(inputs.delivers("P", Interval::halfOpen(0, 1)));
    EXPECT_TRUE(inputs.delivers("P", Interval::closed(0, 1)));
    inputs.field("P").text = "0.1:1";
    EXPECT_TRUE(inputs.delivers("P", Interval::halfOpen(0, 1)));
    inputs.field("P").text = "0.1:1.2";
    EXPECT_FALSE(inputs.delivers("P", Interval::halfOpen(0, 1)));

    // A proportion removed may be 0 but not 1.
    inputs.field("P").text = "0:0.99";
    EXPECT_TRUE(inputs.delivers("P", Interval::closedOpen(0, 1)));
    inputs.field("P").text = "0:1";
    EXPECT_FALSE(inputs.delivers("P", Interval::closedOpen(0, 1)));
    EXPECT_TRUE(inputs.delivers("Rc", Interval::closedOpen(0, 1)));
}

TEST(StudyInputs, FirstFailingFieldFollowsTheOrderAndSkipsDisabledFields)
{
    StudyInputs inputs = releaseInputs("-1", "-1", "2");
    inputs.field("Rc").enabled = false;
    inputs.field("Rt").name = "Rt (linked)";
    const QList<FieldCheck> checks = {
        {"Rc", Interval::atLeast(0)}, {"Rt", Interval::atLeast(0)}, {"P", Interval::closed(0, 1)}};

    EXPECT_EQ(firstFailingField(inputs, checks).text(),
              "Rt (linked) must be a whole number of at least 0");
    inputs.field("Rt").text = "10";
    EXPECT_EQ(firstFailingField(inputs, checks).key, "P");
    inputs.field("P").text = "1";
    EXPECT_TRUE(firstFailingField(inputs, checks).isNull());
    EXPECT_THROW(firstFailingField(inputs, {{"Missing", Interval::atLeast(0)}}),
                 std::invalid_argument);
}

TEST(StudyInputs, RefusalsNameTheFieldAndTheRuleItBroke)
{
    const auto refused = [](const QString& rc, const QString& p, const Interval& bounds) {
        StudyInputs inputs = releaseInputs(rc, "10", p);
        if (rc.contains(':'))
            inputs.setRangeHolder("Rc");
        if (p.contains(':'))
            inputs.setRangeHolder("P");
        return refusedField(
                   inputs, firstFailingField(inputs, {{"Rc", Interval::atLeast(1)}, {"P", bounds}}))
            .text();
    };
    const Interval probability = Interval::halfOpen(0, 1);
    EXPECT_EQ(refused("10", "", probability), "P is empty: it must lie in (0, 1]");
    EXPECT_EQ(refused("10", " \n", probability), "P is empty: it must lie in (0, 1]");
    EXPECT_EQ(refused("10", "0.850.7", probability),
              "P holds \"0.850.7\", not a number: it must lie in (0, 1]");
    EXPECT_EQ(refused("10", "0", probability), "P must lie in (0, 1]");
    EXPECT_EQ(refused("10", "1.5", probability), "P must lie in (0, 1]");
    EXPECT_TRUE(refused("10", "1", probability).isNull());
    EXPECT_EQ(refused("10", "0:1", probability), "P must lie in (0, 1] at every point");
    EXPECT_EQ(refused("10", "1", Interval::closedOpen(0, 1)), "P must lie in [0, 1)");
    EXPECT_EQ(refused("10", "0", Interval::halfOpen(0, std::numeric_limits<double>::infinity())),
              "P must be above 0");

    // Release sizes count whole fish.
    EXPECT_EQ(refused("0", "0.5", probability), "Rc must be a whole number of at least 1");
    EXPECT_EQ(refused("100.5", "0.5", probability), "Rc must be a whole number of at least 1");
    EXPECT_TRUE(refused("100.0", "0.5", probability).isNull());
    EXPECT_EQ(refused("3000000000", "0.5", probability),
              "Rc must be a whole number of at least 1, at most 2147483647");
    EXPECT_EQ(refused("500:500", "0.5", probability),
              "Rc holds the range 500:500, which has no points: its end must lie above its start");
    EXPECT_EQ(refused("5:", "0.5", probability),
              "Rc holds \"5:\", not a range start:end of two numbers");
}

TEST(StudyInputs, RefusesDuplicateFieldsAndAHolderThatIsNoField)
{
    StudyInputs inputs = releaseInputs("1", "2", "0.5");
    EXPECT_THROW(inputs.addField(field("Rc", "3")), std::invalid_argument);
    EXPECT_THROW(inputs.setRangeHolder("Sc"), std::invalid_argument);
    EXPECT_TRUE(inputs.rangeHolder().isEmpty());
}

TEST(StudyInputs, DisablingTheHolderReleasesTheRangeAtItsStartAsTyped)
{
    StudyInputs inputs = releaseInputs("123456789:200000000", "500", "0.5:0.9");
    inputs.setRangeHolder("Rc");
    inputs.disableField("P");
    EXPECT_FALSE(inputs.field("P").enabled);
    EXPECT_EQ(inputs.rangeHolder(), "Rc");

    inputs.disableField("Rc");
    EXPECT_TRUE(inputs.rangeHolder().isEmpty());
    EXPECT_EQ(inputs.field("Rc").text, "123456789");
    EXPECT_EQ(inputs.numPoints(), 1);
    EXPECT_EQ(fieldrules::rangeStartText(":5"), "0");
}
