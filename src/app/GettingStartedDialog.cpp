#include "app/GettingStartedDialog.h"

#include "framework/window/ScreenFit.h"
#include "resources/QuorvelResources.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

GettingStartedDialog::GettingStartedDialog(QWidget* parent)
    : QDialog(parent)
{
    quorvel::initResources();
    setWindowTitle(tr("Getting started"));
    auto* page = new QTextBrowser(this);
    page->setObjectName(QStringLiteral("GettingStartedPage"));
    QFile file(QStringLiteral(":/help/getting-started.html"));
    if (file.open(QIODevice::ReadOnly))
        page->setHtml(QString::fromUtf8(file.readAll()));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(page);
    layout->addWidget(buttons);
    ryn::screenfit::fitToScreen(this, QSize(560, 520));
}
