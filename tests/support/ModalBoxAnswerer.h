#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace quorvel::test {

// Answers the modal message boxes that appear while it lives, noting each as
// "title|text" (with "|critical" for a critical box), so that no test waits on
// a box: with the button answer where the box has it, else with Ok.
class ModalBoxAnswerer : public QObject
{
public:
    explicit ModalBoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok)
    {
        connect(&timer, &QTimer::timeout, this, [this, answer] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                const bool critical = box->icon() == QMessageBox::Critical;
                seen << box->windowTitle() + "|" + box->text() + (critical ? "|critical" : "");
                if (QAbstractButton* button = box->button(answer))
                    button->click();
                else
                    box->done(QMessageBox::Ok);
            }
        });
        timer.start(20);
    }

    QStringList seen;

private:
    QTimer timer;
};

} // namespace quorvel::test
