#include "forms/range/RangeLineEdit.h"
#include "forms/range/RangeSpec.h"

#include "FieldActions.h"
#include "RangePoints.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QSet>
#include <QTest>

#include <random>

using namespace quorvel::test;

namespace {

// After any edit at most one field holds the range, the holder shows it, and
// only text the program set past the range rules (plainly, or while the field
// was disabled) shows a colon in a field that does not hold the range.
void expectConsistentForm(const RangeSpec& spec, QSet<const RangeLineEdit*>& programSet,
                          const std::string& context)
{
    int holders = 0;
    for (const RangeLineEdit* field : spec.edits()) {
        const QString text = field->text();
        for (QChar c : text)
            ASSERT_TRUE(numberCharacters.contains(c)) << context << ": " << text.toStdString();
        if (spec.isOwner(field->name())) {
            ++holders;
            const QStringList parts = text.split(QLatin1Char(':'));
            EXPECT_GE(parts.size(), 2) << context;
            if (parts.size() == 2) {
                EXPECT_EQ(spec.start(), parts[0].toDouble()) << context;
                EXPECT_EQ(spec.end(), parts[1].toDouble()) << context;
            }
        } else if (!text.contains(QLatin1Char(':'))) {
            programSet.remove(field);
        } else {
            EXPECT_TRUE(programSet.contains(field)) << context << ": " << text.toStdString();
        }
    }
    EXPECT_EQ(holders, spec.ownerName().isNull() ? 0 : 1) << context;
    expectPointsInsideRange(spec, context);
}

} // namespace

TEST(RangeFuzz, RandomEditingKeepsTheRangeRecordConsistent)
{
    QWidget form;
    RangeSpec spec;
    QList<RangeLineEdit*> fields;
    for (const char* name : {"S1", "P1", "R0", "D1"}) {
        fields << new RangeLineEdit(&form, name);
        spec.addEdit(fields.last());
    }
    fields[2]->setEditType(RangeLineEdit::Integer);
    fields[3]->setRangeOk(false);

    const Qt::Key keys[] = {Qt::Key_0,    Qt::Key_5,     Qt::Key_Period, Qt::Key_Colon,
                            Qt::Key_Left, Qt::Key_Right, Qt::Key_Delete, Qt::Key_Backspace,
                            Qt::Key_Home, Qt::Key_Minus, Qt::Key_A};
    QSet<const RangeLineEdit*> programSet;
    std::mt19937 rng(20240613);
    for (int step = 0; step < 10000; ++step) {
        RangeLineEdit* field = fields[std::uniform_int_distribution<int>(0, 3)(rng)];
        const int op = std::uniform_int_distribution<int>(0, 19)(rng);
        if (op < 12) {
            QTest::keyClick(field, keys[std::uniform_int_distribution<int>(0, 10)(rng)]);
        } else if (op < 14) {
            programSet.insert(field);
            const QString text = randomText(rng, numberCharacters, 10);
            op == 12 ? field->setText(text) : field->QLineEdit::setText(text);
        } else if (op == 14) {
            const QString pasted =
                randomText(rng, step % 2 ? numberCharacters : "0123456789.:ab -", 8);
            QGuiApplication::clipboard()->setText(pasted);
            const QString before = field->text();
            const bool replacing = field->hasSelectedText();
            const int at = replacing ? field->selectionStart() : field->cursorPosition();
            const int replaced = replacing ? field->selectedText().size() : 0;
            triggerMenuAction(field, "edit-paste");
            // The paste gets in without surrounding blanks or not at all.
            const QString inserted = before.left(at) + pasted.trimmed() + before.mid(at + replaced);
            EXPECT_TRUE(field->text() == before || field->text() == inserted)
                << "step " << step << ": " << before.toStdString() << " + " << pasted.toStdString()
                << " -> " << field->text().toStdString();
        } else if (op < 17) {
            triggerMenuAction(field, op == 15 ? "edit-undo" : "edit-redo");
        } else if (op == 17) {
            field->setSelection(0, std::uniform_int_distribution<int>(0, 4)(rng));
            QTest::keyClick(field, Qt::Key_Backspace);
        } else {
            field->setRangeEnabled(op == 18);
            closeOpenMessageBoxes();
        }
        expectConsistentForm(spec, programSet,
                             "step " + std::to_string(step) + ", operation " + std::to_string(op) +
                                 " on " + field->name().toStdString());
        if (::testing::Test::HasFailure())
            return;
    }
}
