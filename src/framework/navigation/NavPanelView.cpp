#include "framework/navigation/NavPanelView.h"

#include <QHeaderView>

namespace ryn {

NavPanelView::NavPanelView(QWidget* parent)
    : QTreeView(parent)
{
    setExpandsOnDoubleClick(false);
    header()->hide();
}

} // namespace ryn
