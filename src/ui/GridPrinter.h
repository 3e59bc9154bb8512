#pragma once

#include <QString>
#include <QVector>

#include <functional>

class QObject;
class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QPrintPreviewDialog;
class QRectF;
class QTableWidget;
class QWidget;

namespace stolvar {

class Messages;

// Paints the grid as it is shown (texts, merged cells, fonts, row heights, column widths,
// alignment, cell borders), scaled to the width of pageRect. Rows that do not fit go on
// further pages of the painter's paged device. Returns the number of pages painted.
// A `heading` is a line above the grid on every page, with "第i页，共n页" at its right.
int PaintGrid(QPainter& painter, const QTableWidget& grid, const QRectF& pageRect, const QString& heading = {});

// A4 portrait; the left and right margins are 1 mm so that a form uses the whole width.
void ApplyGridPageLayout(QPagedPaintDevice& device);

// Writes the grid to a PDF file; false when the file could not be written.
bool WriteGridPdf(const QTableWidget& grid, const QString& path, const QString& heading = {});

// A file a print preview saves its target to: the action's caption (also its objectName and
// the file dialog's title), the file filter, the suffix a name without it gets, the writer.
struct PreviewSaveFormat {
    QString caption;
    QString filter;
    QString suffix;
    std::function<bool(const QString& path)> write;
};

// A print preview laid out like the grids' pages, named "打印预览": `paint` paints the target
// on the printer at every request, and each format is an action behind a separator on the
// tool bar that asks for a file name through `messages` and saves (a failed write is said).
// Once the target is gone nothing is painted or saved. The caller owns the dialog; printer
// and messages must outlive it.
QPrintPreviewDialog* CreateTargetPreview(QObject* target, QPrinter* printer, QWidget* parent, Messages& messages,
                                         std::function<void(QPrinter*)> paint,
                                         const QVector<PreviewSaveFormat>& formats);
// A print preview of the grid on `printer`, with an action (objectName "另存为PDF") that
// asks for a file name through `messages` and saves the grid as PDF. The caller owns the
// dialog; grid, printer and messages must outlive it.
QPrintPreviewDialog* CreateGridPreview(QTableWidget* grid, QPrinter* printer, QWidget* parent, Messages& messages,
                                       const QString& heading = {});

// Opens the modal print preview of the grid, from which the clerk prints or saves a PDF.
void PrintGridWithPreview(QTableWidget* grid, QWidget* parent, Messages& messages, const QString& heading = {});

} // namespace stolvar
