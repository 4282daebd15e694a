#pragma once

#include <QTreeView>

namespace ryn {

// The tree view of the navigation panel. A double click triggers an entry
// instead of folding it, so the tree neither expands nor collapses on it. It
// asks for the height of every entry it shows, so that a low screen takes
// the room from the panels docked below it rather than hiding entries.
class NavPanelView : public QTreeView
{
    Q_OBJECT

public:
    explicit NavPanelView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

private:
    // The height of the entries shown (those of expanded branches).
    int entriesHeight() const;
};

} // namespace ryn
