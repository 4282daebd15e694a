#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

// What `cmake --install` puts into a prefix: the programs, the manual page,
// the desktop entry and the icon at every size of the icon theme.
TEST(Install, PutsTheProgramItsDesktopEntryAndIconsIntoThePrefix)
{
    QTemporaryDir prefix;
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(QUORVEL_CMAKE_COMMAND),
                  {"--install", QStringLiteral(QUORVEL_BUILD_DIR), "--prefix", prefix.path()});
    ASSERT_TRUE(install.waitForFinished(120000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAll().toStdString();

    for (const char* program : {"bin/quorvel", "bin/quorvel-calc"})
        EXPECT_TRUE(QFileInfo(prefix.filePath(program)).isExecutable()) << program;
    EXPECT_TRUE(QFileInfo::exists(prefix.filePath("share/man/man1/quorvel-calc.1")));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage icon(
            prefix.filePath(QString("share/icons/hicolor/%1x%1/apps/quorvel.png").arg(size)));
        EXPECT_EQ(icon.size(), QSize(size, size));
    }
    EXPECT_TRUE(
        QFileInfo::exists(prefix.filePath("share/icons/hicolor/scalable/apps/quorvel.svg")));

    const QString entry = prefix.filePath("share/applications/quorvel.desktop");
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    for (const char* line : {"\nExec=quorvel\n", "\nIcon=quorvel\n", "\nName=Quorvel\n",
                             "\nCategories=Education;Science;\n", "\nGenericName=", "\nComment="})
        EXPECT_TRUE(text.contains(line)) << line;
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    if (!validator.isEmpty()) {
        QProcess validate;
        validate.setProcessChannelMode(QProcess::MergedChannels);
        validate.start(validator, {entry});
        ASSERT_TRUE(validate.waitForFinished(30000));
        const QString said = QString::fromUtf8(validate.readAll());
        EXPECT_EQ(validate.exitCode(), 0) << said.toStdString();
        EXPECT_FALSE(said.contains("error:")) << said.toStdString();
    }
}
