#include "framework/files/SaveFile.h"

#include "framework/files/OutputPath.h"

#include <QFile>
#include <QSaveFile>

namespace ryn {

namespace {

// A FIFO or a device is written where it is; the reason of a failure is
// that of the write, else that of the device.
bool writeDirectly(const QString& path, QIODevice::OpenMode mode,
                   const std::function<QString(QIODevice& device)>& write, SaveFailure& why)
{
    QFile file(path);
    if (!file.open(mode | QIODevice::WriteOnly)) {
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
              const std::function<QString(QIODevice& device)>& write, SaveFailure* failure)
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
        return writeDirectly(path, mode, write, why);
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
