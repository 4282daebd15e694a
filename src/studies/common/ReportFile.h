#pragma once

#include <QString>
#include <QStringList>

class QIODevice;
class QTextDocument;

namespace ryn {
struct SaveFailure;
}

// The report as the files a biologist keeps or sends: the rich text saved as
// its HTML under an .rtf name (the program's habit, which word processors
// open), an HTML page, an OpenDocument text and a PDF whose wide tables are
// cut to the page (ReportPages). The window's save dialog offers them as
// filters, the .rtf one first; quorvel-calc writes the same files.
namespace ReportFile {

enum Format { RichText, Html, OpenDocument, Pdf };

// The save dialog's filters, in the order of Format.
QStringList filters();
// The format of a filter of filters(); the first for any other text.
Format formatOf(const QString& filter);

// Writes report in format to device, open for writing; an empty text when
// done, else the reason it failed.
QString write(const QTextDocument& report, Format format, QIODevice& device);

// Writes report to path in format; path is replaced only by a complete file.
// False, with *failure saying why, when it cannot be written.
bool save(const QTextDocument& report, const QString& path, Format format,
          ryn::SaveFailure* failure = nullptr);

} // namespace ReportFile
