#include "app/ReportFile.h"

#include "framework/files/SaveFile.h"

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
    return {QObject::tr("Rich Text Format (*.rtf)"), QObject::tr("HTML (*.html *.htm)"),
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

// Paginated as the report prints, at screen resolution so that the page
// holds what the window shows at its width.
QString writePdf(const QTextDocument& report, QIODevice& device)
{
    QPdfWriter pdf(&device);
    pdf.setTitle(report.metaInformation(QTextDocument::DocumentTitle));
    pdf.setResolution(96);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    report.print(&pdf);
    return QString();
}

} // namespace

bool save(const QTextDocument& report, const QString& path, Format format,
          ryn::SaveFailure* failure)
{
    switch (format) {
    case Html:
        return ryn::saveFile(
            path, QIODevice::Text,
            [&report](QIODevice& device) { return writeHtml(report, device); }, failure);
    case OpenDocument:
        return ryn::saveFile(
            path, QIODevice::NotOpen,
            [&report](QIODevice& device) { return writeOpenDocument(report, device); }, failure);
    case Pdf:
        return ryn::saveFile(
            path, QIODevice::NotOpen,
            [&report](QIODevice& device) { return writePdf(report, device); }, failure);
    case RichText:
        break;
    }
    return ryn::saveFile(
        path, QIODevice::Text,
        [&report](QIODevice& device) { return writeRichText(report, device); }, failure);
}

} // namespace ReportFile
