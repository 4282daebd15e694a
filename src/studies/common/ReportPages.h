#pragma once

#include <vector>

class QPagedPaintDevice;
class QTextDocument;

// The report on paper (printer, print preview, PDF). A report table keeps its
// cells on one line, so a table of many reaches is wider than a page and the
// page would cut off its right-hand columns. Here every table too wide for
// the page is cut into blocks of whole columns that each fit, one under the
// other; each block repeats the table's head row and its lead columns (the
// row labels or the ranged value, as the table marks them), so that every
// column of the screen's report is on paper under its head.
namespace ReportPages {

// The cut of one table: columnWidths are the widths its columns take (the
// lead columns first), around what the table adds around them (its margin
// and outer borders). The value columns (those after the lead columns) are
// shared, in order, into parts that each fit width together with the lead
// columns and around; a part holds at least one column, so a column wider
// than the page is a part of its own. Every value column is in exactly one
// part.
std::vector<std::vector<int>> cutColumns(const std::vector<double>& columnWidths, double around,
                                         int leadColumns, double width);

// Cuts every table of report wider than width (in the units of the layout of
// report) into blocks of whole columns no wider than width. A single column
// wider than width stays as it is.
void fitTablesToWidth(QTextDocument& report, double width);

// Prints report on printer, its tables cut to the width of the printer's
// pages; report itself is left as it is.
void print(const QTextDocument& report, QPagedPaintDevice* printer);

} // namespace ReportPages
