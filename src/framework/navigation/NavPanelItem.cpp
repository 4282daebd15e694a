#include "framework/navigation/NavPanelItem.h"

namespace ryn {

NavPanelItem::NavPanelItem(const QString& text, NavPanelModel* model, NavPanelItem* parentItem,
                           QObject* owner)
    : QAction(text, owner)
    , text(text)
    , model(model)
    , parentItem(parentItem)
{}

NavPanelItem::~NavPanelItem()
{
    qDeleteAll(children);
}

void NavPanelItem::setItemActivatable(bool on)
{
    activatable = on;
    setEnabled(on);
    for (NavPanelItem* child : qAsConst(children))
        child->setItemActivatable(on);
}

int NavPanelItem::row() const
{
    return parentItem ? parentItem->children.indexOf(const_cast<NavPanelItem*>(this)) : 0;
}

} // namespace ryn
