#include "studies/common/ReportFile.h"

#include "framework/files/SaveFile.h"
#include "studies/common/ReportPages.h"

#include <QBuffer>
#include <QObject>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextStream>

namespace ReportFile {

QStringList filters()
{
    // The first writes HTML, under the .rtf name, and says so.
    return {QObject::tr("HTML as rich text (*.rtf)"), QObject::tr("HTML (*.html *.htm)"),
            QObject::tr("OpenDocument Text (*.odt)"), QObject::tr("PDF (*.pdf)")};
}

Format formatOf(const QString& filter)
{
    const int index = filters().indexOf(filter);
    return index < 0 ? RichText : static_cast<Format>(index);
}

namespace {

// Qt's rich-text HTML without a character-set declaration, in the system's
// encoding, and one end of line.
QString writeRichText(const QTextDocument& report, QIODevice& device)
{
    QTextStream stream(&device);
    stream << report.toHtml() << Qt::endl;
    return QString();
}

// A page a browser reads: UTF-8, and declared so.
QString writeHtml(const QTextDocument& report, QIODevice& device)
{
    QTextStream stream(&device);
    stream.setCodec("UTF-8");
    stream << report.toHtml("utf-8") << Qt::endl;
    return QString();
}

// The document's zip writer closes its device when done, which a file saved
// whole must not be before it is complete: the text goes through a buffer.
QString writeOpenDocument(const QTextDocument& report, QIODevice& device)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QTextDocumentWriter writer(&buffer, "odf");
    if (!writer.write(&report))
        return QObject::tr("the OpenDocument text could not be written");
    return device.write(buffer.data()) == buffer.size() ? QString() : device.errorString();
}

// Paginated as the report prints, its wide tables cut to the page, at screen
// resolution so that a page holds what the window shows at its width.
QString writePdf(const QTextDocument& report, QIODevice& device)
{
    QPdfWriter pdf(&device);
    pdf.setTitle(report.metaInformation(QTextDocument::DocumentTitle));
    pdf.setResolution(96);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    ReportPages::print(report, &pdf);
    return QString();
}

} // namespace

QString write(const QTextDocument& report, Format format, QIODevice& device)
{
    switch (format) {
    case Html:
        return writeHtml(report, device);
    case OpenDocument:
        return writeOpenDocument(report, device);
    case Pdf:
        return writePdf(report, device);
    case RichText:
        break;
    }
    return writeRichText(report, device);
}

bool save(const QTextDocument& report, const QString& path, Format format,
          ryn::SaveFailure* failure)
{
    const bool text = format == RichText || format == Html;
    return ryn::saveFile(
        path, text ? QIODevice::Text : QIODevice::NotOpen,
        [&report, format](QIODevice& device) { return write(report, format, device); }, failure);
}

} // namespace ReportFile
