#include "forms/range/RangeLineEdit.h"
#include "forms/range/RangeSpec.h"

#include "FieldActions.h"
#include "Tolerance.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

#include <functional>

using namespace quorvel::test;

namespace {

QString q(const char* text)
{
    return QString::fromLatin1(text);
}

// Three fields of one form sharing its range record; R0 is a release size.
class RangeFieldTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (RangeLineEdit* field : {survival, capture, release})
            spec.addEdit(field);
        release->setEditType(RangeLineEdit::Integer);
    }

    static void type(RangeLineEdit* field, const char* keys) { QTest::keyClicks(field, keys); }

    QList<double> typedReleaseRange(const char* keys)
    {
        release->clear();
        type(release, keys);
        return spec.points();
    }

    static QString thrownBy(const std::function<void()>& read)
    {
        try {
            read();
        } catch (const QString& message) {
            return message;
        }
        return QString();
    }

    QWidget form;
    RangeSpec spec;
    RangeLineEdit* survival = new RangeLineEdit(&form, "S1");
    RangeLineEdit* capture = new RangeLineEdit(&form, "P1");
    RangeLineEdit* release = new RangeLineEdit(&form, "R0");
};

} // namespace

TEST_F(RangeFieldTest, TypedRealRangeYieldsHundredPointsEndingAtItsEnd)
{
    type(survival, "0.5:");
    EXPECT_EQ(spec.end(), 0.0); // re-read after every key
    type(survival, "0.9");
    ASSERT_EQ(spec.numPoints(), 100);
    EXPECT_REL_NEAR(survival->valueAt(98), 0.892, 1e-12);
    EXPECT_EQ(survival->valueAt(99), 0.9);
    EXPECT_EQ(spec.toString('f', 2), q("0.50:0.90"));
    type(capture, "0.8");
    EXPECT_EQ(capture->valueAt(57), 0.8);
}

// The spacing rules themselves are RangeArithmetic's; the field hands its edit
// type on with the range.
TEST_F(RangeFieldTest, TypedIntegerRangeStepsByWholeNumbers)
{
    EXPECT_EQ(typedReleaseRange("10:20"), (QList<double>{10, 11, 12, 13, 14, 15, 16, 17, 18, 20}));
    EXPECT_TRUE(typedReleaseRange("20:10").isEmpty());
}

TEST_F(RangeFieldTest, ColonRulesOfTheKeys)
{
    QSignalSpy holderWarnings(survival, &RangeLineEdit::rangeAlreadySet);
    QSignalSpy otherWarnings(capture, &RangeLineEdit::rangeAlreadySet);
    type(survival, "5:9:");
    EXPECT_EQ(survival->text(), q("5:9"));
    // A colon in another field is not inserted, and the user is told why.
    type(capture, "0.8:");
    EXPECT_EQ(capture->text(), q("0.8"));
    ASSERT_EQ(otherWarnings.count(), 1);
    EXPECT_EQ(otherWarnings[0][0].toString(), q("Range already set for S1"));
    EXPECT_EQ(spec.end(), 9.0);

    survival->setName("Sc"); // the holder keeps the range under its new name
    type(survival, ":");
    ASSERT_EQ(holderWarnings.count(), 2);
    EXPECT_EQ(holderWarnings[0][0].toString(), q("Range already set for S1"));
    EXPECT_EQ(holderWarnings[1][0].toString(), q("Range already set for Sc"));

    QTest::keyClick(survival, Qt::Key_Left);
    QTest::keyClick(survival, Qt::Key_Backspace);
    EXPECT_EQ(survival->text(), q("59"));
    EXPECT_EQ(spec.numPoints(), 1);

    QSignalSpy refused(release, &RangeLineEdit::rangeAlreadySet);
    release->setRangeOk(false);
    type(release, "1:");
    ASSERT_EQ(refused.count(), 1);
    EXPECT_EQ(refused[0][0].toString(), q("Range not allowed for R0"));
    EXPECT_EQ(release->text(), q("1"));
}

TEST_F(RangeFieldTest, LettersAndSignsStayOut)
{
    type(capture, "a1-b.5e");
    capture->setRangeAllowed(false);
    type(capture, ":");
    EXPECT_EQ(capture->text(), q("1.5"));
    EXPECT_FALSE(capture->isRangeSet());

    RangeLineEdit loose(nullptr, "Variability"); // no form: a colon is plain text
    type(&loose, "1:2:3");
    EXPECT_EQ(loose.text(), q("1:2:3"));
}

// Keys that move, select, delete, copy, cut, undo or paste add no character
// of their own: they work as in any line edit, a paste going through the
// rules of inserted text.
TEST_F(RangeFieldTest, EditingKeysWorkAsInAnyLineEdit)
{
    type(capture, "1.5");
    QTest::keyClick(capture, Qt::Key_Home);
    QTest::keyClick(capture, Qt::Key_Delete);
    type(capture, "0");
    QTest::keyClick(capture, Qt::Key_End);
    type(capture, "7");
    EXPECT_EQ(capture->text(), q("0.57"));

    QTest::keyClick(capture, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(capture->selectedText(), q("0.57"));
    QTest::keyClick(capture, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), q("0.57"));
    QTest::keyClick(capture, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(capture->text(), QString());
    QTest::keyClick(capture, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(capture->text(), q("0.57"));

    // A cell copied from a spreadsheet ends with a line end.
    QGuiApplication::clipboard()->setText(q("0.85\n"));
    QTest::keyClick(survival, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(survival->text(), q("0.85"));
    survival->clear();
    QTest::keyClick(survival, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(survival->text(), q("0.85"));

    // A paste the keys would not take changes nothing.
    QGuiApplication::clipboard()->setText(q("0.7 kg"));
    QTest::keyClick(survival, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(survival->text(), q("0.85"));
    QGuiApplication::clipboard()->setText(q(" 100:1000\r\n"));
    QTest::keyClick(release, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(release->text(), q("100:1000"));
    EXPECT_EQ(spec.ownerName(), q("R0"));
    EXPECT_EQ(spec.end(), 1000.0);
}

TEST_F(RangeFieldTest, SetTextTakesAFreeRangeAndRefusesAHeldOne)
{
    survival->setText(q("0.5:0.9"));
    EXPECT_TRUE(survival->holdsRange());
    capture->setText(q("1:2"));
    EXPECT_EQ(capture->text(), QString());
    EXPECT_EQ(spec.ownerName(), q("S1"));
    EXPECT_EQ(spec.end(), 0.9);
    survival->setText(q("0.7"));
    EXPECT_FALSE(survival->isRangeSet());
}

// Dropping the refused characters of an inserted text would show a number the
// user never typed, so a text the keys would not take in full is refused whole.
TEST_F(RangeFieldTest, PastedDroppedOrComposedTextGetsInWholeOrNotAtAll)
{
    const auto paste = [](RangeLineEdit* field, const char* text) {
        QGuiApplication::clipboard()->setText(QString::fromUtf8(text));
        triggerMenuAction(field, "edit-paste");
    };
    QSignalSpy warnings(release, &RangeLineEdit::rangeAlreadySet);
    for (const char* refused :
         {"1:1000000000:1", "5:1:1", "1e308:1e309", "-0.5", "\u22120.5", "x1:2y:3"}) {
        paste(release, refused);
        EXPECT_EQ(release->text(), QString()) << refused;
        EXPECT_FALSE(release->isRangeSet()) << refused;
    }
    // A second colon is refused with the message the key gives; letters and
    // signs silently.
    ASSERT_EQ(warnings.count(), 3);
    for (const QList<QVariant>& warning : warnings)
        EXPECT_EQ(warning[0].toString(), q("Range already set for R0"));

    paste(release, "100:1000");
    EXPECT_EQ(release->text(), q("100:1000"));
    EXPECT_EQ(spec.end(), 1000.0);
    paste(capture, "2:3"); // R0 holds the range
    EXPECT_EQ(capture->text(), QString());
    capture->setText(q("0.5"));
    paste(capture, "25");
    EXPECT_EQ(capture->text(), q("0.525"));

    QSignalSpy refused(survival, &RangeLineEdit::rangeAlreadySet);
    survival->setRangeOk(false);
    paste(survival, "1:2");
    EXPECT_EQ(survival->text(), QString());
    ASSERT_EQ(refused.count(), 1);
    EXPECT_EQ(refused[0][0].toString(), q("Range not allowed for S1"));

    const auto drop = [](RangeLineEdit* field, const char* text) {
        QMimeData dragged;
        dragged.setText(q(text));
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &dragged, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(field, &enter);
        QDropEvent dropped(QPointF(2, 2), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(field, &dropped);
    };
    drop(survival, "-7:8 kg");
    EXPECT_EQ(survival->text(), QString());
    drop(survival, "7.5");
    EXPECT_EQ(survival->text(), q("7.5"));

    const auto compose = [](RangeLineEdit* field, const char* text) {
        QInputMethodEvent composed;
        composed.setCommitString(q(text));
        QCoreApplication::sendEvent(field, &composed);
    };
    compose(survival, "1e5");
    EXPECT_EQ(survival->text(), q("7.5"));
    compose(survival, "2");
    EXPECT_EQ(survival->text(), q("7.52"));
}

TEST_F(RangeFieldTest, RangeRecordFollowsEditsBesideTheKeys)
{
    type(survival, "5:9");
    survival->setSelection(1, 1);
    triggerMenuAction(survival, "edit-delete");
    EXPECT_EQ(survival->text(), q("59"));
    EXPECT_FALSE(survival->isRangeSet());
    triggerMenuAction(survival, "edit-undo");
    EXPECT_TRUE(survival->holdsRange());

    survival->setSelection(1, 1);
    survival->del();
    type(capture, "1:2");
    triggerMenuAction(survival, "edit-undo"); // the colon comes back while P1 holds the range
    EXPECT_EQ(survival->text(), q("59"));
    EXPECT_EQ(spec.ownerName(), q("P1"));

    // The settings store cuts every connection on binding and sets the text
    // past the range-aware setter.
    capture->disconnect();
    static_cast<QLineEdit*>(capture)->setText(q("3:6"));
    EXPECT_EQ(spec.start(), 3.0);
    EXPECT_EQ(spec.end(), 6.0);
    static_cast<QLineEdit*>(capture)->setText(q("7"));
    EXPECT_FALSE(capture->isRangeSet());
}

TEST_F(RangeFieldTest, ReadingEnforcesBoundsAndIntRange)
{
    release->setEditMin(1);
    release->setEditMax(5);
    release->setText(q("1"));
    EXPECT_EQ(release->valueAt(0), 1.0);
    release->setText(q("5"));
    EXPECT_EQ(thrownBy([this] { release->valueAt(0); }), q("Out of range value in R0: 5"));
    release->setText(q("0:4"));
    EXPECT_EQ(thrownBy([this] { release->valueAt(0); }), q("Out of range value in R0: 0"));
    EXPECT_EQ(release->valueAt(3), 4.0);

    release->setEditMax(2e10);
    release->setText(q("3000000000"));
    EXPECT_EQ(release->valueAt(0), 3e9);
    EXPECT_EQ(thrownBy([this] { release->intValueAt(0); }), q("Out of range value in R0: 3e+09"));
    release->setText(q("2147483647.9"));
    EXPECT_EQ(release->intValueAt(0), 2147483647);
    release->setText(q("nan"));
    EXPECT_FALSE(thrownBy([this] { release->valueAt(0); }).isEmpty());
}

TEST_F(RangeFieldTest, ValidationChecksEveryValueTheFieldDelivers)
{
    for (const char* noPoints : {"500:500", "1000:100", "5:"}) {
        release->setText(q(noPoints));
        EXPECT_FALSE(release->isAtLeast(0)) << noPoints;
    }
    release->setText(q("100:1000"));
    EXPECT_TRUE(release->isAtLeast(0));

    release->clear();
    survival->setText(q("0.9:0.5"));
    EXPECT_TRUE(survival->isWithin(0, 1));
    survival->setText(q("0.5:1.2"));
    EXPECT_FALSE(survival->isWithin(0, 1));
    EXPECT_FALSE(survival->isAtLeast(0.6));

    survival->setText(q("0:1")); // both bounds are inside
    EXPECT_TRUE(survival->isWithin(0, 1));
    EXPECT_FALSE(survival->isWithin(0, 0.99));
    survival->clear();

    // An Integer field delivers nothing beyond int, which the run could not read.
    release->setText(q("2147483647"));
    EXPECT_TRUE(release->isAtLeast(0));
    for (const char* huge : {"3000000000", "3000000000:3000000100", "1:3000000000"}) {
        release->setText(q(huge));
        EXPECT_FALSE(release->isAtLeast(0)) << huge;
        EXPECT_FALSE(release->isWithin(0, 1e10)) << huge;
    }
    release->clear();
    capture->setText(q("3000000000"));
    EXPECT_TRUE(capture->isAtLeast(0));

    capture->setText(q("0"));
    EXPECT_TRUE(capture->isAtLeast(0));
    EXPECT_TRUE(capture->isWithin(0, 0));
    capture->clear();
    EXPECT_FALSE(capture->isAtLeast(0)); // empty
    capture->setText(q("abc"));
    EXPECT_FALSE(capture->isWithin(-1, 1));
    capture->setText(q("0.3"));
    EXPECT_TRUE(capture->isWithin(0, 1));
    EXPECT_FALSE(capture->isWithin(0.5, 1));
}

TEST_F(RangeFieldTest, DisablingTheHolderResetsItToTheRangeStart)
{
    survival->setText(q("0.5:0.9"));
    capture->setRangeEnabled(false);
    EXPECT_TRUE(closeOpenMessageBoxes().isEmpty());
    survival->setRangeEnabled(false);
    EXPECT_EQ(closeOpenMessageBoxes(),
              QStringList{q("Disabling \"S1\" range. Re-setting to 0.5.")});
    EXPECT_EQ(survival->text(), q("0.5"));
    EXPECT_FALSE(survival->isRangeSet());
    EXPECT_FALSE(survival->isEnabled());

    release->setText(q("123456789:200000000"));
    release->setRangeEnabled(false);
    EXPECT_EQ(closeOpenMessageBoxes(),
              QStringList{q("Disabling \"R0\" range. Re-setting to 1.23457e+08.")});
    EXPECT_EQ(release->text(), q("123456789"));
}

TEST(RangeSpec, FieldsThatOutliveTheRecordNoLongerReadIt)
{
    RangeLineEdit field(nullptr, "S1");
    {
        RangeSpec record;
        record.addEdit(&field);
        field.setText(q("0.5:0.9"));
        ASSERT_TRUE(field.holdsRange());
    }
    EXPECT_EQ(field.rangeSpec(), nullptr);
    EXPECT_FALSE(field.holdsRange());
    field.setText(q("0.7"));
    EXPECT_EQ(field.valueAt(0), 0.7);
}
