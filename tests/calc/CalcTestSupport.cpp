#include "CalcTestSupport.h"

#include "calc/ReportText.h"
#include "studies/btps/BTPSSubWindow.h"
#include "studies/release_recapture/window/PairedReleaseSubWindow.h"
#include "studies/release_recapture/window/SingleReleaseSubWindow.h"
#include "studies/tirr/TIRRSubWindow.h"
#include "studies/vwp/VWPSubWindow.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTextCursor>
#include <QTextDocument>

namespace quorvel::test {

CalcResult runCalc(const QStringList& arguments, const QString& folder, const QString& configHome)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    if (!configHome.isEmpty())
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    QProcess calc;
    calc.setProcessEnvironment(environment);
    if (!folder.isEmpty())
        calc.setWorkingDirectory(folder);
    calc.start(QStringLiteral(QUORVEL_CALC), arguments);
    CalcResult result;
    if (!calc.waitForFinished(120000) || calc.exitStatus() != QProcess::NormalExit)
        return result;
    result.status = calc.exitCode();
    result.out = QString::fromUtf8(calc.readAllStandardOutput());
    result.err = QString::fromUtf8(calc.readAllStandardError());
    return result;
}

QString examplePath(const QString& design)
{
    return QStringLiteral(QUORVEL_SOURCE_DIR "/examples/") + design + QStringLiteral(".json");
}

QByteArray exampleText(const QString& design)
{
    QFile file(examplePath(design));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::unique_ptr<StudySubWindow> windowFor(Design::Kind kind, ryn::RynSettings* store)
{
    switch (kind) {
    case Design::SingleRelease:
        return std::make_unique<SingleReleaseSubWindow>(store);
    case Design::PairedRelease:
        return std::make_unique<PairedReleaseSubWindow>(store);
    case Design::TIRR:
        return std::make_unique<TIRRSubWindow>(store);
    case Design::BTPS:
        return std::make_unique<BTPSSubWindow>(store);
    case Design::VWP:
        return std::make_unique<VWPSubWindow>(store);
    }
    return nullptr;
}

QString reportOf(StudySubWindow& window)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    window.writeReport(cursor);
    return reportText(document);
}

} // namespace quorvel::test
