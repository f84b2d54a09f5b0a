#pragma once

// The rows of a results screen: the numbering column 0 and the used layout columns, each row
// with its selection mark. Rows are numbered and striped by their place in the current
// order, so a sort renumbers and restripes them by itself. Sorting compares texts the way
// a Japanese reader orders them, ignoring letter case; equal texts keep their order.

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

namespace pikotel {

class KekkaModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit KekkaModel(QObject* parent = nullptr);

    // headers: one per used column (grid columns 1..M).
    void setContent(const QStringList& headers, std::vector<QStringList> rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Grid column g (1..M), 0-based rows.
    QString cell(int row, int column) const;
    QString header(int column) const { return headers_.value(column - 1); }
    void setHeader(int column, const QString& text);
    int usedColumns() const { return static_cast<int>(headers_.size()); }

    // Reorders every row by the text of grid column g.
    void sortByColumn(int column, bool ascending);

    bool isSelected(int row) const { return rows_[static_cast<std::size_t>(row)].selected; }
    void setSelected(int row, bool selected);
    void setRangeSelected(int first, int last);
    void clearSelection();
    int selectedCount() const;
    // The first selected row in the current order, or -1.
    int firstSelectedRow() const;

private:
    struct Row {
        QStringList cells;
        bool selected = false;
    };
    void rowsChanged(int first, int last);

    QStringList headers_;
    std::vector<Row> rows_;
};

} // namespace pikotel
