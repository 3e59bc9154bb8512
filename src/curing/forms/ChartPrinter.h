#pragma once

#include <QString>

class QGraphicsView;
class QPrinter;
class QPrintPreviewDialog;
class QWidget;

namespace stolvar {

class Messages;

// Writes the chart as a PDF page or a PNG picture; false when the file could not be written.
bool WriteChartPdf(QGraphicsView& view, const QString& path);
bool WriteChartPng(QGraphicsView& view, const QString& path);

// The print preview the grids use, painting the chart, with "另存为PDF" and "另存为PNG".
QPrintPreviewDialog* CreateChartPreview(QGraphicsView* view, QPrinter* printer, QWidget* parent, Messages& messages);
void PrintChartWithPreview(QGraphicsView* view, QWidget* parent, Messages& messages);

} // namespace stolvar
