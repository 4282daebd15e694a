#include "forms/core/ReleaseRecaptureInputs.h"
#include "forms/core/PairedReleaseInputs.h"
#include "forms/core/SingleReleaseInputs.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// A single-release design of four reaches (three panels) that may be computed.
StudyInputs singleDesign()
{
    StudyInputs inputs = SingleReleaseInputs::blankInputs(4);
    for (InputField field : inputs.fields())
        inputs.field(field.key).text = "0.5";
    for (const char* release : {"R0", "R1", "R2", "R3"})
        inputs.field(release).text = "100";
    return inputs;
}

StudyInputs pairedDesign()
{
    StudyInputs inputs = PairedReleaseInputs::blankInputs(3);
    for (InputField field : inputs.fields())
        inputs.field(field.key).text = "0.5";
    inputs.field("RT").text = "1000";
    inputs.field("RC").text = "1000";
    return inputs;
}

QStringList keys(const QList<FieldSpec>& table)
{
    QStringList result;
    for (const FieldSpec& spec : table)
        result << spec.key;
    return result;
}

} // namespace

TEST(ReleaseRecaptureInputs, ChoicesResolveToTheOwnerAtTheEndOfTheChain)
{
    StudyInputs inputs;
    // Panel 2 chooses panel 1, which chooses panel 0; panel 3's stored choice
    // is no panel of its own list, so it keeps its own parameter.
    inputs.choices[ReleaseRecaptureInputs::survivalOwner] = {0, 0, 1, 7, 3};
    EXPECT_EQ(ReleaseRecaptureInputs::owners(inputs, ReleaseRecaptureInputs::survivalOwner, 5),
              (QVector<int>{0, 0, 0, 3, 3}));
    EXPECT_EQ(ReleaseRecaptureInputs::owners(inputs, ReleaseRecaptureInputs::captureOwner, 2),
              (QVector<int>{0, 1}));
}

TEST(SingleReleaseInputs, TableAndSharingFollowThePanels)
{
    EXPECT_EQ(keys(SingleReleaseInputs::fieldTable(3)),
              (QStringList{"R0", "S1", "P1", "D1", "R1", "S2", "P2", "D2", "R2", "Lambda"}));
    const FieldSpec removal = SingleReleaseInputs::reachFields(1)[2];
    EXPECT_EQ(removal.settingsIndex, 1);
    EXPECT_EQ(removal.editMax, 1.0);
    EXPECT_EQ(SingleReleaseInputs::firstReleaseField().editMin, 1.0);

    StudyInputs inputs = singleDesign();
    inputs.field("S3").text = "0.5:0.9";
    inputs.setRangeHolder("S3");
    inputs.choices[ReleaseRecaptureInputs::survivalOwner] = {0, 1, 0};
    SingleReleaseInputs::applySwitches(inputs);
    EXPECT_FALSE(inputs.field("S3").enabled);
    EXPECT_TRUE(inputs.field("P3").enabled);
    // A shared field keeps no range.
    EXPECT_TRUE(inputs.rangeHolder().isEmpty());
}

TEST(SingleReleaseInputs, ProbabilitiesRemovalsAndReleasesAreCheckedInTheFormsOrder)
{
    const auto failing = [](const QString& key, const QString& text) {
        StudyInputs inputs = singleDesign();
        inputs.field(key).text = text;
        if (text.contains(':'))
            inputs.setRangeHolder(key);
        return SingleReleaseInputs::firstIllegal(inputs).name;
    };
    EXPECT_TRUE(failing("S1", "0.5").isNull());
    EXPECT_EQ(failing("S2", "0"), "S2");
    EXPECT_EQ(failing("P1", "1.01"), "P1");
    EXPECT_EQ(failing("Lambda", "0:1"), "Lambda");
    EXPECT_TRUE(failing("Lambda", "0.1:1").isNull());
    EXPECT_EQ(failing("D3", "1"), "D3");
    EXPECT_TRUE(failing("D3", "0").isNull());
    EXPECT_EQ(failing("R2", "-5"), "R2");

    // A shared field is not checked.
    StudyInputs shared = singleDesign();
    shared.field("P2").text = "7";
    shared.choices[ReleaseRecaptureInputs::captureOwner] = {0, 0, 2};
    SingleReleaseInputs::applySwitches(shared);
    EXPECT_TRUE(SingleReleaseInputs::firstIllegal(shared).isNull());

    // The release at the top counts at least one fish, the others may be 0.
    EXPECT_EQ(failing("R0", "0"), "R0");
    EXPECT_EQ(failing("R0", "0:10"), "R0");
    EXPECT_TRUE(failing("R1", "0").isNull());
}

TEST(PairedReleaseInputs, LinkDisablesRcAndRenamesRt)
{
    EXPECT_EQ(keys(PairedReleaseInputs::fieldTable(2)),
              (QStringList{"RT", "ST", "RC", "SC", "P1", "D1", "S2", "P2", "D2", "Lambda"}));
    StudyInputs inputs = pairedDesign();
    EXPECT_EQ(inputs.field("RT").name, "Rt");
    inputs.field("RC").text = "100:1000";
    inputs.setRangeHolder("RC");
    inputs.switches[PairedReleaseInputs::linkReleases] = true;
    PairedReleaseInputs::applySwitches(inputs);
    EXPECT_EQ(inputs.field("RT").name, "Rt-Rc");
    EXPECT_FALSE(inputs.field("RC").enabled);
    EXPECT_TRUE(inputs.rangeHolder().isEmpty());
}

TEST(PairedReleaseInputs, FirstReachSurvivalsAndReleasesAreRefusedOutsideTheirDomain)
{
    const auto failing = [](const QString& key, const QString& text, bool linked = false) {
        StudyInputs inputs = pairedDesign();
        inputs.switches[PairedReleaseInputs::linkReleases] = linked;
        PairedReleaseInputs::applySwitches(inputs);
        inputs.field(key).text = text;
        if (text.contains(':'))
            inputs.setRangeHolder(key);
        return PairedReleaseInputs::firstIllegal(inputs).name;
    };
    EXPECT_TRUE(failing("ST", "1.5").isNull());
    EXPECT_EQ(failing("ST", "0"), "St");
    EXPECT_EQ(failing("SC", "1.2"), "Sc");
    // Sc * St above 1 at the end of St's range; St is the one named.
    EXPECT_EQ(failing("ST", "1:2.5"), "St");
    EXPECT_TRUE(failing("SC", "0.1:0.9").isNull());
    StudyInputs ranged = pairedDesign();
    ranged.field("ST").text = "1.5";
    ranged.field("SC").text = "0.1:0.9";
    ranged.setRangeHolder("SC");
    EXPECT_EQ(PairedReleaseInputs::firstIllegal(ranged).text(),
              "Sc must keep the treatment's survival Sc*St at most 1");
    EXPECT_EQ(failing("D2", "1"), "D2");
    EXPECT_EQ(failing("P1", "0"), "P1");

    // Each group needs fish, or St cannot be estimated; while linked, Rc is Rt
    // and not checked.
    EXPECT_EQ(failing("RT", "0"), "Rt");
    EXPECT_EQ(failing("RC", "0"), "Rc");
    EXPECT_EQ(failing("RT", "0", true), "Rt-Rc");
    EXPECT_TRUE(failing("RC", "-3", true).isNull());
}

// The last reach panel is checked like the others.
TEST(PairedReleaseInputs, LastReachPanelIsChecked)
{
    for (const auto& [key, text, message] : {std::tuple{"P3", "0", "P3 must lie in (0, 1]"},
                                             std::tuple{"S3", "1.5", "S3 must lie in (0, 1]"},
                                             std::tuple{"D3", "1", "D3 must lie in [0, 1)"}}) {
        StudyInputs inputs = pairedDesign();
        inputs.field(key).text = text;
        EXPECT_EQ(PairedReleaseInputs::firstIllegal(inputs).text(), message);
    }
}
