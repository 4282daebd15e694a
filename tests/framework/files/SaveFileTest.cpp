#include "framework/files/SaveFile.h"
#include "framework/files/OutputPath.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstring>
#include <future>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using ryn::OutputPath;

namespace {

const auto writeHello = [](QIODevice& device) {
    return device.write("hello\n") == 6 ? QString() : device.errorString();
};

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

} // namespace

// A FIFO is written where it is, for the reader waiting on it, and stays a
// FIFO; a folder and a socket are refused with the reason and left as they
// were.
TEST(SaveFile, AFifoIsWrittenDirectlyAndOtherSpecialFilesAreRefused)
{
    QTemporaryDir folder;
    const QString fifo = folder.filePath("fifo");
    ASSERT_EQ(::mkfifo(encoded(fifo).constData(), 0600), 0);
    auto received = std::async(std::launch::async, [&fifo] {
        QFile reader(fifo);
        return reader.open(QIODevice::ReadOnly) ? reader.readAll() : QByteArray("not opened");
    });
    ryn::SaveFailure failure;
    EXPECT_TRUE(ryn::saveFile(fifo, QIODevice::NotOpen, writeHello, &failure))
        << failure.reason.toStdString();
    EXPECT_EQ(received.get(), "hello\n");
    struct stat status = {};
    ASSERT_EQ(::stat(encoded(fifo).constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    EXPECT_EQ(OutputPath::kindOf("/dev/null"), OutputPath::Direct);

    const QString inner = folder.filePath("inner");
    ASSERT_TRUE(QDir().mkpath(inner));
    EXPECT_FALSE(ryn::saveFile(inner, QIODevice::NotOpen, writeHello, &failure));
    EXPECT_EQ(failure.stage, ryn::SaveFailure::Open);
    EXPECT_EQ(failure.reason, "it is a folder");
    EXPECT_TRUE(QFileInfo(inner).isDir());

    const QString socketPath = folder.filePath("socket");
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, encoded(socketPath).constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_FALSE(ryn::saveFile(socketPath, QIODevice::NotOpen, writeHello, &failure));
    ::close(socket);
    EXPECT_EQ(failure.reason, "it is not a regular file, a FIFO or a character device");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
              (QStringList{"fifo", "inner", "socket"}));
}
