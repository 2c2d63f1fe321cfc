// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "journal/journal_stats.h"
#include "journal/visit.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <cstdint>
#include <string>
#include <vector>

namespace zenbalo {

// What a row sorts by in one column: numbers as numbers, texts in code point
// order; a row without a value (an undated visit) goes last either way.
struct SortKey {
    bool missing = false;
    double number = 0;
    std::string text;
};

// A table whose cells are made when they are shown, so that ten thousand
// rows cost nothing until scrolled to, sortable by any column.
class SortableTableModel : public QAbstractTableModel {
public:
    SortableTableModel(QStringList titles, std::vector<bool> numeric, QObject *parent);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

    bool isNumeric(int column) const { return numeric_[static_cast<size_t>(column)]; }
    // The cell's text at a row as shown.
    std::string text(int row, int column) const { return cellText(order_[static_cast<size_t>(row)], column); }
    // The column's text that takes the most room: the longest figure, or the
    // name with the most full-width characters.
    QString widestText(int column) const;

protected:
    // Cells by the row's place in the data, not on screen.
    virtual std::string cellText(size_t row, int column) const = 0;
    virtual SortKey sortKey(size_t row, int column) const = 0;
    virtual size_t dataRows() const = 0;
    // The data was replaced: shown in data order, unsorted.
    void resetOrder();
    size_t dataRow(int row) const { return order_[static_cast<size_t>(row)]; }

private:
    QStringList titles_;
    std::vector<bool> numeric_; // right-aligned
    std::vector<size_t> order_; // data rows in the order shown
};

// The journal's visits: 日付, 店名, 機種名, 総回転数, 総大当たり数, 収支,
// 仕事量, 運, 回転率.
class VisitTableModel : public SortableTableModel {
public:
    VisitTableModel(std::string datePattern, QObject *parent);

    void setVisits(std::vector<Visit> visits);
    // In journal order.
    const std::vector<Visit> &visits() const { return visits_; }
    int64_t visitId(int row) const { return visits_[dataRow(row)].id; }

protected:
    std::string cellText(size_t row, int column) const override;
    SortKey sortKey(size_t row, int column) const override;
    size_t dataRows() const override { return visits_.size(); }

private:
    std::string datePattern_;
    std::vector<Visit> visits_;
};

// The visits of each parlour or machine: its name, 件数, 合計収支, 合計仕事量,
// 運, 平均回転率.
class BreakdownTableModel : public SortableTableModel {
public:
    BreakdownTableModel(const QString &nameTitle, QObject *parent);

    void setRows(std::vector<BreakdownRow> rows);

protected:
    std::string cellText(size_t row, int column) const override;
    SortKey sortKey(size_t row, int column) const override;
    size_t dataRows() const override { return rows_.size(); }

private:
    std::vector<BreakdownRow> rows_;
    std::vector<SummaryTexts> texts_;
};

} // namespace zenbalo
