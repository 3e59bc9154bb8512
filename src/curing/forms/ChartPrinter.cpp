#include "curing/forms/ChartPrinter.h"

#include "core/Messages.h"
#include "ui/GridPrinter.h"

#include <QGraphicsView>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <memory>

namespace stolvar {

namespace {

// The chart keeps the proportions it has on the screen, as wide as the page allows.
QRectF ChartArea(const QPageLayout& layout, int resolution, const QGraphicsView& view)
{
    const QSizeF page = layout.paintRectPixels(resolution).size();
    const QSizeF shown = view.viewport()->size();
    if (shown.isEmpty())
        return QRectF(QPointF(0, 0), page);
    return QRectF(QPointF(0, 0), shown.scaled(page, Qt::KeepAspectRatio));
}

void RenderChart(QGraphicsView& view, QPainter& painter, const QRectF& target)
{
    painter.setRenderHint(QPainter::Antialiasing);
    view.render(&painter, target, view.viewport()->rect());
}

void PaintOnPrinter(QPrinter* printer, QGraphicsView& view)
{
    QPainter painter(printer);
    if (painter.isActive())
        RenderChart(view, painter, ChartArea(printer->pageLayout(), printer->resolution(), view));
}

} // namespace

bool WriteChartPng(QGraphicsView& view, const QString& path)
{
    return view.grab().save(path, "PNG");
}

bool WriteChartPdf(QGraphicsView& view, const QString& path)
{
    QPdfWriter writer(path);
    writer.setCreator(QStringLiteral("stolvar"));
    ApplyGridPageLayout(writer);
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    RenderChart(view, painter, ChartArea(writer.pageLayout(), writer.resolution(), view));
    return painter.end();
}

QPrintPreviewDialog* CreateChartPreview(QGraphicsView* view, QPrinter* printer, QWidget* parent, Messages& messages)
{
    return CreateTargetPreview(
        view, printer, parent, messages, [view](QPrinter* to) { PaintOnPrinter(to, *view); },
        {{QStringLiteral("另存为PDF"), QStringLiteral("PDF 文件 (*.pdf)"), QStringLiteral(".pdf"),
          [view](const QString& path) { return WriteChartPdf(*view, path); }},
         {QStringLiteral("另存为PNG"), QStringLiteral("PNG 图片 (*.png)"), QStringLiteral(".png"),
          [view](const QString& path) { return WriteChartPng(*view, path); }}});
}

void PrintChartWithPreview(QGraphicsView* view, QWidget* parent, Messages& messages)
{
    QPrinter printer(QPrinter::HighResolution);
    std::unique_ptr<QPrintPreviewDialog> dialog(CreateChartPreview(view, &printer, parent, messages));
    dialog->exec();
}

} // namespace stolvar
