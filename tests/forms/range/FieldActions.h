#pragma once

#include "forms/range/RangeLineEdit.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>

#include <memory>

namespace quorvel::test {

// Chooses an entry of the field's context menu, as the user would.
inline void triggerMenuAction(RangeLineEdit* field, const char* objectName)
{
    std::unique_ptr<QMenu> menu(field->createEditMenu());
    for (QAction* action : menu->actions())
        if (action->objectName() == QLatin1String(objectName))
            action->trigger();
}

// Closes the message boxes the code under test has opened and returns their
// texts, so that no test ever waits on one.
inline QStringList closeOpenMessageBoxes()
{
    QStringList texts;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (box && box->isVisible()) {
            texts << box->text();
            box->close();
        }
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return texts;
}

} // namespace quorvel::test
