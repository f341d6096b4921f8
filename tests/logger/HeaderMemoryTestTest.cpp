#include "logger/HeaderMemoryTest.h"
#include "tests/logger/MemoryBench.h"
#include "tests/support/QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

const QString Closing = QStringLiteral("Header Memory Test");
const QString VerifyFailure = QStringLiteral("Header Write Verify Failure in SubSendMessage");

class HeaderMemoryTestTest : public ::testing::Test, public MemoryBench
{
protected:
    explicit HeaderMemoryTestTest(LoggerPreset preset = LoggerPreset::Finished)
        : MemoryBench(image(preset)), test(parts, [this] { return folder(); })
    {
        QDir().mkpath(folder());
    }

    QString folder() const { return scratch.filePath(QStringLiteral("data")); }
    QStringList backups() const
    {
        return QDir(folder()).entryList({QStringLiteral("* HEADER BACKUP.txt")}, QDir::Files);
    }
    QString text(int address) const { return QString::fromLatin1(logger.image().header.mid(address, 16)); }
    // The text writes at one line, in order.
    QStringList writtenAt(const QString &address) const
    {
        QStringList data;
        for (const Write &w : writes('d'))
            if (w.address == address)
                data << w.data;
        return data;
    }

    HeaderMemoryTest test;
};

} // namespace

// Every text line from 0EF0 down to 0200 takes the three patterns and then its
// own text; the header ends as it was and the backup is named at the end.
TEST_F(HeaderMemoryTestTest, HealthyHeaderIsTestedAndLeftAsItWas)
{
    const QByteArray before = logger.image().header;
    dialogs.expect(Closing);
    EXPECT_TRUE(test.subChkHdrMem());

    EXPECT_EQ(logger.image().header.mid(0x0200), before.mid(0x0200));
    const QString Aa(16, QChar(170));
    EXPECT_EQ(writtenAt(QStringLiteral("0EF0")),
              QStringList({QString(16, u'U'), Aa, QStringLiteral("...............0"), text(0x0EF0)}));
    EXPECT_EQ(writtenAt(QStringLiteral("0EE0")),
              QStringList({QString(16, u'U'), Aa, QStringLiteral("...............1"), text(0x0EE0)}));
    const QStringList lines = addressesWritten('d');
    ASSERT_EQ(lines.size(), 208);
    EXPECT_EQ(lines.first(), QStringLiteral("0EF0"));
    EXPECT_EQ(lines.last(), QStringLiteral("0200"));
    EXPECT_EQ(writes('d').size(), 4 * 208);
    EXPECT_EQ(writes('b').size(), 0);

    EXPECT_EQ(shownTexts, (QList<QPair<QString, QString>>{{QString(), QStringLiteral("HEADER GOOD")}}));
    ASSERT_EQ(backups().size(), 1);
    EXPECT_TRUE(dialogs.shown().back().text.startsWith(
        QStringLiteral("Please verify that the header information is still correct on the next screen. OK to continue.")));
    EXPECT_TRUE(dialogs.shown().back().text.contains(QDir(folder()).filePath(backups().first())));
}

// A line that does not keep its pattern fails verification, gets its own text
// written back, and the test goes on from 03F0.
TEST_F(HeaderMemoryTestTest, StuckBitFailsTheLineAndJumpsTo03F0)
{
    logger.faults().stickBits(SimFaults::Memory::Header, 0x0E52, 0x01, false); // "U" reads back as "T"
    dialogs.allow(VerifyFailure, Dialogs::Cancel);
    dialogs.expect(Closing);
    EXPECT_FALSE(test.subChkHdrMem());

    const QStringList lines = addressesWritten('d');
    const qsizetype failed = lines.indexOf(QStringLiteral("0E50"));
    ASSERT_GE(failed, 0);
    ASSERT_LT(failed + 1, lines.size());
    EXPECT_EQ(lines.at(failed + 1), QStringLiteral("03F0"));
    EXPECT_EQ(lines.last(), QStringLiteral("0200"));
    const QStringList atFailed = writtenAt(QStringLiteral("0E50"));
    ASSERT_FALSE(atFailed.isEmpty());
    EXPECT_EQ(atFailed.first(), QString(16, u'U'));
    EXPECT_FALSE(atFailed.contains(QString(16, QChar(170)))); // the patterns stop at the failure
    EXPECT_EQ(shownTexts, (QList<QPair<QString, QString>>{{QStringLiteral("Failed"), QStringLiteral("HEADER FAILED")}}));
}

// The link lost in the middle of a line: the box names that line and the
// backup file that restores it.
TEST_F(HeaderMemoryTestTest, AbortNamesTheLineAndTheBackup)
{
    const QString original = text(0x0E80);
    QObject::connect(&display, &MemoryTestDisplay::lineTested, [this](const QString &address) {
        if (address == QLatin1String("0E80"))
            logger.faults().silenceAfterLines(3); // the read, the first pattern and its read-back
    });
    dialogs.allow(QStringLiteral("Error"));
    dialogs.expect(QStringLiteral("Header Memory Test Aborted"));
    EXPECT_FALSE(test.subChkHdrMem());

    EXPECT_EQ(text(0x0E80), QString(16, u'U'));
    ASSERT_EQ(backups().size(), 1);
    const QString backup = QDir(folder()).filePath(backups().first());
    const QString box = dialogs.shown().back().text;
    EXPECT_TRUE(box.contains(QStringLiteral("Line 0E80 may still hold a test pattern"))) << box.toStdString();
    EXPECT_TRUE(box.contains(backup)) << box.toStdString();
    QFile file(backup);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const HeaderDataFile::Parsed saved = HeaderDataFile::parse(file.readAll());
    const auto kept = std::find_if(saved.records.begin(), saved.records.end(),
                                   [](const HeaderDataFile::Record &r) { return r.address == 0x0E80; });
    ASSERT_NE(kept, saved.records.end());
    EXPECT_EQ(kept->text, original);
    EXPECT_EQ(shownTexts.back(), qMakePair(QStringLiteral("Aborted"), QStringLiteral("HEADER ABORTED")));
}

// The operator's cancel would send the test on at 00F0, below the first text
// line, so the test ends after the line it is on, with every line restored.
TEST_F(HeaderMemoryTestTest, CancelEndsAfterTheCurrentLine)
{
    const QByteArray before = logger.image().header;
    QObject::connect(&display, &MemoryTestDisplay::lineTested, [this](const QString &address) {
        if (address == QLatin1String("0E00"))
            test.requestCancel();
    });
    dialogs.expect(Closing);
    EXPECT_FALSE(test.subChkHdrMem());
    EXPECT_EQ(addressesWritten('d').last(), QStringLiteral("0E00"));
    EXPECT_EQ(addressesWritten('d').size(), 16);
    EXPECT_EQ(logger.image().header.mid(0x0200), before.mid(0x0200));
    EXPECT_EQ(shownTexts, (QList<QPair<QString, QString>>{{QStringLiteral("Aborted"), QStringLiteral("HEADER ABORTED")}}));
}
