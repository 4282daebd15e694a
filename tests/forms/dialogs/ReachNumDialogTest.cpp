#include "forms/dialogs/ReachNumDialog.h"

#include "TestStore.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using quorvel::test::TestStore;

namespace {

QList<int> counts(const QSignalSpy& spy)
{
    QList<int> emitted;
    for (const QList<QVariant>& arguments : spy)
        emitted << arguments.at(0).toInt();
    return emitted;
}

} // namespace

TEST(ReachNumDialog, EachDesignKeepsItsCountAndTheFormHearsItOnce)
{
    TestStore store;
    store->setValue(QVSettingsKeys::SrNumReaches, 5);
    store->setValue(QVSettingsKeys::PrNumReaches, 1);
    ReachNumDialog dialog(store.get());
    EXPECT_EQ(dialog.reachNumSpin->value(), 5);
    EXPECT_EQ(dialog.reachNumSpin->minimum(), 2);
    EXPECT_EQ(dialog.reachNumSpin->maximum(), 99);
    QSignalSpy spy(&dialog, &ReachNumDialog::reachNumChanged);

    dialog.setStudyType(2);
    EXPECT_EQ(dialog.reachNumSpin->minimum(), 1);
    EXPECT_EQ(dialog.reachNumSpin->value(), 1);
    EXPECT_EQ(counts(spy), QList<int>{1});

    // Back to the single release: its count comes back alone, never the
    // minimum 2 on the way.
    spy.clear();
    dialog.setStudyType(1);
    EXPECT_EQ(counts(spy), QList<int>{5});
    EXPECT_EQ(store->value(QVSettingsKeys::SrNumReaches).toInt(), 5);
    EXPECT_EQ(store->value(QVSettingsKeys::PrNumReaches).toInt(), 1);

    // The user's count goes to the current design and to the form.
    dialog.setStudyType(2);
    spy.clear();
    dialog.reachNumSpin->stepUp();
    EXPECT_EQ(counts(spy), QList<int>{2});
    EXPECT_EQ(store->value(QVSettingsKeys::PrNumReaches).toInt(), 2);
    EXPECT_EQ(store->value(QVSettingsKeys::SrNumReaches).toInt(), 5);
}

TEST(ReachNumDialog, CountsBelowTheMinimumOrMissingAreRaisedAndStored)
{
    TestStore store;
    store->setValue(QVSettingsKeys::SrNumReaches, 1);
    ReachNumDialog dialog(store.get());
    EXPECT_EQ(dialog.reachNumSpin->value(), 2);
    EXPECT_EQ(store->value(QVSettingsKeys::SrNumReaches).toInt(), 2);

    ASSERT_FALSE(store->value(QVSettingsKeys::PrNumReaches).isValid());
    dialog.setStudyType(2);
    EXPECT_EQ(dialog.reachNumSpin->value(), 1);
    EXPECT_EQ(store->value(QVSettingsKeys::PrNumReaches).toInt(), 1);
}

TEST(ReachNumDialog, OtherDesignsLeaveTheCountUnboundAndSilent)
{
    TestStore store;
    ReachNumDialog dialog(store.get());
    QSignalSpy spy(&dialog, &ReachNumDialog::reachNumChanged);
    dialog.setStudyType(4);
    EXPECT_TRUE(spy.isEmpty());
    dialog.reachNumSpin->setValue(7);
    EXPECT_EQ(store->value(QVSettingsKeys::SrNumReaches).toInt(), 2);
    EXPECT_FALSE(store->value(QVSettingsKeys::PrNumReaches).isValid());
}
