#include "results/kekkamodel.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QColor>

#include <algorithm>
#include <numeric>

namespace pikotel {

namespace {
const QColor kStripeGrey(224, 224, 224);
const QColor kSelectionNavy(0, 0, 128);
} // namespace

KekkaModel::KekkaModel(QObject* parent) : QAbstractTableModel(parent) {}

void KekkaModel::setContent(const QStringList& headers, std::vector<QStringList> rows) {
    beginResetModel();
    headers_ = headers;
    rows_.clear();
    rows_.reserve(rows.size());
    for (QStringList& cells : rows)
        rows_.push_back({std::move(cells), false});
    endResetModel();
}

int KekkaModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int KekkaModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : usedColumns() + 1;
}

QString KekkaModel::cell(int row, int column) const {
    return rows_[static_cast<std::size_t>(row)].cells.value(column - 1);
}

QVariant KekkaModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int row = index.row();
    const int column = index.column();
    const bool selected = column > 0 && isSelected(row);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return column == 0 ? QStringLiteral("%1").arg(row + 1, 4, 10, QChar(u'0'))
                           : cell(row, column);
    case Qt::ToolTipRole:
        return column == 0 ? QVariant() : QVariant(cell(row, column));
    case Qt::BackgroundRole:
        if (column == 0)
            return {};
        if (selected)
            return kSelectionNavy;
        return row % 2 == 0 ? QColor(Qt::white) : kStripeGrey;
    case Qt::ForegroundRole:
        if (column == 0)
            return {};
        return selected ? QColor(Qt::white) : QColor(Qt::black);
    case Qt::TextAlignmentRole:
        return column == 0 ? QVariant(Qt::AlignCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant KekkaModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal ||
        (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return QAbstractTableModel::headerData(section, orientation, role);
    // The number column shows no caption; a screen reader still says what it holds.
    if (section == 0)
        return role == Qt::AccessibleTextRole ? QStringLiteral("番号") : QString();
    return header(section);
}

void KekkaModel::setHeader(int column, const QString& text) {
    if (column < 1 || column > usedColumns())
        return;
    headers_[column - 1] = text;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void KekkaModel::sortByColumn(int column, bool ascending) {
    QCollator collator{QLocale(QLocale::Japanese, QLocale::Japan)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(rows_.size());
    for (const Row& row : rows_)
        keys.push_back(collator.sortKey(row.cells.value(column - 1)));
    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int c = keys[a].compare(keys[b]);
        return ascending ? c < 0 : c > 0;
    });
    emit layoutAboutToBeChanged();
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (const std::size_t i : order)
        sorted.push_back(std::move(rows_[i]));
    rows_ = std::move(sorted);
    emit layoutChanged();
}

void KekkaModel::rowsChanged(int first, int last) {
    if (rows_.empty())
        return;
    emit dataChanged(index(first, 1), index(last, usedColumns()));
}

void KekkaModel::setSelected(int row, bool selected) {
    if (row < 0 || row >= rowCount())
        return;
    rows_[static_cast<std::size_t>(row)].selected = selected;
    rowsChanged(row, row);
}

void KekkaModel::setRangeSelected(int first, int last) {
    if (first > last)
        std::swap(first, last);
    first = std::max(first, 0);
    last = std::min(last, rowCount() - 1);
    for (int r = first; r <= last; ++r)
        rows_[static_cast<std::size_t>(r)].selected = true;
    if (first <= last)
        rowsChanged(first, last);
}

void KekkaModel::clearSelection() {
    for (Row& row : rows_)
        row.selected = false;
    rowsChanged(0, rowCount() - 1);
}

int KekkaModel::selectedCount() const {
    return static_cast<int>(
        std::count_if(rows_.begin(), rows_.end(), [](const Row& r) { return r.selected; }));
}

int KekkaModel::firstSelectedRow() const {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].selected)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace pikotel
