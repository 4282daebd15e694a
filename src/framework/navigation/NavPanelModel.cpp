#include "framework/navigation/NavPanelModel.h"

#include "framework/navigation/NavPanelItem.h"
#include "framework/resources/FrameworkResources.h"

#include <QBrush>
#include <QFont>
#include <QPixmap>

namespace ryn {

NavPanelModel::NavPanelModel(QObject* parent)
    : QAbstractItemModel(parent)
{
    initFrameworkResources();
}

NavPanelModel::~NavPanelModel()
{
    delete root;
}

NavPanelItem* NavPanelModel::addItem(const QString& text, NavPanelItem* parent)
{
    auto* item = new NavPanelItem(text, this, parent);
    if (parent) {
        const int row = parent->children.size();
        beginInsertRows(indexOf(parent), row, row);
        parent->children.append(item);
        endInsertRows();
    } else {
        // A second root replaces the first together with everything below it.
        beginResetModel();
        delete root;
        root = item;
        endResetModel();
    }
    return item;
}

NavPanelItem* NavPanelModel::itemAt(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<NavPanelItem*>(index.internalPointer()) : nullptr;
}

QModelIndex NavPanelModel::indexOf(NavPanelItem* item) const
{
    if (!item || item == root || !item->parentItem)
        return QModelIndex();
    return createIndex(item->row(), 0, item);
}

QModelIndex NavPanelModel::index(int row, int column, const QModelIndex& parent) const
{
    NavPanelItem* parentItem = parent.isValid() ? itemAt(parent) : root;
    if (!parentItem || row < 0 || row >= parentItem->children.size() || column != 0)
        return QModelIndex();
    return createIndex(row, column, parentItem->children.at(row));
}

QModelIndex NavPanelModel::parent(const QModelIndex& index) const
{
    const NavPanelItem* item = itemAt(index);
    if (!item || !item->parentItem || item->parentItem == root)
        return QModelIndex();
    return indexOf(item->parentItem);
}

int NavPanelModel::rowCount(const QModelIndex& parent) const
{
    const NavPanelItem* item = parent.isValid() ? itemAt(parent) : root;
    return item ? item->children.size() : 0;
}

int NavPanelModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant NavPanelModel::data(const QModelIndex& index, int role) const
{
    const NavPanelItem* item = itemAt(index);
    if (!item)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return item->text;
    case Qt::DecorationRole:
        return decoration(item);
    case Qt::FontRole:
        return font(item);
    case Qt::ForegroundRole:
        return foreground(item);
    default:
        return QVariant();
    }
}

QVariant NavPanelModel::headerData(int, Qt::Orientation, int) const
{
    return QVariant();
}

void NavPanelModel::setItemSelected(NavPanelItem* item, bool rhs)
{
    if (!item)
        return;
    item->selected = rhs;
    announceChange(item);
}

void NavPanelModel::setItemActive(NavPanelItem* item, bool rhs)
{
    if (!item)
        return;
    item->active = rhs;
    announceChange(item);
}

void NavPanelModel::announceChange(NavPanelItem* item)
{
    const QModelIndex index = indexOf(item);
    emit dataChanged(index, index);
}

// The selection mark wins over the arrow of the active study; reports and
// plots carry their own icons, everything else none.
QVariant NavPanelModel::decoration(const NavPanelItem* item) const
{
    if (item->selected)
        return QPixmap(QStringLiteral(":/rynui/npm_selected.png"));
    if (item->active)
        return QPixmap(QStringLiteral(":/rynui/npm_active.png"));
    if (item->kind == NavPanelItem::ReportItem)
        return QPixmap(QStringLiteral(":/rynui/npm_report.png"));
    if (item->kind == NavPanelItem::PlotItem)
        return QPixmap(QStringLiteral(":/rynui/npm_plot.png"));
    return QVariant();
}

// Notes and disabled entries are italic; enabled headings are bold.
QVariant NavPanelModel::font(const NavPanelItem* item) const
{
    QFont font = item->font();
    if (item->kind == NavPanelItem::NoteItem || !item->isEnabled())
        font.setItalic(true);
    else if (item->kind == NavPanelItem::CategoryItem)
        font.setWeight(QFont::Bold);
    return font;
}

// Headings, labels and plain entries are black; entries that can be triggered
// are blue, and grey while they cannot.
QVariant NavPanelModel::foreground(const NavPanelItem* item) const
{
    switch (item->kind) {
    case NavPanelItem::CategoryItem:
    case NavPanelItem::LabelItem:
    case NavPanelItem::PlainItem:
        return QBrush(Qt::black);
    default:
        if (!item->activatable || !item->isEnabled())
            return QBrush(Qt::lightGray);
        return QBrush(Qt::blue);
    }
}

} // namespace ryn
