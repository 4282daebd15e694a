#include "framework/window/WindowDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace ryn {

WindowDialogs::~WindowDialogs() = default;

QString WindowDialogs::saveFileName(QWidget* parent, const QString& caption,
                                    const QString& proposal, const QStringList& filters,
                                    QString* chosenFilter)
{
    const QString separator = QStringLiteral(";;");
    if (!filters.contains(*chosenFilter))
        *chosenFilter = filters.value(0);
    return QFileDialog::getSaveFileName(parent, caption, proposal, filters.join(separator),
                                        chosenFilter);
}

QString WindowDialogs::openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                    const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

bool WindowDialogs::acceptPrint(QPrinter* printer, QWidget* parent, const QString& title,
                                bool offerSelection)
{
    QPrintDialog dialog(printer, parent);
    dialog.setWindowTitle(title);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, offerSelection);
    return dialog.exec() == QDialog::Accepted;
}

void WindowDialogs::preview(QPrinter* printer, QWidget* parent,
                            const std::function<void(QPrinter*)>& paint)
{
    QPrintPreviewDialog dialog(printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, paint);
    dialog.exec();
}

SaveChoice WindowDialogs::askSave(QWidget* parent, const QString& caption, const QString& folder,
                                  const QString& baseName, const QStringList& filters, int type)
{
    QString filter = filters.value(type);
    const QString proposal = QDir(folder).filePath(SaveChoice::proposal(baseName, filter));
    const QString answer = saveFileName(parent, caption, proposal, filters, &filter);
    if (answer.isEmpty())
        return SaveChoice();
    return SaveChoice::of(answer, filters, filter);
}

} // namespace ryn
