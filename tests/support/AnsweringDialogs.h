#pragma once

#include "framework/window/WindowDialogs.h"

#include <gtest/gtest.h>

#include <QPrinter>
#include <QString>
#include <QStringList>

namespace quorvel::test {

// File and print dialogs that answer as a test sets them and note what they
// were asked: each save dialog's proposal and the filter it started on. The
// save dialog keeps the filter it starts on unless the test chose one;
// printing goes to a PDF file.
class AnsweringDialogs : public ryn::WindowDialogs
{
public:
    QString savePath;
    QString saveFilter;
    QString openPath;
    QString pdfPath;
    QStringList proposals;
    QStringList startFilters;

    QString saveFileName(QWidget*, const QString&, const QString& proposal,
                         const QStringList& filters, QString* chosenFilter) override
    {
        proposals << proposal;
        startFilters << *chosenFilter;
        EXPECT_TRUE(filters.contains(*chosenFilter)) << chosenFilter->toStdString();
        if (!saveFilter.isEmpty())
            *chosenFilter = saveFilter;
        return savePath;
    }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return openPath;
    }
    bool acceptPrint(QPrinter* printer, QWidget*, const QString&, bool) override
    {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdfPath);
        return true;
    }
};

} // namespace quorvel::test
