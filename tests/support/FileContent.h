#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace quorvel::test {

// The bytes of the file at path; empty when it cannot be read.
inline QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace quorvel::test
