#include "forms/StudyWidget.h"

#include "ModalBoxAnswerer.h"
#include "TestStore.h"
#include "forms/range/RangeLineEdit.h"
#include "forms/range/RangeSpec.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>

using quorvel::test::ModalBoxAnswerer;
using quorvel::test::TestStore;

namespace {

// A form of two fields: a release size under a plain key and a probability
// under entry 2 of a per-reach key. It refuses a negative release size.
class TwoFieldForm : public StudyWidget
{
public:
    explicit TwoFieldForm(ryn::RynSettings* settings)
        : StudyWidget(settings)
        , release(new RangeLineEdit(this))
        , survival(new RangeLineEdit(this))
    {
        registerField(release, {"Rc", QVSettingsKeys::BtpsRc, -1, RangeArithmetic::Integer});
        registerEdit(survival, "S3", QVSettingsKeys::SrS, 2);
    }

    bool validate() override
    {
        return passes(firstFailingField(inputs(), {{"Rc", Interval::atLeast(0)}}), "Design");
    }

    RangeLineEdit* release;
    RangeLineEdit* survival;
};

} // namespace

TEST(StudyWidget, RegisteredFieldsLoadTheirStoredTextsAndTheRangeComesBack)
{
    TestStore store;
    store->setValue(QVSettingsKeys::BtpsRc, "100:1000");
    store->setArrayValue(QVSettingsKeys::SrS, 2, "0.8");

    TwoFieldForm form(store.get());
    EXPECT_EQ(form.release->text(), "100:1000");
    EXPECT_EQ(form.survival->text(), "0.8");
    EXPECT_EQ(form.rangeSpec()->numPoints(), 90);

    QTest::keyClicks(form.survival, "5");
    EXPECT_EQ(store->arrayValue(QVSettingsKeys::SrS, 2).toString(), "0.85");
}

TEST(StudyWidget, InputsCarryKeysCurrentNamesStatesAndTheHolder)
{
    TestStore store;
    store->setValue(QVSettingsKeys::BtpsRc, "100:1000");
    TwoFieldForm form(store.get());
    form.release->setName("Rc-Rt");
    form.survival->setEnabled(false);
    form.setEnabled(false); // a disabled window does not disable its fields' inputs

    const StudyInputs inputs = form.inputs();
    ASSERT_EQ(inputs.fields().size(), 2);
    EXPECT_EQ(inputs.rangeHolder(), "Rc");
    EXPECT_EQ(inputs.rangeName(), "Rc-Rt");
    EXPECT_EQ(inputs.field("Rc").editType, RangeArithmetic::Integer);
    EXPECT_TRUE(inputs.field("Rc").enabled);
    EXPECT_FALSE(inputs.field("S3").enabled);
    EXPECT_EQ(inputs.numPoints(), form.rangeSpec()->numPoints());
}

TEST(StudyWidget, RemovedFieldReleasesTheRangeAndStoresNothingMore)
{
    TestStore store;
    store->setValue(QVSettingsKeys::BtpsRc, "100:1000");
    TwoFieldForm form(store.get());

    form.removeEdit(form.release);
    EXPECT_TRUE(form.rangeSpec()->ownerName().isNull());
    EXPECT_FALSE(form.rangeSpec()->edits().contains(form.release));
    EXPECT_FALSE(form.inputs().hasField("Rc"));
    form.release->setText("7");
    EXPECT_EQ(store->value(QVSettingsKeys::BtpsRc).toString(), "100:1000");
}

TEST(StudyWidget, FailedCheckNamesTheRuleAndLeavesTheFieldFocusedAndSelected)
{
    TestStore store;
    store->setValue(QVSettingsKeys::BtpsRc, "-5");
    TwoFieldForm form(store.get());
    form.show();
    form.survival->setFocus();
    ModalBoxAnswerer answerer;

    EXPECT_FALSE(form.validate());
    EXPECT_EQ(answerer.seen,
              QStringList{"Design|Rc must be a whole number of at least 0|critical"});
    EXPECT_EQ(form.focusWidget(), form.release);
    EXPECT_EQ(form.release->selectedText(), "-5");
    form.release->setText("5");
    EXPECT_TRUE(form.validate());
    EXPECT_EQ(answerer.seen.size(), 1);

    // A range in a field the design does not check must still give points.
    form.survival->setEditType(RangeLineEdit::Integer);
    form.survival->setText("5:");
    ASSERT_EQ(form.rangeSpec()->ownerName(), "S3");
    EXPECT_FALSE(form.validate());
    EXPECT_EQ(answerer.seen.last(), "Design|S3 holds the range 5:, which has no points: its end "
                                    "must lie above its start|critical");
    EXPECT_EQ(form.focusWidget(), form.survival);
    EXPECT_EQ(form.survival->selectedText(), "5:");
}
