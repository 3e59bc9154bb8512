#include "strength/EvaluationRecord.h"

#include "model/strength/StrengthTexts.h"
#include "ui/GridCells.h"
#include "ui/GridGeometry.h"
#include "ui/GridPrinter.h"

#include <QImage>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTableWidget>

namespace stolvar {

namespace {

constexpr int kColumns = 11;
constexpr int kLast = kColumns - 1;
constexpr int kRecordColumnWidths[kColumns] = {36, 104, 104, 104, 36, 100, 48, 48, 48, 52, 116};
constexpr int kRowHeight = 28;
constexpr double kPngScale = 2.0;   // screen pixels to picture pixels: sharp enough to print

class Record
{
public:
    explicit Record(QTableWidget* grid) : m_grid(grid) {}

    // A text across columns first..last of a new row.
    int line(const QString& text, int first = 0, int last = kLast, int height = kRowHeight,
             Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
    {
        const int row = m_grid->rowCount();
        m_grid->setRowCount(row + 1);
        m_grid->setRowHeight(row, height);
        put(row, first, last, text, alignment);
        return row;
    }

    void put(int row, int first, int last, const QString& text, Qt::Alignment alignment)
    {
        if (last > first)
            m_grid->setSpan(row, first, 1, last - first + 1);
        SetCellText(m_grid, row, first, text);
        AlignCells(m_grid, row, first, row, first, alignment);
    }

    void cells(const QStringList& texts, bool bold = false)
    {
        const int row = m_grid->rowCount();
        m_grid->setRowCount(row + 1);
        m_grid->setRowHeight(row, kRowHeight);
        for (int c = 0; c < texts.size() && c < kColumns; ++c) {
            put(row, c, c, texts[c], Qt::AlignCenter);
            if (bold) {
                QFont font = CellItem(m_grid, row, c)->font();
                font.setBold(true);
                CellItem(m_grid, row, c)->setFont(font);
            }
        }
    }

private:
    QTableWidget* m_grid;
};

void AddHeading(Record& record, QTableWidget* grid, const RecordHeading& heading)
{
    const int title = record.line(EvaluationRecordTitle(), 0, kLast, 44, Qt::AlignCenter);
    QFont font = CellItem(grid, title, 0)->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.6);
    CellItem(grid, title, 0)->setFont(font);
    const int scope = record.line(QStringLiteral("工程名称：") + heading.project, 0, 4);
    record.put(scope, 5, 7, QStringLiteral("强度等级：") + heading.grade, Qt::AlignLeft | Qt::AlignVCenter);
    record.put(scope, 8, kLast, QStringLiteral("养护条件：") + heading.kind, Qt::AlignLeft | Qt::AlignVCenter);
    const int range = record.line(QStringLiteral("成型日期：") + heading.dates, 0, 4);
    record.put(range, 5, kLast, QStringLiteral("评定方法：") + heading.method, Qt::AlignLeft | Qt::AlignVCenter);
}

void AddVerdict(Record& record, const ScopeEvaluation& evaluation)
{
    if (!evaluation.lot) {
        record.line(evaluation.resultText);
        return;
    }
    const LotEvaluation& lot = *evaluation.lot;
    record.line(QStringLiteral("统计：") + LotSummaryText(lot));
    for (const QString& condition : LotConditionTexts(lot))
        record.line(LotMethodHeading(lot) + u'：' + condition);
    record.line(LotVerdictText(lot));
}

void AddSignatures(Record& record)
{
    const int row = record.line(QStringLiteral("计算："), 0, 4);
    record.put(row, 5, kLast, QStringLiteral("审核："), Qt::AlignLeft | Qt::AlignVCenter);
    const Qt::Alignment topLeft = Qt::AlignLeft | Qt::AlignTop;
    record.line(QStringLiteral("施工单位评定结果："), 0, kLast, 64, topLeft);
    record.line(QStringLiteral("监理（建设）单位验收结论："), 0, kLast, 64, topLeft);
    const int date = record.line(QString(), 0, 4);
    record.put(date, 5, kLast, QStringLiteral("日期：　　　　年　　月　　日"), Qt::AlignLeft | Qt::AlignVCenter);
}

bool WriteRecordPdf(const QTableWidget& record, const QString& path)
{
    return WriteGridPdf(record, path);
}

void PaintOnPrinter(QPrinter* printer, const QTableWidget& record)
{
    QPainter painter(printer);
    if (painter.isActive())
        PaintGrid(painter, record, QRectF(QPointF(0, 0), printer->pageLayout().paintRectPixels(printer->resolution()).size()));
}

} // namespace

QString EvaluationRecordTitle()
{
    return QStringLiteral("混凝土试块强度统计、评定记录");
}

std::unique_ptr<QTableWidget> BuildEvaluationRecord(const StrengthRegister& reg, const ScopeEvaluation& evaluation,
                                                    const RecordHeading& heading, double conversion)
{
    auto grid = std::make_unique<QTableWidget>(0, kColumns);
    grid->setObjectName(QStringLiteral("强度评定记录"));
    for (int c = 0; c < kColumns; ++c)
        grid->setColumnWidth(c, kRecordColumnWidths[c]);
    Record record(grid.get());
    AddHeading(record, grid.get(), heading);
    record.cells(EvaluationHeader(), true);
    int serial = 0;
    for (const EvaluationRow& row : evaluation.rows)
        record.cells(EvaluationCells(reg, row, ++serial, conversion));
    AddVerdict(record, evaluation);
    AddSignatures(record);
    return grid;
}

bool WriteRecordPng(const QTableWidget& record, const QString& path)
{
    const GridGeometry geometry(record);
    if (geometry.rows() == 0)
        return false;
    const QSizeF area(geometry.width() * kPngScale, (geometry.bottom(geometry.rows() - 1) + 4) * kPngScale);
    QImage image(area.toSize() + QSize(40, 40), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PaintGrid(painter, record, QRectF(QPointF(20, 20), area));
    }
    return image.save(path, "PNG");
}

QPrintPreviewDialog* CreateRecordPreview(QTableWidget* record, QPrinter* printer, QWidget* parent, Messages& messages)
{
    return CreateTargetPreview(
        record, printer, parent, messages, [record](QPrinter* to) { PaintOnPrinter(to, *record); },
        {{QStringLiteral("另存为PDF"), QStringLiteral("PDF 文件 (*.pdf)"), QStringLiteral(".pdf"),
          [record](const QString& path) { return WriteRecordPdf(*record, path); }},
         {QStringLiteral("另存为PNG"), QStringLiteral("PNG 图片 (*.png)"), QStringLiteral(".png"),
          [record](const QString& path) { return WriteRecordPng(*record, path); }}});
}

} // namespace stolvar
