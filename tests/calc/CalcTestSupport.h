#pragma once

#include "studies/common/StudySubWindow.h"
#include "studies/design/Design.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace ryn {
class RynSettings;
}

namespace quorvel::test {

// What one run of the quorvel-calc executable gave.
struct CalcResult
{
    int status = -1;
    QString out;
    QString err;
};

// Runs quorvel-calc with arguments in folder (the test's working folder when
// empty), without a display or a chosen Qt platform; configHome, when given,
// is where it finds the user's settings.
CalcResult runCalc(const QStringList& arguments, const QString& folder = QString(),
                   const QString& configHome = QString());

// The example design file of a design ("examples/btps.json").
QString examplePath(const QString& design);
QByteArray exampleText(const QString& design);

// The window of a design, on store.
std::unique_ptr<StudySubWindow> windowFor(Design::Kind kind, ryn::RynSettings* store);

// The report the window writes after its run, as quorvel-calc prints it.
QString reportOf(StudySubWindow& window);

} // namespace quorvel::test
