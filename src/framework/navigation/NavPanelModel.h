#pragma once

#include <QAbstractItemModel>

namespace ryn {

class NavPanelItem;

// The tree of the navigation panel: study design types under one heading, the
// run command under another. Entries are NavPanelItem actions; the model draws
// them by kind (headings bold, commands blue, the active study with an arrow).
class NavPanelModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit NavPanelModel(QObject* parent = nullptr);
    ~NavPanelModel() override;

    // Creates an entry below parent, or the (owned) root entry when parent is null.
    NavPanelItem* addItem(const QString& text, NavPanelItem* parent = nullptr);

    NavPanelItem* rootItem() const { return root; }
    NavPanelItem* itemAt(const QModelIndex& index) const;
    QModelIndex indexOf(NavPanelItem* item) const;

    QModelIndex index(int row, int column,
                      const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    void currentItemChanged(ryn::NavPanelItem* item);

public slots:
    void setItemSelected(ryn::NavPanelItem* item, bool rhs);
    void setItemActive(ryn::NavPanelItem* item, bool rhs);

private:
    void announceChange(NavPanelItem* item);
    QVariant decoration(const NavPanelItem* item) const;
    QVariant font(const NavPanelItem* item) const;
    QVariant foreground(const NavPanelItem* item) const;

    NavPanelItem* root = nullptr;
};

} // namespace ryn
