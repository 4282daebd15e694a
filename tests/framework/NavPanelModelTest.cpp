#include "framework/NavPanelModel.h"
#include "framework/NavPanelItem.h"

#include <gtest/gtest.h>

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QSignalSpy>

using ryn::NavPanelItem;
using ryn::NavPanelModel;

namespace {

// A model with a root and three top-level entries; the second has one child.
struct Tree
{
    Tree()
    {
        root = model.addItem("root");
        study = model.addItem("Study Design Types", root);
        run = model.addItem("Run", root);
        notes = model.addItem("Notes", root);
        single = model.addItem("Single Release", run);
    }
    NavPanelModel model;
    NavPanelItem* root;
    NavPanelItem* study;
    NavPanelItem* run;
    NavPanelItem* notes;
    NavPanelItem* single;
};

QImage decorationOf(const NavPanelModel& model, NavPanelItem* item)
{
    return model.data(model.indexOf(item), Qt::DecorationRole).value<QPixmap>().toImage();
}

QImage resourceImage(const char* path)
{
    return QPixmap(QString::fromLatin1(path)).toImage();
}

QColor foregroundOf(const NavPanelModel& model, NavPanelItem* item)
{
    return model.data(model.indexOf(item), Qt::ForegroundRole).value<QBrush>().color();
}

QFont fontOf(const NavPanelModel& model, NavPanelItem* item)
{
    return model.data(model.indexOf(item), Qt::FontRole).value<QFont>();
}

} // namespace

TEST(NavPanelModel, IndexesAndParentsFollowTheTree)
{
    Tree t;
    EXPECT_EQ(t.model.rowCount(), 3);
    EXPECT_EQ(t.model.columnCount(), 1);

    const QModelIndex runIndex = t.model.index(1, 0);
    ASSERT_TRUE(runIndex.isValid());
    EXPECT_EQ(t.model.itemAt(runIndex), t.run);
    EXPECT_EQ(t.model.data(runIndex).toString(), "Run");
    EXPECT_EQ(t.model.rowCount(runIndex), 1);
    EXPECT_FALSE(t.model.parent(runIndex).isValid());

    const QModelIndex singleIndex = t.model.index(0, 0, runIndex);
    EXPECT_EQ(t.model.itemAt(singleIndex), t.single);
    EXPECT_EQ(t.model.parent(singleIndex), runIndex);

    EXPECT_FALSE(t.model.index(5, 0).isValid());
    EXPECT_FALSE(t.model.index(3, 0).isValid());
    EXPECT_FALSE(t.model.index(-1, 0).isValid());
    EXPECT_FALSE(t.model.index(1, 0, singleIndex).isValid());
    EXPECT_FALSE(t.model.parent(QModelIndex()).isValid());
    EXPECT_FALSE(t.model.data(QModelIndex()).isValid());
    EXPECT_FALSE(t.model.headerData(0, Qt::Horizontal).isValid());
    EXPECT_FALSE(t.model.data(runIndex, Qt::ToolTipRole).isValid());
}

TEST(NavPanelModel, AddingAnEntryAnnouncesOneRowBelowItsParent)
{
    Tree t;
    QSignalSpy inserted(&t.model, &NavPanelModel::rowsInserted);
    NavPanelItem* paired = t.model.addItem("Paired Release", t.run);

    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.at(0).at(0).value<QModelIndex>(), t.model.indexOf(t.run));
    EXPECT_EQ(inserted.at(0).at(1).toInt(), 1);
    EXPECT_EQ(inserted.at(0).at(2).toInt(), 1);
    EXPECT_EQ(t.run->children, QList<NavPanelItem*>({t.single, paired}));
    EXPECT_EQ(paired->parentItem, t.run);
    EXPECT_EQ(paired->model, &t.model);
    EXPECT_EQ(paired->parent(), nullptr);
    EXPECT_EQ(paired->kind, NavPanelItem::PlainItem);
    EXPECT_TRUE(paired->activatable);
    EXPECT_FALSE(paired->selected || paired->active);
}

TEST(NavPanelModel, SelectedIconBeatsActiveArrowAndKindsChooseTheirIcons)
{
    Tree t;
    const QImage selectedIcon = resourceImage(":/rynui/npm_selected.png");
    const QImage activeIcon = resourceImage(":/rynui/npm_active.png");
    ASSERT_FALSE(selectedIcon.isNull());
    ASSERT_FALSE(activeIcon.isNull());
    ASSERT_NE(selectedIcon, activeIcon);

    t.single->kind = NavPanelItem::StudyItem;
    EXPECT_FALSE(t.model.data(t.model.indexOf(t.single), Qt::DecorationRole).isValid());

    t.model.setItemActive(t.single, true);
    EXPECT_EQ(decorationOf(t.model, t.single), activeIcon);
    t.model.setItemSelected(t.single, true);
    EXPECT_EQ(decorationOf(t.model, t.single), selectedIcon);
    t.model.setItemSelected(t.single, false);
    EXPECT_EQ(decorationOf(t.model, t.single), activeIcon);

    t.notes->kind = NavPanelItem::ReportItem;
    EXPECT_EQ(decorationOf(t.model, t.notes), resourceImage(":/rynui/npm_report.png"));
    t.notes->kind = NavPanelItem::PlotItem;
    EXPECT_EQ(decorationOf(t.model, t.notes), resourceImage(":/rynui/npm_plot.png"));
    t.model.setItemActive(t.notes, true);
    EXPECT_EQ(decorationOf(t.model, t.notes), activeIcon);
}

TEST(NavPanelModel, FlagSlotsAnnounceTheChangedRow)
{
    Tree t;
    QSignalSpy changed(&t.model, &NavPanelModel::dataChanged);
    t.model.setItemActive(t.single, true);
    t.model.setItemSelected(t.notes, true);

    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.at(0).at(0).value<QModelIndex>(),
              t.model.index(0, 0, t.model.indexOf(t.run)));
    EXPECT_EQ(changed.at(1).at(0).value<QModelIndex>(), t.model.index(2, 0));
    EXPECT_TRUE(t.single->active);
    EXPECT_TRUE(t.notes->selected);
}

TEST(NavPanelModel, FontsAndColoursFollowKindAndState)
{
    Tree t;
    t.study->kind = NavPanelItem::CategoryItem;
    t.run->kind = NavPanelItem::CategoryItem;
    t.single->kind = NavPanelItem::StudyItem;
    NavPanelItem* paired = t.model.addItem("Paired Release", t.study);
    paired->kind = NavPanelItem::StudyItem;
    NavPanelItem* command = t.model.addItem("Run analysis", t.run);
    command->kind = NavPanelItem::ActionItem;
    t.notes->kind = NavPanelItem::NoteItem;

    // An enabled study entry and command are blue in the plain font.
    EXPECT_EQ(foregroundOf(t.model, paired), QColor(Qt::blue));
    EXPECT_FALSE(fontOf(t.model, paired).italic());
    EXPECT_EQ(fontOf(t.model, paired).weight(), QFont::Normal);
    EXPECT_EQ(foregroundOf(t.model, command), QColor(Qt::blue));

    // An enabled heading is bold and black.
    EXPECT_EQ(fontOf(t.model, t.study).weight(), QFont::Bold);
    EXPECT_FALSE(fontOf(t.model, t.study).italic());
    EXPECT_EQ(foregroundOf(t.model, t.study), QColor(Qt::black));

    // Headings created disabled are italic and still black; the study
    // entries below a disabled heading are italic and light grey.
    t.study->setItemActivatable(false);
    t.run->setEnabled(false);
    EXPECT_TRUE(fontOf(t.model, t.study).italic());
    EXPECT_EQ(foregroundOf(t.model, t.study), QColor(Qt::black));
    EXPECT_TRUE(fontOf(t.model, t.run).italic());
    EXPECT_EQ(foregroundOf(t.model, t.run), QColor(Qt::black));
    EXPECT_TRUE(fontOf(t.model, paired).italic());
    EXPECT_EQ(foregroundOf(t.model, paired), QColor(Qt::lightGray));

    // Not activatable but enabled: grey, not italic.
    t.single->activatable = false;
    EXPECT_EQ(foregroundOf(t.model, t.single), QColor(Qt::lightGray));
    EXPECT_FALSE(fontOf(t.model, t.single).italic());

    // Notes are italic even when enabled.
    EXPECT_TRUE(fontOf(t.model, t.notes).italic());

    // Labels and plain entries are black whatever their state.
    t.notes->kind = NavPanelItem::LabelItem;
    t.notes->setItemActivatable(false);
    EXPECT_EQ(foregroundOf(t.model, t.notes), QColor(Qt::black));
    t.notes->kind = NavPanelItem::PlainItem;
    EXPECT_EQ(foregroundOf(t.model, t.notes), QColor(Qt::black));
}

TEST(NavPanelItem, ActivatableFlagReachesEveryDescendant)
{
    Tree t;
    NavPanelItem* grandChild = t.model.addItem("Reach 1", t.single);

    t.run->setItemActivatable(false);
    for (NavPanelItem* item : {t.run, t.single, grandChild}) {
        EXPECT_FALSE(item->activatable) << item->text.toStdString();
        EXPECT_FALSE(item->isEnabled()) << item->text.toStdString();
    }
    EXPECT_TRUE(t.study->activatable && t.study->isEnabled());

    t.run->setItemActivatable(true);
    EXPECT_TRUE(grandChild->activatable && grandChild->isEnabled());
}

TEST(NavPanelItem, DeletingAnEntryDeletesItsSubtree)
{
    auto* model = new NavPanelModel;
    NavPanelItem* root = model->addItem("root");
    QPointer<NavPanelItem> child = model->addItem("child", root);
    QPointer<NavPanelItem> grandChild = model->addItem("grand child", child);
    delete model;
    EXPECT_TRUE(child.isNull());
    EXPECT_TRUE(grandChild.isNull());
}
