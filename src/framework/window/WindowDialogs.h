#pragma once

#include "framework/files/SaveChoice.h"

#include <QString>
#include <QStringList>

#include <functional>

class QPrinter;
class QWidget;

namespace ryn {

// The file and print dialogs the program's windows ask their user through.
// The program shows Qt's dialogs (the platform's own where there are any); a
// test puts its own answers in their place, so that no test waits on a
// dialog.
class WindowDialogs
{
public:
    virtual ~WindowDialogs();

    // A file to save to, empty when the user cancels: the dialog starts at
    // proposal with the filter *chosenFilter names chosen (the first of
    // filters when it names none of them); *chosenFilter is the filter in
    // force when the user answered.
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& proposal,
                                 const QStringList& filters, QString* chosenFilter);
    // A file to open, empty when the user cancels.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter);
    // The print dialog for printer, titled title, offering to print only the
    // selection when offerSelection; true when the user prints.
    virtual bool acceptPrint(QPrinter* printer, QWidget* parent, const QString& title,
                             bool offerSelection);
    // The print preview of printer: paint draws the pages, as often as the
    // dialog asks. Returns when the user closes it.
    virtual void preview(QPrinter* printer, QWidget* parent,
                         const std::function<void(QPrinter*)>& paint);

    // Every save of the program asks here: the dialog starts at
    // folder/baseName with the extension of filters[type], that type chosen;
    // the answer is read by SaveChoice (the chosen type's extension added to
    // a name without one). An empty path when the user cancels.
    SaveChoice askSave(QWidget* parent, const QString& caption, const QString& folder,
                       const QString& baseName, const QStringList& filters, int type = 0);
};

} // namespace ryn
