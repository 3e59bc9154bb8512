#include "ui/GridPrinter.h"

#include "core/Messages.h"
#include "ui/GridGeometry.h"

#include <QAction>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTableWidget>
#include <QToolBar>

#include <algorithm>
#include <memory>

namespace stolvar {

namespace {

constexpr double kTextPadding = 3.0;   // screen pixels between a border and its text
constexpr double kBorderWidth = 1.0;

// The item's font as the grid shows it, sized for the painter: the painter is scaled
// from screen pixels to the page, so the font is given its screen size in pixels.
QFont PrintFont(const QTableWidget& grid, const QTableWidgetItem& item, const QPaintDevice& device)
{
    QFont font = item.data(Qt::FontRole).isValid() ? item.font() : grid.font();
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * grid.logicalDpiY() / device.logicalDpiY());
    // The family stays the grid's own: Chinese characters it lacks are drawn from the
    // system's CJK fallback font, while Latin digits and ℃ keep the grid's font.
    return font;
}

int TextFlags(const QTableWidgetItem& item)
{
    Qt::Alignment alignment = Qt::Alignment(item.textAlignment());
    if (!(alignment & Qt::AlignHorizontal_Mask))
        alignment |= Qt::AlignLeft;
    // Cells are always centred vertically.
    if (!(alignment & Qt::AlignVertical_Mask))
        alignment |= Qt::AlignVCenter;
    return int(alignment) | Qt::TextWordWrap;
}

void PaintCell(QPainter& painter, const QTableWidget& grid, const QRectF& rect, const QTableWidgetItem* item)
{
    if (item && item->background().style() != Qt::NoBrush)
        painter.fillRect(rect, item->background());
    painter.setPen(QPen(Qt::black, kBorderWidth));
    painter.drawRect(rect);
    if (!item || item->text().isEmpty())
        return;
    painter.setFont(PrintFont(grid, *item, *painter.device()));
    const QBrush foreground = item->foreground();
    painter.setPen(foreground.style() == Qt::NoBrush ? QColor(Qt::black) : foreground.color());
    const QRectF textRect = rect.adjusted(kTextPadding, 1, -kTextPadding, -1);
    painter.drawText(textRect, TextFlags(*item), item->text());
}

// A merged cell is painted from its top-left cell, or from the page's first row when a
// page break had to cut through it.
bool PaintsCell(const GridGeometry& g, const PageRows& page, int row, int column)
{
    const QPoint origin = g.origin(row, column);
    if (origin == QPoint(column, row))
        return true;
    return origin.x() == column && origin.y() < page.first && row == page.first;
}

void PaintPage(QPainter& painter, const QTableWidget& grid, const GridGeometry& g, const PageRows& page)
{
    const QRectF pageArea(0, g.top(page.first), g.width(), g.bottom(page.last) - g.top(page.first));
    painter.save();
    painter.translate(0, -pageArea.top());
    painter.setClipRect(pageArea.adjusted(-kBorderWidth, -kBorderWidth, kBorderWidth, kBorderWidth));
    for (int row = page.first; row <= page.last; ++row) {
        for (int column = 0; column < g.columns(); ++column) {
            if (!PaintsCell(g, page, row, column))
                continue;
            const QPoint origin = g.origin(row, column);
            const QRectF rect = g.cellRect(origin.y(), origin.x());
            if (!rect.isEmpty())
                PaintCell(painter, grid, rect, grid.item(origin.y(), origin.x()));
        }
    }
    painter.restore();
}

void StartNewPage(QPainter& painter)
{
    if (auto* paged = dynamic_cast<QPagedPaintDevice*>(painter.device()))
        paged->newPage();
}

QRectF PaintArea(const QPageLayout& layout, int resolution)
{
    return QRectF(QPointF(0, 0), layout.paintRectPixels(resolution).size());
}

void PaintOnPrinter(QPrinter* printer, const QTableWidget& grid, const QString& heading)
{
    QPainter painter(printer);
    if (painter.isActive())
        PaintGrid(painter, grid, PaintArea(printer->pageLayout(), printer->resolution()), heading);
}

// The heading's line: its text at the left, the page count at the right, in the grid's
// font, scaled as the grid is.
void PaintHeading(QPainter& painter, const QTableWidget& grid, const QRectF& line, const QString& heading, int page,
                  int pages)
{
    painter.save();
    QFont font = grid.font();
    font.setPointSizeF(font.pointSizeF() * grid.logicalDpiY() / painter.device()->logicalDpiY());
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, heading);
    painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("第%1页，共%2页").arg(page).arg(pages));
    painter.restore();
}

void SaveTarget(QWidget* parent, Messages& messages, const PreviewSaveFormat& format)
{
    QString path = messages.saveFileName(parent, format.caption, QString(), format.filter);
    if (path.isEmpty())
        return;
    if (!path.endsWith(format.suffix, Qt::CaseInsensitive))
        path += format.suffix;
    if (!format.write(path))
        messages.show(parent, format.suffix.mid(1).toUpper() + QStringLiteral("文件保存失败：") + path,
                      Messages::DefaultTitle(), Messages::Icon::Warning);
}

} // namespace

int PaintGrid(QPainter& painter, const QTableWidget& grid, const QRectF& pageRect, const QString& heading)
{
    const GridGeometry geometry(grid);
    if (geometry.rows() == 0 || geometry.width() <= 0 || pageRect.isEmpty())
        return 0;
    const double scale = pageRect.width() / (geometry.width() + kBorderWidth);
    // In screen pixels, like the rows: the heading's line takes a row of its font's height.
    const double headingHeight = heading.isEmpty() ? 0 : QFontMetricsF(grid.font()).height() * 1.6;
    const QVector<PageRows> pages = SplitIntoPages(geometry, pageRect.height() / scale - kBorderWidth - headingHeight);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0)
            StartNewPage(painter);
        painter.save();
        painter.translate(pageRect.topLeft() + QPointF(kBorderWidth, kBorderWidth) * scale / 2);
        painter.scale(scale, scale);
        if (!heading.isEmpty()) {
            PaintHeading(painter, grid, QRectF(0, 0, geometry.width(), headingHeight), heading, int(i + 1),
                         int(pages.size()));
            painter.translate(0, headingHeight);
        }
        PaintPage(painter, grid, geometry, pages[i]);
        painter.restore();
    }
    return int(pages.size());
}

void ApplyGridPageLayout(QPagedPaintDevice& device)
{
    QPageLayout layout = device.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    layout.setPageSize(QPageSize(QPageSize::A4));
    layout.setOrientation(QPageLayout::Portrait);
    const QMarginsF least = layout.minimumMargins();
    layout.setMargins(QMarginsF(std::max(1.0, least.left()), std::max(10.0, least.top()),
                                std::max(1.0, least.right()), std::max(10.0, least.bottom())));
    device.setPageLayout(layout);
}

bool WriteGridPdf(const QTableWidget& grid, const QString& path, const QString& heading)
{
    QPdfWriter writer(path);
    writer.setCreator(QStringLiteral("stolvar"));
    ApplyGridPageLayout(writer);
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    PaintGrid(painter, grid, PaintArea(writer.pageLayout(), writer.resolution()), heading);
    return painter.end();
}

QPrintPreviewDialog* CreateTargetPreview(QObject* target, QPrinter* printer, QWidget* parent, Messages& messages,
                                         std::function<void(QPrinter*)> paint,
                                         const QVector<PreviewSaveFormat>& formats)
{
    ApplyGridPageLayout(*printer);
    auto* dialog = new QPrintPreviewDialog(printer, parent);
    dialog->setObjectName(QStringLiteral("打印预览"));
    dialog->setWindowTitle(QStringLiteral("打印预览"));
    QPointer<QObject> guard(target);
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog, [guard, paint = std::move(paint)](QPrinter* to) {
        if (guard)
            paint(to);
    });
    auto* toolBar = dialog->findChild<QToolBar*>();
    if (toolBar)
        toolBar->addSeparator();
    for (const PreviewSaveFormat& format : formats) {
        auto* action = new QAction(format.caption, dialog);
        action->setObjectName(format.caption);
        QObject::connect(action, &QAction::triggered, dialog, [dialog, guard, &messages, format] {
            if (guard)
                SaveTarget(dialog, messages, format);
        });
        if (toolBar)
            toolBar->addAction(action);
        else
            dialog->addAction(action);
    }
    return dialog;
}

QPrintPreviewDialog* CreateGridPreview(QTableWidget* grid, QPrinter* printer, QWidget* parent, Messages& messages,
                                       const QString& heading)
{
    return CreateTargetPreview(
        grid, printer, parent, messages, [grid, heading](QPrinter* to) { PaintOnPrinter(to, *grid, heading); },
        {{QStringLiteral("另存为PDF"), QStringLiteral("PDF 文件 (*.pdf)"), QStringLiteral(".pdf"),
          [grid, heading](const QString& path) { return WriteGridPdf(*grid, path, heading); }}});
}

void PrintGridWithPreview(QTableWidget* grid, QWidget* parent, Messages& messages, const QString& heading)
{
    QPrinter printer(QPrinter::HighResolution);
    std::unique_ptr<QPrintPreviewDialog> dialog(CreateGridPreview(grid, &printer, parent, messages, heading));
    dialog->exec();
}

} // namespace stolvar
