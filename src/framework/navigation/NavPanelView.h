#pragma once

#include <QTreeView>

namespace ryn {

// The tree view of the navigation panel. A double click triggers an entry
// instead of folding it, so the tree neither expands nor collapses on it.
class NavPanelView : public QTreeView
{
    Q_OBJECT

public:
    explicit NavPanelView(QWidget* parent = nullptr);
};

} // namespace ryn
