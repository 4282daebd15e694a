#include "framework/navigation/NavPanelView.h"

#include <QHeaderView>

#include <algorithm>

namespace ryn {

NavPanelView::NavPanelView(QWidget* parent)
    : QTreeView(parent)
{
    setExpandsOnDoubleClick(false);
    header()->hide();
    connect(this, &QTreeView::expanded, this, &QWidget::updateGeometry);
    connect(this, &QTreeView::collapsed, this, &QWidget::updateGeometry);
}

void NavPanelView::setModel(QAbstractItemModel* model)
{
    QTreeView::setModel(model);
    if (!model)
        return;
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(model, signal, this, &QWidget::updateGeometry);
    connect(model, &QAbstractItemModel::layoutChanged, this, &QWidget::updateGeometry);
}

int NavPanelView::entriesHeight() const
{
    int height = 0;
    if (!model())
        return height;
    for (QModelIndex index = model()->index(0, 0, rootIndex()); index.isValid();
         index = indexBelow(index))
        height += indexRowSizeHint(index);
    return height;
}

QSize NavPanelView::minimumSizeHint() const
{
    const QSize base = QTreeView::minimumSizeHint();
    return QSize(base.width(), std::max(base.height(), entriesHeight() + 2 * frameWidth()));
}

QSize NavPanelView::sizeHint() const
{
    const QSize base = QTreeView::sizeHint();
    return QSize(base.width(), entriesHeight() + 2 * frameWidth());
}

} // namespace ryn
