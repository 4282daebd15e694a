#include "framework/navigation/NavPanelModel.h"
#include "framework/navigation/NavPanelItem.h"

#include <gtest/gtest.h>

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPixmap>

using ryn::NavPanelItem;
using ryn::NavPanelModel;

namespace {

// A root with three top-level entries, the second of which has one child.
struct Tree
{
    NavPanelModel model;
    NavPanelItem* root = model.addItem("root");
    NavPanelItem* study = model.addItem("Study Design Types", root);
    NavPanelItem* run = model.addItem("Run", root);
    NavPanelItem* notes = model.addItem("Notes", root);
    NavPanelItem* single = model.addItem("Single Release", run);

    QVariant data(NavPanelItem* item, int role) const
    {
        return model.data(model.indexOf(item), role);
    }
    QImage icon(NavPanelItem* item) const
    {
        return data(item, Qt::DecorationRole).value<QPixmap>().toImage();
    }
    QColor colour(NavPanelItem* item) const
    {
        return data(item, Qt::ForegroundRole).value<QBrush>().color();
    }
    QFont font(NavPanelItem* item) const { return data(item, Qt::FontRole).value<QFont>(); }
};

QImage resourceImage(const char* path)
{
    return QPixmap(QString::fromLatin1(path)).toImage();
}

} // namespace

TEST(NavPanelModel, IndexesAndParentsFollowTheTree)
{
    Tree t;
    EXPECT_EQ(t.model.rowCount(), 3);
    const QModelIndex runIndex = t.model.index(1, 0);
    EXPECT_EQ(t.model.itemAt(runIndex), t.run);
    EXPECT_EQ(t.model.data(runIndex).toString(), "Run");
    EXPECT_FALSE(t.model.parent(runIndex).isValid());

    const QModelIndex singleIndex = t.model.index(0, 0, runIndex);
    EXPECT_EQ(t.model.itemAt(singleIndex), t.single);
    EXPECT_EQ(t.model.parent(singleIndex), runIndex);
    EXPECT_EQ(t.model.rowCount(runIndex), 1);

    EXPECT_FALSE(t.model.index(5, 0).isValid());
    EXPECT_FALSE(t.model.index(3, 0).isValid());
    EXPECT_FALSE(t.model.index(-1, 0).isValid());
    EXPECT_FALSE(t.model.data(QModelIndex()).isValid());
    EXPECT_FALSE(t.model.data(runIndex, Qt::ToolTipRole).isValid());
}

TEST(NavPanelModel, SelectedIconBeatsActiveArrowAndKindsChooseTheirIcons)
{
    Tree t;
    const QImage selected = resourceImage(":/rynui/npm_selected.png");
    const QImage active = resourceImage(":/rynui/npm_active.png");
    ASSERT_FALSE(selected.isNull() || active.isNull());
    ASSERT_NE(selected, active);

    t.single->kind = NavPanelItem::StudyItem;
    EXPECT_FALSE(t.data(t.single, Qt::DecorationRole).isValid());
    t.model.setItemActive(t.single, true);
    EXPECT_EQ(t.icon(t.single), active);
    t.model.setItemSelected(t.single, true);
    EXPECT_EQ(t.icon(t.single), selected);

    t.notes->kind = NavPanelItem::ReportItem;
    EXPECT_EQ(t.icon(t.notes), resourceImage(":/rynui/npm_report.png"));
    t.notes->kind = NavPanelItem::PlotItem;
    EXPECT_EQ(t.icon(t.notes), resourceImage(":/rynui/npm_plot.png"));
}

TEST(NavPanelModel, FontsAndColoursFollowKindAndState)
{
    Tree t;
    t.study->kind = NavPanelItem::CategoryItem;
    t.run->kind = NavPanelItem::CategoryItem;
    t.single->kind = NavPanelItem::ActionItem;
    t.notes->kind = NavPanelItem::NoteItem;
    NavPanelItem* paired = t.model.addItem("Paired Release", t.study);
    paired->kind = NavPanelItem::StudyItem;

    // Enabled: study entries and commands blue in the plain font, headings
    // bold and black, notes italic.
    EXPECT_EQ(t.colour(paired), QColor(Qt::blue));
    EXPECT_EQ(t.font(paired).weight(), QFont::Normal);
    EXPECT_FALSE(t.font(paired).italic());
    EXPECT_EQ(t.colour(t.single), QColor(Qt::blue));
    EXPECT_EQ(t.font(t.study).weight(), QFont::Bold);
    EXPECT_EQ(t.colour(t.study), QColor(Qt::black));
    EXPECT_TRUE(t.font(t.notes).italic());

    // Headings created disabled are italic and still black; the study entries
    // below a disabled heading are italic and light grey.
    t.study->setItemActivatable(false);
    EXPECT_TRUE(t.font(t.study).italic());
    EXPECT_EQ(t.colour(t.study), QColor(Qt::black));
    EXPECT_TRUE(t.font(paired).italic());
    EXPECT_EQ(t.colour(paired), QColor(Qt::lightGray));

    // Activatable but disabled through its action: grey and italic.
    t.single->setEnabled(false);
    EXPECT_EQ(t.colour(t.single), QColor(Qt::lightGray));
    EXPECT_TRUE(t.font(t.single).italic());
    t.single->setEnabled(true);

    // Enabled but not activatable: grey, not italic.
    t.single->activatable = false;
    EXPECT_EQ(t.colour(t.single), QColor(Qt::lightGray));
    EXPECT_FALSE(t.font(t.single).italic());

    t.notes->kind = NavPanelItem::LabelItem;
    t.notes->setItemActivatable(false);
    EXPECT_EQ(t.colour(t.notes), QColor(Qt::black));
}

TEST(NavPanelItem, ActivatableFlagReachesEveryDescendant)
{
    Tree t;
    NavPanelItem* grandChild = t.model.addItem("Reach 1", t.single);
    t.run->setItemActivatable(false);
    for (NavPanelItem* item : {t.run, t.single, grandChild})
        EXPECT_FALSE(item->activatable || item->isEnabled()) << item->text.toStdString();
    EXPECT_TRUE(t.study->activatable && t.study->isEnabled());

    t.run->setItemActivatable(true);
    EXPECT_TRUE(grandChild->activatable && grandChild->isEnabled());
}
