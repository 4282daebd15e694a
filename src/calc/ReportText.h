#pragma once

#include "calc/CommandLine.h"

#include <QByteArray>
#include <QString>

class QTextDocument;

// A report document as plain text for a terminal or a text file: each
// paragraph on its own lines, each table as aligned columns (the report
// tables with a rule under their header row), an empty line between them.
QString reportText(const QTextDocument& document);

// A report document as the file of format (Html, Odt or Pdf) the window saves
// (ReportFile): an HTML page, an OpenDocument text or a PDF with wide tables
// cut to the page. Empty, with *error saying why, when it cannot be written.
QByteArray reportFile(const QTextDocument& document, CalcRequest::Format format, QString* error);
