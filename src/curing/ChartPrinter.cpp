#include "curing/MaturityChart.h"

#include "core/Messages.h"
#include "curing/GridPrinter.h"

#include <QAction>
#include <QChartView>
#include <QPainter>
#include <QPdfWriter>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>

#include <memory>

namespace stolvar {

namespace {

// The chart keeps the proportions it has on the screen, as wide as the page allows.
QRectF ChartArea(const QPageLayout& layout, int resolution, const QChartView& view)
{
    const QSizeF page = layout.paintRectPixels(resolution).size();
    const QSizeF shown = view.viewport()->size();
    if (shown.isEmpty())
        return QRectF(QPointF(0, 0), page);
    return QRectF(QPointF(0, 0), shown.scaled(page, Qt::KeepAspectRatio));
}

void RenderChart(QChartView& view, QPainter& painter, const QRectF& target)
{
    painter.setRenderHint(QPainter::Antialiasing);
    view.render(&painter, target, view.viewport()->rect());
}

void PaintOnPrinter(QPrinter* printer, QChartView& view)
{
    QPainter painter(printer);
    if (painter.isActive())
        RenderChart(view, painter, ChartArea(printer->pageLayout(), printer->resolution(), view));
}

using Writer = bool (*)(QChartView&, const QString&);

struct SaveFormat {
    QString caption;   // the action and the dialog
    QString filter;
    QString suffix;
    Writer write;
};

void SaveChart(QWidget* parent, QChartView& view, Messages& messages, const SaveFormat& format)
{
    QString path = messages.saveFileName(parent, format.caption, QString(), format.filter);
    if (path.isEmpty())
        return;
    if (!path.endsWith(format.suffix, Qt::CaseInsensitive))
        path += format.suffix;
    if (!format.write(view, path))
        messages.show(parent, format.suffix.mid(1).toUpper() + QStringLiteral("文件保存失败：") + path,
                      Messages::DefaultTitle(), Messages::Icon::Warning);
}

void AddSaveAction(QPrintPreviewDialog* dialog, QChartView* view, Messages& messages, const SaveFormat& format)
{
    auto* action = new QAction(format.caption, dialog);
    action->setObjectName(format.caption);
    QPointer<QChartView> guard(view);
    QObject::connect(action, &QAction::triggered, dialog, [dialog, guard, &messages, format] {
        if (guard)
            SaveChart(dialog, *guard, messages, format);
    });
    if (auto* toolBar = dialog->findChild<QToolBar*>())
        toolBar->addAction(action);
    else
        dialog->addAction(action);
}

} // namespace

bool WriteChartPng(QChartView& view, const QString& path)
{
    return view.grab().save(path, "PNG");
}

bool WriteChartPdf(QChartView& view, const QString& path)
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

QPrintPreviewDialog* CreateChartPreview(QChartView* view, QPrinter* printer, QWidget* parent, Messages& messages)
{
    QPrintPreviewDialog* dialog = CreatePreviewDialog(printer, parent);
    QPointer<QChartView> guard(view);
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog, [guard](QPrinter* target) {
        if (guard)
            PaintOnPrinter(target, *guard);
    });
    if (auto* toolBar = dialog->findChild<QToolBar*>())
        toolBar->addSeparator();
    AddSaveAction(dialog, view, messages,
                  {QStringLiteral("另存为PDF"), QStringLiteral("PDF 文件 (*.pdf)"), QStringLiteral(".pdf"), &WriteChartPdf});
    AddSaveAction(dialog, view, messages,
                  {QStringLiteral("另存为PNG"), QStringLiteral("PNG 图片 (*.png)"), QStringLiteral(".png"), &WriteChartPng});
    return dialog;
}

void PrintChartWithPreview(QChartView* view, QWidget* parent, Messages& messages)
{
    QPrinter printer(QPrinter::HighResolution);
    std::unique_ptr<QPrintPreviewDialog> dialog(CreateChartPreview(view, &printer, parent, messages));
    dialog->exec();
}

} // namespace stolvar
