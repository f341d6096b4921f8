#include "sim/LoggerImage.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

LoggerImage sampleImage()
{
    LoggerImage image;
    for (int i = 0; i < LoggerImage::HeaderSize; ++i)
        image.header[i] = char((i * 37 + 11) & 0xFF);
    // Not a whole number of lines, with erased lines among written ones and
    // a written line that is mostly FF.
    image.data = QByteArray(1000, '\xFF');
    image.data.replace(0, 4, QByteArray("\x12\x34\x00\xFF", 4));
    image.data[500] = 'A';
    image.data[999] = '\x00';
    image.statusByte = 0x9A;
    return image;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

// Replaces the closing digest so that only the edit itself is wrong.
QByteArray resealed(QByteArray content)
{
    content.chop(1);
    content = content.left(content.lastIndexOf('\n') + 1);
    return content + "end " + QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex()
           + '\n';
}

class LoggerImageTest : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

TEST_F(LoggerImageTest, RoundTripsExactly)
{
    const LoggerImage image = sampleImage();
    QString error;
    ASSERT_TRUE(image.save(path("a.img"), &error)) << error.toStdString();
    const std::optional<LoggerImage> loaded = LoggerImage::load(path("a.img"), &error);
    ASSERT_TRUE(loaded) << error.toStdString();
    EXPECT_EQ(loaded->header, image.header);
    EXPECT_EQ(loaded->data, image.data);
    EXPECT_EQ(loaded->statusByte, image.statusByte);

    // Erased lines are left out of the file; the written ones are readable.
    const QByteArray text = readFile(path("a.img"));
    EXPECT_TRUE(text.contains("\n000000 123400FFFFFFFFFFFFFFFFFFFFFFFFFF\n"));
    EXPECT_FALSE(text.contains("\n000010 "));
    EXPECT_TRUE(text.contains("\n0003E0 FFFFFFFFFFFFFF00\n"));
}

TEST_F(LoggerImageTest, KeepsTheLoggersClockAndScheduleAndStillReadsVersionOne)
{
    LoggerImage image = sampleImage();
    image.clock = QDateTime(QDate(2026, 12, 10), QTime(15, 27, 17, 125), Qt::UTC);
    image.schedule = LoggerImage::ScanSchedule{image.clock.addSecs(42), true};
    ASSERT_TRUE(image.save(path("v2.img"), nullptr));
    const QByteArray text = readFile(path("v2.img"));
    EXPECT_TRUE(text.contains("\nclock 2026-12-10T15:27:17.125Z\nnext-scan 2026-12-10T15:27:59.125Z early\n"));
    std::optional<LoggerImage> loaded = LoggerImage::load(path("v2.img"), nullptr);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->clock, image.clock);
    EXPECT_EQ(loaded->schedule, image.schedule);

    image.schedule->early = false;
    ASSERT_TRUE(image.save(path("v2.img"), nullptr));
    EXPECT_EQ(LoggerImage::load(path("v2.img"), nullptr)->schedule, image.schedule);

    // A file written before the clock was kept: no clock, no schedule.
    QByteArray old = readFile(path("v2.img"));
    old.replace("version 2\n", "version 1\n");
    old.remove(old.indexOf("clock "), old.indexOf("header ") - old.indexOf("clock "));
    writeFile(path("v1.img"), resealed(old));
    QString error;
    loaded = LoggerImage::load(path("v1.img"), &error);
    ASSERT_TRUE(loaded) << error.toStdString();
    EXPECT_FALSE(loaded->clock.isValid());
    EXPECT_FALSE(loaded->schedule);
    EXPECT_EQ(loaded->data, image.data);

    // A clock that is not a UTC date is damage, not a missing clock.
    writeFile(path("bad.img"), resealed(QByteArray(text).replace("clock 2026-12-10T15:27:17.125Z",
                                                                 "clock yesterday")));
    EXPECT_FALSE(LoggerImage::load(path("bad.img"), &error));
    EXPECT_TRUE(error.contains("UTC date")) << error.toStdString();
}

TEST_F(LoggerImageTest, RoundTripsAnEmptyDataMemory)
{
    LoggerImage image;
    image.data.clear();
    QString error;
    ASSERT_TRUE(image.save(path("e.img"), &error));
    const std::optional<LoggerImage> loaded = LoggerImage::load(path("e.img"), &error);
    ASSERT_TRUE(loaded) << error.toStdString();
    EXPECT_EQ(loaded->header, image.header);
    EXPECT_TRUE(loaded->data.isEmpty());
}

TEST_F(LoggerImageTest, SavingOverAnOldImageReplacesIt)
{
    LoggerImage image = sampleImage();
    ASSERT_TRUE(image.save(path("a.img"), nullptr));
    image.data = QByteArray(64, '\x55');
    ASSERT_TRUE(image.save(path("a.img"), nullptr));
    EXPECT_EQ(LoggerImage::load(path("a.img"), nullptr)->data, image.data);
}

TEST_F(LoggerImageTest, RefusesDamagedTruncatedAndForeignFiles)
{
    ASSERT_TRUE(sampleImage().save(path("good.img"), nullptr));
    const QByteArray good = readFile(path("good.img"));

    const struct
    {
        const char *what;
        QByteArray content;
        const char *reason;
    } cases[] = {
        {"empty", QByteArray(), "not a logger image"},
        {"foreign", "Scan#,Date_Time,Chan 1,\n1,2011/09/23,100,\n", "not a logger image"},
        {"binary", QByteArray(5000, '\0'), "not a logger image"},
        {"cut mid-line", good.left(good.size() / 2), "truncated"},
        {"cut before the end line", good.left(good.lastIndexOf("end ")), "truncated"},
        {"one digit changed", QByteArray(good).replace("\n000000 1234", "\n000000 1235"), "damaged"},
        {"newer version", resealed(QByteArray(good).replace("version 2\n", "version 3\n")),
         "version 3"},
        {"header line missing", resealed(QByteArray(good).replace(good.indexOf("\n0100 ") + 1, 38, "")),
         "0110"},
        {"data line out of range",
         resealed(QByteArray(good).replace("\n0003E0 ", "\n0003F0 ")), "0003F0"},
        {"data line too long",
         resealed(QByteArray(good).replace("\n0003E0 FFFFFFFFFFFFFF00", "\n0003E0 FFFFFFFFFFFFFF0000")),
         "0003E0"},
        {"not hexadecimal", resealed(QByteArray(good).replace("\n000000 1234", "\n000000 12G4")),
         "000000"},
        {"data too large", resealed(QByteArray(good).replace("data 000003E8", "data 7FFFFFFF")),
         "larger than"},
        {"text after the data", resealed(QByteArray(good).replace("\nend ", "\nmore\nend ")),
         "unexpected"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(path("bad.img"), c.content);
        QString error;
        EXPECT_FALSE(LoggerImage::load(path("bad.img"), &error));
        EXPECT_TRUE(error.contains(c.reason, Qt::CaseInsensitive)) << error.toStdString();
    }
}

TEST_F(LoggerImageTest, ReportsAFileThatCannotBeOpenedOrWritten)
{
    QString error;
    EXPECT_FALSE(LoggerImage::load(path("missing.img"), &error));
    EXPECT_TRUE(error.contains("missing.img"));
    error.clear();
    EXPECT_FALSE(sampleImage().save(path("no/such/folder/a.img"), &error));
    EXPECT_TRUE(error.contains("a.img"));
}

} // namespace
