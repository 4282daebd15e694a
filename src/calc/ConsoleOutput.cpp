#include "calc/ConsoleOutput.h"

#include "calc/CommandLine.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool failed = false;

// Tells the first failure of standard output, with the system's reason.
void outputFailed(int error)
{
    if (failed)
        return;
    failed = true;
    ConsoleOutput::complain(QStringLiteral("Cannot write to standard output: ") +
                            QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace

bool ConsoleOutput::write(const QByteArray& text)
{
    const auto size = static_cast<std::size_t>(text.size());
    errno = 0;
    if (std::fwrite(text.constData(), 1, size, stdout) != size || std::fflush(stdout) != 0) {
        outputFailed(errno != 0 ? errno : EIO);
        return false;
    }
    return true;
}

void ConsoleOutput::complain(const QString& message)
{
    std::fputs(
        (QStringLiteral("quorvel-calc: ") + message + QLatin1Char('\n')).toUtf8().constData(),
        stderr);
    std::fflush(stderr);
}

int ConsoleOutput::finish(int status)
{
    errno = 0;
    const bool outputWritten = std::ferror(stdout) == 0 && std::fflush(stdout) == 0;
    const int error = errno != 0 ? errno : EIO;
    // Closing catches what the last flush could not (a file system that
    // reports a failed write only then); nothing writes to it afterwards.
    errno = 0;
    const bool outputClosed = std::fclose(stdout) == 0;
    const int closeError = errno != 0 ? errno : EIO;
    if (!outputWritten)
        outputFailed(error);
    else if (!outputClosed)
        outputFailed(closeError);
    const bool errorsWritten = std::fflush(stderr) == 0 && std::ferror(stderr) == 0;
    if (status == ExitStatus::success && (failed || !errorsWritten))
        return ExitStatus::failed;
    return status;
}

void ConsoleOutput::abandon(int status)
{
    std::fflush(stderr);
    std::_Exit(status);
}
