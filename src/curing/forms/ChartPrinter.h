#pragma once

#include <QString>

class QChartView;
class QPrinter;
class QPrintPreviewDialog;
class QWidget;

namespace stolvar {

class Messages;

// Writes the chart as a PDF page or a PNG picture; false when the file could not be written.
bool WriteChartPdf(QChartView& view, const QString& path);
bool WriteChartPng(QChartView& view, const QString& path);

// The print preview the grids use, painting the chart, with "另存为PDF" and "另存为PNG".
QPrintPreviewDialog* CreateChartPreview(QChartView* view, QPrinter* printer, QWidget* parent, Messages& messages);
void PrintChartWithPreview(QChartView* view, QWidget* parent, Messages& messages);

} // namespace stolvar
