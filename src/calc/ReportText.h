#pragma once

#include <QString>

class QTextDocument;

// A report document as plain text for a terminal or a text file: each
// paragraph on its own lines, each table as aligned columns (the report
// tables with a rule under their header row), an empty line between them.
QString reportText(const QTextDocument& document);
