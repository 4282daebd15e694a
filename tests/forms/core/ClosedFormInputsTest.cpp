#include "forms/core/BTPSInputs.h"
#include "forms/core/TIRRInputs.h"
#include "forms/core/VWPInputs.h"

#include <gtest/gtest.h>

#include <QMap>

#include <tuple>

namespace {

// A design's blank inputs with the given texts and switches, the switches
// applied as the form applies them.
StudyInputs filled(StudyInputs inputs, const QMap<QString, QString>& texts,
                   const QMap<QString, bool>& switches, void (*applySwitches)(StudyInputs&),
                   const QString& holder = QString())
{
    for (auto it = texts.begin(); it != texts.end(); ++it)
        inputs.field(it.key()).text = it.value();
    inputs.setRangeHolder(holder);
    for (auto it = switches.begin(); it != switches.end(); ++it)
        inputs.switches[it.key()] = it.value();
    applySwitches(inputs);
    return inputs;
}

const QMap<QString, QString> btpsValid = {{"Rc", "1000"}, {"Rt", "1000"}, {"Sc", "0.8"},
                                          {"St", "0.72"}, {"T", "0.9"},   {"Pa", "0.5"},
                                          {"Pd", "0.3"}};

QString btpsIllegal(QMap<QString, QString> changes, bool useSt, bool linked = false)
{
    QMap<QString, QString> texts = btpsValid;
    for (auto it = changes.begin(); it != changes.end(); ++it)
        texts[it.key()] = it.value();
    return BTPSInputs::firstIllegal(
               filled(BTPSInputs::blankInputs(), texts,
                      {{BTPSInputs::useSt, useSt}, {BTPSInputs::linkReleases, linked}},
                      BTPSInputs::applySwitches))
        .name;
}

QString tirrIllegal(const QMap<QString, QString>& texts, bool useTheta,
                    const QString& holder = QString())
{
    return TIRRInputs::firstIllegal(filled(TIRRInputs::blankInputs(), texts,
                                           {{TIRRInputs::useTheta, useTheta}},
                                           TIRRInputs::applySwitches, holder))
        .name;
}

} // namespace

TEST(BTPSInputs, RefusesWhatWouldDivideByZeroOrGiveNegativeVariancesInTheFormsOrder)
{
    EXPECT_TRUE(btpsIllegal({}, true).isNull());
    EXPECT_TRUE(btpsIllegal({}, false).isNull());
    EXPECT_EQ(btpsIllegal({{"Rc", "0"}, {"Sc", "0"}}, true), "Rc");
    EXPECT_EQ(btpsIllegal({{"Rt", "0.5"}}, true), "Rt");
    EXPECT_TRUE(btpsIllegal({{"Rt", "0"}}, true, true).isNull());
    // Sc and Pa are checked in both modes and must not be 0.
    EXPECT_EQ(btpsIllegal({{"Sc", "0"}, {"Pa", "0"}}, false), "Sc");
    EXPECT_EQ(btpsIllegal({{"Sc", "3"}}, false), "Sc");
    EXPECT_EQ(btpsIllegal({{"Pa", "0"}}, false), "Pa");
    // The mode not chosen is not checked.
    EXPECT_EQ(btpsIllegal({{"St", "1.5"}, {"Pd", "2"}}, true), "St");
    EXPECT_EQ(btpsIllegal({{"St", "1.5"}, {"Pd", "2"}}, false), "Pd");
    EXPECT_EQ(btpsIllegal({{"T", "1.5"}}, false), "T");
}

TEST(BTPSInputs, SwitchesRenameTheLinkedReleaseAndReleaseARangeInAFieldTurnedOff)
{
    const StudyInputs inputs =
        filled(BTPSInputs::blankInputs(), {{"St", "0.5:0.9"}},
               {{BTPSInputs::useSt, false}, {BTPSInputs::linkReleases, true}},
               BTPSInputs::applySwitches, "St");
    EXPECT_EQ(inputs.field("Rc").name, "Rc-Rt");
    EXPECT_FALSE(inputs.field("Rt").enabled);
    EXPECT_FALSE(inputs.field("St").enabled);
    EXPECT_TRUE(inputs.field("T").enabled);
    EXPECT_TRUE(inputs.rangeHolder().isEmpty());
    EXPECT_EQ(inputs.field("St").text, "0.5");
    EXPECT_EQ(BTPSInputs::fieldTable().size(), 7);
}

TEST(TIRRInputs, ReturnRateOfTreatmentFishMustNotExceedOneAtAnyPoint)
{
    const QMap<QString, QString> theta = {
        {"Rc", "500"}, {"Rt", "500"}, {"Sc*P", "0.5"}, {"T", "0.8"}};
    EXPECT_TRUE(tirrIllegal(theta, true).isNull());

    QMap<QString, QString> texts = theta;
    texts["T"] = "0.5:2.5";
    EXPECT_EQ(tirrIllegal(texts, true, "T"), "T");
    texts["T"] = "2.5";
    EXPECT_EQ(tirrIllegal(texts, true), "T");
    texts["T"] = "0";
    EXPECT_EQ(tirrIllegal(texts, true), "T");
    texts["T"] = "0.8";
    texts["Sc*P"] = "0";
    EXPECT_EQ(tirrIllegal(texts, true), "Sc*P");

    // Sc and P: the product is checked, named after its ranged factor; the
    // field of the other mode is not checked.
    QMap<QString, QString> derived = {{"Rc", "500"},  {"Rt", "500"}, {"Sc", "0.9"},
                                      {"P", "0.5:1"}, {"Sc*P", "7"}, {"T", "1.5"}};
    EXPECT_EQ(tirrIllegal(derived, false, "P"), "P");
    derived["T"] = "1.1";
    EXPECT_TRUE(tirrIllegal(derived, false, "P").isNull());
    derived["Sc"] = "0";
    EXPECT_EQ(tirrIllegal(derived, false, "P"), "Sc");
}

// A treatment fish may return for certain: Sc*P*T of exactly 1 is allowed.
TEST(TIRRInputs, ReturnRateOfExactlyOneIsAllowedAndJustAboveItRefused)
{
    QMap<QString, QString> theta = {{"Rc", "500"}, {"Rt", "500"}, {"Sc*P", "0.5"}, {"T", "2"}};
    EXPECT_TRUE(tirrIllegal(theta, true).isNull());
    theta["T"] = "2.002";
    const StudyInputs refused = filled(TIRRInputs::blankInputs(), theta,
                                       {{TIRRInputs::useTheta, true}}, TIRRInputs::applySwitches);
    EXPECT_EQ(TIRRInputs::firstIllegal(refused).text(),
              "T must keep the treatment's return Sc*P*T at most 1");

    const QMap<QString, QString> factors = {
        {"Rc", "500"}, {"Rt", "500"}, {"Sc", "1"}, {"P", "0.5"}, {"T", "2"}};
    EXPECT_TRUE(tirrIllegal(factors, false).isNull());
}

TEST(VWPInputs, RefusesEmptyReleasesAndZeroProbabilitiesAndSparesTheLinkedReleases)
{
    QMap<QString, QString> texts = {{"V1", "500"}, {"R2", "-1"},        {"R3", "-1"},
                                    {"SDam", "1"}, {"SPrime11", "0.8"}, {"S12", "0.9"},
                                    {"P1", "0.7"}, {"P2", "0.6"},       {"Lambda", "0.5"}};
    const StudyInputs linked =
        filled(VWPInputs::blankInputs(), texts,
               {{VWPInputs::linkAllReleases, true}, {VWPInputs::linkReleases, true}},
               VWPInputs::applySwitches);
    EXPECT_TRUE(VWPInputs::firstIllegal(linked).isNull());
    EXPECT_EQ(linked.field("V1").name, "V1-R2-R3");
    EXPECT_EQ(linked.field("R2").name, "R2");
    EXPECT_FALSE(linked.switches.value(VWPInputs::linkReleases));

    const StudyInputs r2r3 = filled(VWPInputs::blankInputs(), texts,
                                    {{VWPInputs::linkReleases, true}}, VWPInputs::applySwitches);
    EXPECT_EQ(VWPInputs::firstIllegal(r2r3).name, "R2-R3");
    EXPECT_FALSE(r2r3.field("R3").enabled);
    texts["R2"] = "5";
    for (const auto& [key, text, message] :
         {std::tuple{"Lambda", "1.01", "Lambda must lie in (0, 1]"},
          std::tuple{"SPrime11", "0", "SPrime11 must lie in (0, 1]"},
          std::tuple{"V1", "0", "V1 must be a whole number of at least 1"}}) {
        QMap<QString, QString> changed = texts;
        changed[key] = text;
        EXPECT_EQ(VWPInputs::firstIllegal(filled(VWPInputs::blankInputs(), changed,
                                                 {{VWPInputs::linkReleases, true}},
                                                 VWPInputs::applySwitches))
                      .text(),
                  message);
    }
}
