#include "reports/SpreadsheetExport.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "reports/ProductInfo.h"

namespace cw {

namespace {

void setUpPage(Workbook& wb, const ExportLayout& layout) {
    Workbook::PageSetup& page = wb.pageSetup();
    page.orientation = layout.orientation;
    if (layout.margins == ExportLayout::Margins::AllFour) {
        page.topMargin = page.bottomMargin = page.leftMargin = page.rightMargin =
            ExportLayout::kAllFourMargin;
    } else if (layout.margins == ExportLayout::Margins::BottomOnly) {
        page.bottomMargin = ExportLayout::kBottomMargin;
    }
    page.centerFooter = SpreadsheetExport::footer();
}

QVariant totalCell(const ExportLayout::Total& t, const ReportTable& table) {
    using Source = ExportLayout::Total::Source;
    if (t.source == Source::RowCount) return table.rowCount();
    // An empty result has no sums to show, only its count.
    if (table.isEmpty()) return QString();
    // The account list's total reads as the screen shows it, yet stays a number.
    return table.totalValue(table.requireColumn(t.field));
}

}  // namespace

QString SpreadsheetExport::numberFormat(ColumnKind kind) {
    switch (kind) {
        case ColumnKind::Money:
            return Workbook::moneyFormat();
        case ColumnKind::Ratio:
            return Workbook::ratioFormat();
        case ColumnKind::Percent:
            return Workbook::percentFormat();
        default:
            return {};
    }
}

QVariant SpreadsheetExport::cellValue(const QVariant& value, ColumnKind kind) {
    // A percentage is held multiplied by 100; the sheet keeps the fraction under 0.00%.
    if (kind == ColumnKind::Percent && value.isValid()) return value.toDouble() / 100.0;
    return value;
}

namespace {

// The data rows, read from the table as the file is written: the running number, then the
// layout's fields.
Workbook::Body bodyOf(const ExportLayout& layout, const ReportTable& table, std::vector<int> source,
                      const SpreadsheetExport::Progress& progress) {
    Workbook::Body body;
    body.firstRow = 3;
    body.rows = table.rowCount();
    body.columns = layout.lastColumn();
    body.styles.resize(size_t(body.columns) + 1);
    for (size_t i = 0; i < source.size(); ++i) {
        Workbook::Style& s = body.styles[i + 2];
        s.wrap = layout.columns[i].wrap;
        s.numberFormat = SpreadsheetExport::numberFormat(table.column(source[i]).kind);
    }
    body.value = [&table, source = std::move(source)](int row, int column) -> QVariant {
        if (column == 1) return row + 1;
        const int c = source[size_t(column - 2)];
        return SpreadsheetExport::cellValue(table.value(row, c), table.column(c).kind);
    };
    body.progress = progress;
    return body;
}

}  // namespace

QString SpreadsheetExport::footer() {
    return ProductInfo::name() + QLatin1Char(' ') + ProductInfo::webAddress() +
           QStringLiteral(" 共&N页，第&P页");
}

Workbook SpreadsheetExport::build(const ExportLayout& layout, const ReportTable& table,
                                  const Title& title, const Progress& progress) {
    // Resolve every field first, so a layout that does not fit its report fails before any
    // cell is written.
    std::vector<int> source;
    QStringList headers{QStringLiteral("序号")};
    for (const ExportLayout::Column& c : layout.columns) {
        source.push_back(table.requireColumn(c.field));
        headers << (c.header.isEmpty() ? table.column(source.back()).title : c.header);
    }

    Workbook wb;
    const QString name = title.book + layout.suffix;
    wb.setCaption(name);
    QString heading = name;
    if (layout.rangeNote) {
        heading += QStringLiteral("（") + title.from.toString(QStringLiteral("yyyy-MM-dd")) +
                   QStringLiteral("至") + title.to.toString(QStringLiteral("yyyy-MM-dd")) +
                   QStringLiteral("）");
    }
    const QString last = layout.lastLetter();
    wb.setValue(1, 1, heading);
    if (!layout.reduced) {
        wb.mergeRows(Workbook::Range::parse(QStringLiteral("A1:") + last + QStringLiteral("1")));
        wb.centre(Workbook::Range::parse(QStringLiteral("A1:") + last + QStringLiteral("2")));
        const Workbook::Range titleRow =
            Workbook::Range::parse(QStringLiteral("A1:") + last + QStringLiteral("1"));
        wb.setFontName(titleRow, QStringLiteral("宋体"));
        wb.setFontSize(titleRow, 16);
        wb.setBold(titleRow, true);
        wb.setFontSize(Workbook::Range::parse(QStringLiteral("A2:") + last + QStringLiteral("2")),
                       12);
        wb.setColumnWidth(1, layout.firstWidth);
        for (size_t i = 0; i < layout.columns.size(); ++i) {
            wb.setColumnWidth(int(i) + 2, layout.columns[i].width);
        }
    }
    for (int c = 0; c < headers.size(); ++c) wb.setValue(2, c + 1, headers[c]);

    const int rows = table.rowCount();
    int lastRow = rows + 2;
    if (layout.totalsRow) {
        ++lastRow;
        wb.setValue(lastRow, 1, QStringLiteral("合计"));
        for (const ExportLayout::Total& t : layout.totals) {
            const ColumnKind kind = t.source == ExportLayout::Total::Source::RowCount
                                        ? ColumnKind::Count
                                        : table.column(table.requireColumn(t.field)).kind;
            wb.setValue(lastRow, t.column, totalCell(t, table), numberFormat(kind));
        }
    }
    wb.setBody(bodyOf(layout, table, std::move(source), progress));
    if (!layout.reduced) {
        wb.setBorders(Workbook::Range::parse(QStringLiteral("A2:") + last +
                                             QString::number(std::max(lastRow, 2))));
    }
    setUpPage(wb, layout);
    return wb;
}

QString SpreadsheetExport::exportFolder(const QString& programDir) {
    return QDir(programDir).filePath(QStringLiteral("Export"));
}

QString SpreadsheetExport::safeFileName(const QString& title) {
    // A book may be called "A/B": the title must not lead the file into another folder.
    static const QRegularExpression unsafe(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    QString base = title;
    base.replace(unsafe, QStringLiteral("_"));
    base = base.trimmed();
    if (base.isEmpty() || base.startsWith(QLatin1Char('.'))) base.prepend(QLatin1Char('_'));
    return base;
}

QString SpreadsheetExport::fileFor(const QString& programDir, const QString& title,
                                   const QDateTime& at) {
    QString base = safeFileName(title);
    base += QLatin1Char('_') + at.toString(QStringLiteral("yyyyMMdd_HHmmss"));
    const QDir dir(exportFolder(programDir));
    QString path = dir.filePath(base + QStringLiteral(".xlsx"));
    for (int n = 2; QFileInfo::exists(path); ++n) {
        path = dir.filePath(base + QLatin1Char('_') + QString::number(n) + QStringLiteral(".xlsx"));
    }
    return path;
}

}  // namespace cw
