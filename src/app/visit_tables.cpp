// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/visit_tables.h"

#include "analysis/short_date.h"
#include "app/qt_text.h"
#include "common/format.h"
#include "common/number.h"

#include <algorithm>
#include <numeric>

namespace zenbalo {

namespace {

SortKey numberKey(double value) { return {false, value, {}}; }

// Full-width characters (three bytes and more in UTF-8) count twice.
size_t displayWidth(const std::string &text) {
    size_t width = 0;
    for (unsigned char c : text)
        width += (c & 0xC0) != 0x80 ? (c >= 0xE0 ? 2 : 1) : 0;
    return width;
}

} // namespace

SortableTableModel::SortableTableModel(QStringList titles, std::vector<bool> numeric, QObject *parent)
    : QAbstractTableModel(parent), titles_(std::move(titles)), numeric_(std::move(numeric)) {}

int SortableTableModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(order_.size());
}

int SortableTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(titles_.size());
}

QVariant SortableTableModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return toQt(text(index.row(), index.column()));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (numeric_[static_cast<size_t>(index.column())] ? Qt::AlignRight : Qt::AlignLeft));
    return {};
}

QVariant SortableTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < titles_.size())
        return titles_[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

void SortableTableModel::resetOrder() {
    order_.resize(dataRows());
    std::iota(order_.begin(), order_.end(), size_t{0});
}

void SortableTableModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= columnCount())
        return;
    std::vector<SortKey> keys(dataRows());
    for (size_t row = 0; row < keys.size(); ++row)
        keys[row] = sortKey(row, column);
    const bool ascending = order == Qt::AscendingOrder;
    auto before = [&](size_t a, size_t b) {
        const SortKey &x = keys[a], &y = keys[b];
        if (x.missing != y.missing)
            return y.missing;
        if (x.missing)
            return false;
        if (x.number != y.number)
            return ascending ? x.number < y.number : y.number < x.number;
        return ascending ? x.text < y.text : y.text < x.text;
    };

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList persistent = persistentIndexList();
    std::vector<size_t> shownData;
    for (const QModelIndex &index : persistent)
        shownData.push_back(order_[static_cast<size_t>(index.row())]);
    std::stable_sort(order_.begin(), order_.end(), before);
    std::vector<int> placeOf(order_.size());
    for (size_t row = 0; row < order_.size(); ++row)
        placeOf[order_[row]] = static_cast<int>(row);
    QModelIndexList moved;
    for (qsizetype i = 0; i < persistent.size(); ++i)
        moved << index(placeOf[shownData[static_cast<size_t>(i)]], persistent[i].column());
    changePersistentIndexList(persistent, moved);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QString SortableTableModel::widestText(int column) const {
    std::string widest;
    size_t width = 0;
    for (size_t row = 0; row < order_.size(); ++row) {
        std::string cell = cellText(row, column);
        if (const size_t w = displayWidth(cell); w > width) {
            width = w;
            widest = std::move(cell);
        }
    }
    return toQt(widest);
}

// ---- visits

VisitTableModel::VisitTableModel(std::string datePattern, QObject *parent)
    : SortableTableModel({"日付", "店名", "機種名", "総回転数", "総大当たり数", "収支", "仕事量", "運", "回転率"},
                         {false, false, false, true, true, true, true, true, true}, parent),
      datePattern_(std::move(datePattern)) {}

void VisitTableModel::setVisits(std::vector<Visit> visits) {
    beginResetModel();
    visits_ = std::move(visits);
    resetOrder();
    endResetModel();
}

std::string VisitTableModel::cellText(size_t row, int column) const {
    const Visit &v = visits_[row];
    switch (column) {
    case 0:
        return v.date ? formatShortDate(*v.date, datePattern_) : std::string();
    case 1:
        return v.parlour;
    case 2:
        return v.machine;
    case 3:
        return std::to_string(v.rotations);
    case 4:
        return std::to_string(v.hits);
    case 5:
        return formatYen(v.realBalance);
    case 6:
        return formatYen(v.work);
    case 7:
        return formatYen(v.realBalance - v.work);
    default:
        return v.rotationRate;
    }
}

SortKey VisitTableModel::sortKey(size_t row, int column) const {
    const Visit &v = visits_[row];
    switch (column) {
    case 0:
        if (!v.date)
            return {true, 0, {}};
        return numberKey((v.date->year * 100.0 + v.date->month) * 100 + v.date->day);
    case 1:
        return {false, 0, v.parlour};
    case 2:
        return {false, 0, v.machine};
    case 3:
        return numberKey(v.rotations);
    case 4:
        return numberKey(v.hits);
    case 5:
        return numberKey(static_cast<double>(v.realBalance));
    case 6:
        return numberKey(static_cast<double>(v.work));
    case 7:
        return numberKey(static_cast<double>(v.realBalance - v.work));
    default: {
        const std::optional<double> rate = parseFileNumber(v.rotationRate);
        return rate ? numberKey(*rate) : SortKey{true, 0, {}};
    }
    }
}

// ---- breakdowns

BreakdownTableModel::BreakdownTableModel(const QString &nameTitle, QObject *parent)
    : SortableTableModel({nameTitle, "件数", "合計収支", "合計仕事量", "運", "平均回転率"},
                         {false, true, true, true, true, true}, parent) {}

void BreakdownTableModel::setRows(std::vector<BreakdownRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    texts_.clear();
    for (const BreakdownRow &row : rows_)
        texts_.push_back(summaryTexts(row.totals));
    resetOrder();
    endResetModel();
}

std::string BreakdownTableModel::cellText(size_t row, int column) const {
    const SummaryTexts &t = texts_[row];
    switch (column) {
    case 0:
        return rows_[row].name;
    case 1:
        return t.visits;
    case 2:
        return t.realBalance;
    case 3:
        return t.work;
    case 4:
        return t.luck;
    default:
        return t.rotationRate;
    }
}

SortKey BreakdownTableModel::sortKey(size_t row, int column) const {
    const VisitTotals &t = rows_[row].totals;
    switch (column) {
    case 0:
        return {false, 0, rows_[row].name};
    case 1:
        return numberKey(static_cast<double>(t.visits));
    case 2:
        return numberKey(static_cast<double>(t.realBalance));
    case 3:
        return numberKey(static_cast<double>(t.work));
    case 4:
        return numberKey(static_cast<double>(t.luck()));
    default: {
        const std::optional<double> rate = t.rotationRate();
        return rate ? numberKey(*rate) : SortKey{true, 0, {}};
    }
    }
}

} // namespace zenbalo
