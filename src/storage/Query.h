#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace cw {

class Statement;

// A result read in full: its row count is known before walking it, the rows are walked
// first to last with an end flag, and fields are read by column name or alias.
// A NULL reads as empty text, as 0 or as false.
class Query {
  public:
    Query() = default;
    explicit Query(Statement& statement);

    int recordCount() const { return int(rows_.size()); }
    bool isEmpty() const { return rows_.empty(); }
    const QStringList& columns() const { return columns_; }

    void first() { pos_ = 0; }
    void next() { ++pos_; }
    bool eof() const { return pos_ >= int(rows_.size()); }
    int position() const { return pos_; }
    void seek(int row) { pos_ = row; }

    int columnIndex(const QString& name) const;
    QVariant value(const QString& column) const;
    QVariant value(int row, int column) const;
    QString text(const QString& column) const;
    double number(const QString& column) const;
    qint64 integer(const QString& column) const;
    bool boolean(const QString& column) const;

    // The first column of every row, in order: the shape of the drop-down lists.
    QStringList firstColumn() const;

  private:
    int requireColumn(const QString& name) const;

    QStringList columns_;
    std::vector<std::vector<QVariant>> rows_;
    int pos_ = 0;
};

}  // namespace cw
