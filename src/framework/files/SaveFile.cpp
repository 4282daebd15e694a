#include "framework/files/SaveFile.h"

#include <QSaveFile>

namespace ryn {

bool saveFile(const QString& path, QIODevice::OpenMode mode,
              const std::function<QString(QIODevice& device)>& write, SaveFailure* failure)
{
    SaveFailure local;
    SaveFailure& why = failure ? *failure : local;
    why = SaveFailure();

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
