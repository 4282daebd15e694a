#include "framework/files/SaveFile.h"

#include "framework/files/OutputPath.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace ryn {

namespace {

// Opens the FIFO or device at path for writing, as QFile would but retrying
// an open that a signal interrupted only while cancelFlag is clear (QFile
// retries it always, which would swallow Ctrl-C while a FIFO waits for its
// reader). -1, with the reason in why, when it cannot be opened or the wait
// was cancelled.
int openDirectly(const QString& path, QIODevice::OpenMode mode, const std::atomic<bool>* cancelFlag,
                 SaveFailure& why)
{
    const int flags = O_WRONLY | O_CLOEXEC | (mode & QIODevice::Append ? O_APPEND : 0);
    const QByteArray name = QFile::encodeName(path);
    for (;;) {
        const int fd = ::open(name.constData(), flags);
        if (fd >= 0)
            return fd;
        if (errno != EINTR) {
            why = {SaveFailure::Open, qt_error_string(errno)};
            return -1;
        }
        if (cancelFlag != nullptr && cancelFlag->load()) {
            why = {SaveFailure::Open, QStringLiteral("Cancelled")};
            return -1;
        }
    }
}

// A FIFO or a device is written where it is; the reason of a failure is
// that of the write, else that of the device.
bool writeDirectly(const QString& path, QIODevice::OpenMode mode,
                   const std::function<QString(QIODevice& device)>& write,
                   const std::atomic<bool>* cancelFlag, SaveFailure& why)
{
    const int fd = openDirectly(path, mode, cancelFlag, why);
    if (fd < 0)
        return false;
    QFile file;
    if (!file.open(fd, mode | QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        why = {SaveFailure::Open, file.errorString()};
        return false;
    }
    QString reason = write(file);
    if (reason.isEmpty() && (!file.flush() || file.error() != QFileDevice::NoError))
        reason = file.errorString();
    file.close();
    if (reason.isEmpty() && file.error() != QFileDevice::NoError)
        reason = file.errorString();
    if (!reason.isEmpty()) {
        why = {SaveFailure::Write, reason};
        return false;
    }
    return true;
}

} // namespace

bool saveFile(const QString& path, QIODevice::OpenMode mode,
              const std::function<QString(QIODevice& device)>& write, SaveFailure* failure,
              const std::atomic<bool>* cancelFlag)
{
    SaveFailure local;
    SaveFailure& why = failure ? *failure : local;
    why = SaveFailure();

    QString refusal;
    switch (OutputPath::kindOf(path, &refusal)) {
    case OutputPath::Refused:
        why = {SaveFailure::Open, refusal};
        return false;
    case OutputPath::Direct:
        return writeDirectly(path, mode, write, cancelFlag, why);
    case OutputPath::Replaced:
        break;
    }

    QSaveFile file(path);
    if (!file.open(mode | QIODevice::WriteOnly)) {
        why = {SaveFailure::Open, file.errorString()};
        return false;
    }
    QString reason = write(file);
    // A write the device refused (a full disk) is noted by the file itself.
    if (reason.isEmpty() && file.error() != QFileDevice::NoError)
        reason = file.errorString();
    if (!reason.isEmpty()) {
        file.cancelWriting();
        why = {SaveFailure::Write, reason};
        return false;
    }
    if (!file.commit()) {
        why = {SaveFailure::Write, file.errorString()};
        return false;
    }
    return true;
}

} // namespace ryn
