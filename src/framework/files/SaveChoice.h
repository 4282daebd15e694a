#pragma once

#include <QString>
#include <QStringList>

namespace ryn {

// What a save dialog's answer asks to be written: the file and the type of
// the dialog's filters to write it as. A name without an extension gets that
// of the chosen type, so that the file is listed again by an open dialog
// filtering on that type; a name whose extension belongs to another offered
// type is written as that type, so that "plot.svg" is an SVG image whichever
// type was chosen in the list. A name with any other extension is written as
// the chosen type under that name.
struct SaveChoice
{
    QString path;
    // The index of the type in the dialog's filters.
    int type = 0;

    // path as answered, filters as offered ("PDF (*.pdf)"), chosenFilter the
    // one in force when the user answered (the first when it is none of them).
    static SaveChoice of(const QString& path, const QStringList& filters,
                         const QString& chosenFilter);
    // The extensions a filter names, in its order, without "*.": "html" and
    // "htm" of "HTML (*.html *.htm)".
    static QStringList extensionsOf(const QString& filter);
    // baseName with the first extension of filter: the name a save dialog
    // proposes for that type ("paired" and "PDF (*.pdf)" give "paired.pdf").
    static QString proposal(const QString& baseName, const QString& filter);
    // A file name made of a title: lower case, its blanks and other
    // characters that are no letter or digit one '-' ("Single Release" gives
    // "single-release").
    static QString fileNameOf(const QString& title);
};

} // namespace ryn
