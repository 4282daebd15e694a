#pragma once

#include <QAction>
#include <QList>
#include <QString>

namespace ryn {

class NavPanelModel;

// One entry of the navigation tree. An entry is an action, so the same object
// serves as tree entry, menu entry and toolbar button; triggering it runs the
// command it stands for (open a study design, run the analysis). The kind
// decides how the tree draws it; the flags mark the active study design.
class NavPanelItem : public QAction
{
    Q_OBJECT

public:
    enum Kind {
        ActionItem = 0,
        RootItem = 1,
        ReportItem = 2,
        CategoryItem = 4,
        PlotItem = 5,
        PlainItem = 6,
        StudyItem = 7,
        NoteItem = 8,
        LabelItem = 9
    };

    NavPanelItem(const QString& text, NavPanelModel* model, NavPanelItem* parentItem,
                 QObject* owner = nullptr);
    ~NavPanelItem() override;

    // Sets whether the entry (and every entry below it) may be triggered, and
    // enables or disables the actions to match.
    void setItemActivatable(bool on);

    // Position of this entry among its parent's children (0 for the root).
    int row() const;

    int kind = PlainItem;
    bool selected = false;
    bool active = false;
    // The label shown in the tree; the action keeps its own text for menus.
    QString text;
    NavPanelModel* model;
    NavPanelItem* parentItem;
    // Owned: deleted with this entry.
    QList<NavPanelItem*> children;
    bool activatable = true;
};

} // namespace ryn
