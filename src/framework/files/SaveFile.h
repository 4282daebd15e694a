#pragma once

#include <QIODevice>
#include <QString>

#include <atomic>
#include <functional>

namespace ryn {

// Why a file was not saved: it could not be opened for writing (the folder
// is missing or not writable, the file is read-only), or its content could
// not be written (no such image format, a full disk), with the reason.
struct SaveFailure
{
    enum Stage { None, Open, Write };
    Stage stage = None;
    QString reason;
};

// Saves a file as a whole or not at all: write() fills a temporary file
// beside path, which replaces path only when write() succeeded and the file
// is complete on disk. Otherwise path keeps what it held (or stays absent),
// no temporary file is left, and *failure (when given) says why. write()
// answers an empty text on success and the reason on failure. A FIFO or a
// character device at path is written directly instead, and any other path
// that is not a regular file is refused (OutputPath).
//
// The open of a FIFO waits for a reader. cancelFlag, when given, ends that
// wait once it is set and a signal interrupts the open (a signal handler
// installed without SA_RESTART that sets the flag, as Ctrl-C's is): the
// save then fails at the open with the reason "Cancelled".
bool saveFile(const QString& path, QIODevice::OpenMode mode,
              const std::function<QString(QIODevice& device)>& write,
              SaveFailure* failure = nullptr, const std::atomic<bool>* cancelFlag = nullptr);

} // namespace ryn
