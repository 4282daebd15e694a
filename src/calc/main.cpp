// quorvel-calc: the precision of study designs from design files or the
// stored settings, computed along the window program's path, without a
// window. Reads the command line, makes the application object the output
// needs and hands the request to the calculator.

#include "calc/Calculator.h"
#include "calc/CommandLine.h"
#include "calc/ConsoleMonitor.h"
#include "calc/ConsoleOutput.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// The platform's and Qt's own notes (a runtime folder it cannot make, fonts)
// are no concern of a user of the calculator, which prints its own messages;
// only a fatal one, before Qt ends the program, is shown.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg)
        ConsoleOutput::complain(message);
}

} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine command = CommandLine::parse(arguments);
    switch (command.action) {
    case CommandLine::ShowHelp:
        ConsoleOutput::write(CommandLine::helpText().toUtf8());
        return ConsoleOutput::finish(ExitStatus::success);
    case CommandLine::ShowVersion:
        ConsoleOutput::write(QByteArrayLiteral("quorvel-calc " QUORVEL_VERSION "\n"));
        return ConsoleOutput::finish(ExitStatus::success);
    case CommandLine::Refuse:
        ConsoleOutput::complain(command.error +
                                QStringLiteral("\nTry 'quorvel-calc --help' for more."));
        return ConsoleOutput::finish(ExitStatus::refused);
    case CommandLine::Calculate:
        break;
    }

    qInstallMessageHandler(quietQtMessages);
    ConsoleMonitor::catchInterrupt();
    // The application object takes none of the arguments, which are the
    // calculator's. A report is a rich-text document (and a PDF is painted),
    // which needs QtGui: on
    // the offscreen platform, so that no display is needed or opened.
    static int qtArgc = 1;
    std::unique_ptr<QCoreApplication> application;
    const CalcRequest::Format format = command.request.format;
    if (format == CalcRequest::Text || format > CalcRequest::Json) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
#if defined(__SANITIZE_ADDRESS__)
        // The offscreen platform of Qt 5.15 never frees the screen it creates
        // here; that is not the calculator's leak.
        __lsan_disable();
#endif
        application = std::make_unique<QGuiApplication>(qtArgc, argv);
#if defined(__SANITIZE_ADDRESS__)
        __lsan_enable();
#endif
    } else {
        application = std::make_unique<QCoreApplication>(qtArgc, argv);
    }
    // The window's settings store, which --from-settings reads.
    QCoreApplication::setOrganizationName(QStringLiteral("RYN"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("ryn.invalid"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel"));
    const int status = calculate(command.request);
    application.reset();
    return ConsoleOutput::finish(status);
}
