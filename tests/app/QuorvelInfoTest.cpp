#include "app/QuorvelInfo.h"

#include "TestStore.h"

#include <gtest/gtest.h>

using quorvel::test::TestStore;

TEST(QuorvelInfo, ShowsTheStoredVersionAndClosesWithOk)
{
    TestStore store;
    {
        QuorvelInfo info(store.get());
        EXPECT_EQ(info.windowTitle(), "Quorvel Info");
        EXPECT_EQ(info.TextLabel1->text(), "Quorvel");
        EXPECT_EQ(info.versionLabel_->text(), "2.0.9");
    }

    store->setValue(QVSettingsKeys::ProgramVersion, "2.1.0");
    QuorvelInfo info(store.get());
    EXPECT_EQ(info.versionLabel_->text(), "2.1.0");
    info.show();
    info.buttonOk->click();
    EXPECT_EQ(info.result(), QDialog::Accepted);
    EXPECT_FALSE(info.isVisible());
}
