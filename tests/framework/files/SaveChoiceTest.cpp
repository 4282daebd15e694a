#include "framework/files/SaveChoice.h"

#include <gtest/gtest.h>

using ryn::SaveChoice;

namespace {

const QStringList reportFilters = {"HTML as rich text (*.rtf)", "HTML (*.html *.htm)",
                                   "OpenDocument Text (*.odt)", "PDF (*.pdf)"};

} // namespace

// A name without an extension gets the chosen filter's first; one with an
// offered extension is written as that type, one with any other as the
// chosen type under its own name.
TEST(SaveChoice, ANameWithoutExtensionGetsTheChosenTypes)
{
    SaveChoice choice =
        SaveChoice::of("/d/mypaired", {"Quorvel designs (*.json)"}, "Quorvel designs (*.json)");
    EXPECT_EQ(choice.path, "/d/mypaired.json");
    EXPECT_EQ(choice.type, 0);

    choice = SaveChoice::of("/d/report", reportFilters, "HTML (*.html *.htm)");
    EXPECT_EQ(choice.path, "/d/report.html");
    EXPECT_EQ(choice.type, 1);
    // A trailing dot is not doubled; an unknown filter counts as the first.
    EXPECT_EQ(SaveChoice::of("/d/report.", reportFilters, "PDF (*.pdf)").path, "/d/report.pdf");
    choice = SaveChoice::of("/d/report", reportFilters, "Word (*.doc)");
    EXPECT_EQ(choice.path, "/d/report.rtf");
    EXPECT_EQ(choice.type, 0);

    // The second extension of a filter, in any case, stays.
    choice = SaveChoice::of("/d/page.HTM", reportFilters, "HTML (*.html *.htm)");
    EXPECT_EQ(choice.path, "/d/page.HTM");
    EXPECT_EQ(choice.type, 1);
    choice = SaveChoice::of("/d/report.odt", reportFilters, "PDF (*.pdf)");
    EXPECT_EQ(choice.path, "/d/report.odt");
    EXPECT_EQ(choice.type, 2);
    choice = SaveChoice::of("/d/report.txt", reportFilters, "PDF (*.pdf)");
    EXPECT_EQ(choice.path, "/d/report.txt");
    EXPECT_EQ(choice.type, 3);
    // A dot in a folder's name is no extension.
    EXPECT_EQ(SaveChoice::of("/d.v2/results", {"CSV Files (*.csv)"}, QString()).path,
              "/d.v2/results.csv");
}

TEST(SaveChoice, ProposalsAndNamesMadeOfTitles)
{
    EXPECT_EQ(SaveChoice::extensionsOf("HTML (*.html *.htm)"), (QStringList{"html", "htm"}));
    EXPECT_TRUE(SaveChoice::extensionsOf("All files (*)").isEmpty());
    EXPECT_EQ(SaveChoice::proposal("paired", "PDF (*.pdf)"), "paired.pdf");
    EXPECT_EQ(SaveChoice::proposal("paired", "All files (*)"), "paired");
    EXPECT_EQ(SaveChoice::fileNameOf("Single Release"), "single-release");
    EXPECT_EQ(SaveChoice::fileNameOf("Balloon-Tag Passage Survival Estimate"),
              "balloon-tag-passage-survival-estimate");
    EXPECT_EQ(SaveChoice::fileNameOf(" Virtual with a Paired Release! "),
              "virtual-with-a-paired-release");
    EXPECT_EQ(SaveChoice::fileNameOf("Rt = Rc"), "rt-rc");
}
