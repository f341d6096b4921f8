#include "logger/HeaderFileCommands.h"
#include "sim/LoggerPresets.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/TransportBench.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString Confirm = QStringLiteral("LOAD HEADER FILE to logger memory");

class HeaderFileCommandsTest : public ::testing::Test, public VirtualLoopOwner, public TransportBench
{
protected:
    explicit HeaderFileCommandsTest(LoggerPreset preset = LoggerPreset::Finished)
        : TransportBench(loop, LoggerPresets::build(preset, VirtualEventLoop().now()))
        , commands({connection, dialogs, [this] { return folder(); }, [this] { return loop.now(); }})
    {
        QDir().mkpath(folder());
        connect();
    }

    QString folder() const { return scratch.filePath(QStringLiteral("data")); }
    QString path(const char *name) const { return folder() + u'/' + QLatin1String(name); }
    QByteArray header() const { return logger.image().header; }
    QStringList backups() const
    {
        return QDir(folder()).entryList({QStringLiteral("* HEADER BACKUP.txt")}, QDir::Files);
    }
    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray readFile(const QString &name)
    {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Saves the logger's header as the operator does.
    void save(const char *name)
    {
        dialogs.expectFileName(path(name));
        dialogs.expect(QStringLiteral("Data Save Complete"));
        ASSERT_TRUE(commands.saveHeaderFile());
    }

    HeaderFileCommands commands;
};

} // namespace

// A header saved, spoiled in the logger and loaded again is the header it was.
TEST_F(HeaderFileCommandsTest, SaveThenLoadRestoresTheHeader)
{
    const QByteArray before = header();
    save("saved.txt");
    EXPECT_EQ(dialogs.fileDialogs().back().title, QStringLiteral("Save Settings to File"));
    EXPECT_TRUE(dialogs.fileDialogs().back().folder.endsWith(QStringLiteral(" HEADER DATA.txt")));
    EXPECT_EQ(dialogs.shown().back().text,
              QStringLiteral("The Header Data has been saved to ") + path("saved.txt") + QStringLiteral("              ..."));
    const QByteArray file = readFile(path("saved.txt"));
    EXPECT_TRUE(file.startsWith("\"Logger Header Data\"\r\n\"0000\",\""));
    EXPECT_EQ(file.count("\r\n"), 257);

    LoggerImage spoiled = logger.image();
    spoiled.header.replace(0x0700, 16, "SPOILED LINE 700");
    spoiled.header.replace(0x0020, 4, QByteArray("\x12\x34\x56\x78", 4));
    logger.loadImage(spoiled);
    dialogs.expectFileName(path("saved.txt"));
    dialogs.expect(Confirm, Dialogs::Yes);
    dialogs.expect(QStringLiteral("Data Upload to Logger Complete"));
    ASSERT_TRUE(commands.loadHeaderFile());
    EXPECT_EQ(header(), before);
    ASSERT_EQ(backups().size(), 1);
    EXPECT_TRUE(readFile(folder() + u'/' + backups()[0]).contains("SPOILED LINE 700"));
    EXPECT_TRUE(dialogs.shown().back().text.contains(backups()[0]));
}

// Files that are not whole header images, and the operator's No, write nothing.
TEST_F(HeaderFileCommandsTest, RefusalsWriteNothing)
{
    const QByteArray before = header();
    writeFile(path("other.txt"), "\"Signal Conditioning Calibration Data\",\"\"\r\n\"0200\",\"0123456789012345\"\r\n");
    dialogs.expectFileName(path("other.txt"));
    dialogs.expect(QStringLiteral("Wrong Type of Data File"));
    EXPECT_FALSE(commands.loadHeaderFile());
    EXPECT_EQ(dialogs.shown().back().text, path("other.txt") + QStringLiteral(" is not a Logger Header  Data file."));

    writeFile(path("outside.txt"), "\"Logger Header Data\"\r\n\"0200\",\"0123456789012345\"\r\n\"1000\",\"0123456789012345\"\r\n");
    dialogs.expectFileName(path("outside.txt"));
    dialogs.expect(QStringLiteral("Header File Refused"));
    EXPECT_FALSE(commands.loadHeaderFile());

    writeFile(path("good.txt"), "\"Logger Header Data\"\r\n\"0E00\",\"0123456789012345\"\r\n");
    dialogs.expectFileName(path("good.txt"));
    dialogs.expect(Confirm, Dialogs::No);
    EXPECT_FALSE(commands.loadHeaderFile());
    EXPECT_EQ(dialogs.shown().back().text,
              QStringLiteral("WARNING! THIS OPERATION WILL OVERWIRITE EXISTING HEADER MEMORY COMPLETELY!\r\n"
                             "All Calibration, serial numbering, and other setup data will be replaced!\r\n\r\n"
                             "Continue to Load New Header Data to Logger memory from ")
                  + path("good.txt") + u'?');

    dialogs.expectFileName(path("missing.txt"));
    dialogs.expect(QStringLiteral("Open Settings File"));
    EXPECT_FALSE(commands.loadHeaderFile());
    EXPECT_EQ(dialogs.shown().back().text, QStringLiteral("File not found."));
    EXPECT_EQ(header(), before);
    EXPECT_TRUE(backups().isEmpty());
}

// A 15-character record: Yes fixes it and every later one without asking;
// Cancel (asked before any write) leaves the logger untouched.
TEST_F(HeaderFileCommandsTest, WrongLengthsAreFixedOrCancelled)
{
    writeFile(path("short.txt"), "\"Logger Header Data\"\r\n\"0E00\",\"012345678901234\"\r\n"
                                 "\"0E10\",\"ABCDEFGHIJKLMNOPQ\"\r\n\"0E20\",\"Notes line 0E20.\"\r\n");
    const QByteArray before = header();
    dialogs.expectFileName(path("short.txt"));
    dialogs.expect(Confirm, Dialogs::Yes);
    dialogs.expect(QStringLiteral("MsgLen error in cmdReaderHeaderFile"), Dialogs::Cancel);
    EXPECT_FALSE(commands.loadHeaderFile());
    EXPECT_EQ(dialogs.shown().back().text,
              QStringLiteral("staddr: 0E00\r\nstText: >012345678901234<\r\n"
                             "CANCEL to abort, YES to fix and continue, NO to Fix and check each error"));
    EXPECT_EQ(header(), before);

    dialogs.expectFileName(path("short.txt"));
    dialogs.expect(Confirm, Dialogs::Yes);
    dialogs.expect(QStringLiteral("MsgLen error in cmdReaderHeaderFile"), Dialogs::Yes);
    dialogs.expect(QStringLiteral("Data Upload to Logger Complete"));
    EXPECT_TRUE(commands.loadHeaderFile());
    EXPECT_EQ(header().mid(0x0E00, 16), QByteArray("0123456789012345"));
    EXPECT_EQ(header().mid(0x0E10, 16), QByteArray("0123456789012345"));
    EXPECT_EQ(header().mid(0x0E20, 16), QByteArray("Notes line 0E20."));
}

class HeaderFileWhileLogging : public HeaderFileCommandsTest
{
protected:
    HeaderFileWhileLogging() : HeaderFileCommandsTest(LoggerPreset::Logging) {}
};

// Loading into a logger that is logging asks to stop it first; Cancel writes nothing.
TEST_F(HeaderFileWhileLogging, LoadAsksToStopLoggingFirst)
{
    writeFile(path("one.txt"), "\"Logger Header Data\"\r\n\"0E00\",\"0123456789012345\"\r\n");
    const QByteArray before = header();
    dialogs.expectFileName(path("one.txt"));
    dialogs.expect(Confirm, Dialogs::Yes);
    dialogs.expect(QStringLiteral("Stop Logging?"), Dialogs::Cancel);
    EXPECT_FALSE(commands.loadHeaderFile());
    EXPECT_EQ(header().mid(0x0E00, 16), before.mid(0x0E00, 16));
    EXPECT_TRUE(logger.isLogging());

    dialogs.expectFileName(path("one.txt"));
    dialogs.expect(Confirm, Dialogs::Yes);
    dialogs.expect(QStringLiteral("Stop Logging?"), Dialogs::Ok);
    dialogs.expect(QStringLiteral("Data Upload to Logger Complete"));
    EXPECT_TRUE(commands.loadHeaderFile());
    EXPECT_FALSE(logger.isLogging());
    EXPECT_EQ(header().mid(0x0E00, 16), QByteArray("0123456789012345"));
}
