#include "framework/files/OutputPath.h"

#include <QFile>

#include <sys/stat.h>

namespace ryn {

OutputPath::Kind OutputPath::kindOf(const QString& path, QString* reason)
{
    struct stat status = {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return Replaced;
    if (S_ISREG(status.st_mode))
        return Replaced;
    if (S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode))
        return Direct;
    if (reason != nullptr)
        *reason = S_ISDIR(status.st_mode)
                      ? QStringLiteral("it is a folder")
                      : QStringLiteral("it is not a regular file, a FIFO or a character device");
    return Refused;
}

bool OutputPath::replaces(const QString& output, const QString& input)
{
    struct stat out = {};
    struct stat in = {};
    return ::stat(QFile::encodeName(output).constData(), &out) == 0 &&
           ::stat(QFile::encodeName(input).constData(), &in) == 0 && out.st_dev == in.st_dev &&
           out.st_ino == in.st_ino;
}

} // namespace ryn
