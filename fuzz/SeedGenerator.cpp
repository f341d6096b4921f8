// Writes the seed corpora of the fuzz targets from the simulator's presets:
// header images and lines, reply lines, data lines, real-time lines, status
// bytes, header data files, calibration files of both kinds and settings
// files.   fuzz_seed_generator CORPUS_FOLDER
#include "calibration/CalFields.h"
#include "calibration/CalibrationFile.h"
#include "fuzz/HeaderImage.h"
#include "logger/FunctionsSubs.h"
#include "logger/HeaderDataFile.h"
#include "platform/SettingsStore.h"
#include "platform/StartupSettings.h"
#include "sim/FirmwareCommands.h"
#include "sim/LoggerPresets.h"

#include <QDir>
#include <QFile>
#include <cstdio>

namespace {

class Corpus
{
public:
    explicit Corpus(const QString &root) : m_root(root) {}

    void add(const char *target, const QString &name, const QByteArray &bytes)
    {
        const QString folder = m_root + u'/' + QString::fromLatin1(target);
        QDir().mkpath(folder);
        QFile file(folder + u'/' + name);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        ++m_files;
    }
    int files() const { return m_files; }

private:
    QString m_root;
    int m_files = 0;
};

QByteArray replyLine(char letter, const QByteArray &address, const QByteArray &data)
{
    const QByteArray covered = address + '#' + data;
    return letter + covered + FirmwareCommands::checksum(covered);
}

QByteArray hexAddress(int address, int digits)
{
    return QByteArray::number(address, 16).toUpper().rightJustified(digits, '0');
}

void headerSeeds(Corpus &corpus, const QString &name, const LoggerImage &image)
{
    corpus.add("fuzz_header_image", name, image.header.mid(0x0200));
    const QList<int> lines = HeaderImage::textLines();
    for (qsizetype i = 0; i < lines.size(); i += 3) {
        const QByteArray data = image.header.mid(lines[i], 16);
        corpus.add("fuzz_header_line", name + QStringLiteral("-%1").arg(lines[i], 4, 16, QLatin1Char('0')),
                   char(i) + data);
        const QByteArray address = hexAddress(lines[i], 4);
        corpus.add("fuzz_reply_line", name + QStringLiteral("-c%1").arg(lines[i], 4, 16, QLatin1Char('0')),
                   char(0) + address + replyLine('c', address, data));
    }
    for (int address = 0; address < 0x0200; address += 0x10) {
        const QByteArray a = hexAddress(address, 4);
        corpus.add("fuzz_reply_line", name + QStringLiteral("-a%1").arg(address, 4, 16, QLatin1Char('0')),
                   char(1) + a + replyLine('a', a, image.header.mid(address, 16).toHex().toUpper()));
    }
    QList<HeaderDataFile::Record> records;
    for (int address : HeaderDataFile::addresses()) {
        const QByteArray bytes = image.header.mid(address, 16);
        records << HeaderDataFile::Record{
            address, address < HeaderDataFile::HexLinesEnd ? QString::fromLatin1(bytes.toHex().toUpper())
                                                           : QString::fromLatin1(bytes)};
    }
    const QByteArray file = HeaderDataFile::text(records);
    corpus.add("fuzz_header_data_file", name, file);
    corpus.add("fuzz_quoted_records", name + QStringLiteral("-hdr"), char(0x80 | 63) + file);
    QByteArray live;
    for (int address : {0x0000, 0x0010, 0x0020, 0x0040, 0x0050})
        live += image.header.mid(address, 16).toHex().toUpper() + '\n';
    corpus.add("fuzz_live_block", name, live);
    corpus.add("fuzz_status_byte", name,
               QByteArray("\x05\x03") + "Low-Battery -- " + '\0' + hexAddress(image.statusByte, 2));
}

void dataSeeds(Corpus &corpus, const QString &name, const LoggerImage &image, const LoggerHeader &header)
{
    const int channels = qBound(1, int(header.activeChannelCount), 8);
    const bool monitor = quint8(image.header.at(0x0040)) & 0x80;
    QByteArray lines(1, char((channels - 1) | (monitor ? 8 : 0) | 16));
    QByteArray realtime("r");
    const qsizetype end = qMin<qsizetype>(image.data.size(), 0x0400);
    for (qsizetype address = 0; address + 16 <= end; address += 16) {
        const QByteArray a = hexAddress(int(address), 6);
        const QByteArray reply = replyLine('e', a, image.data.mid(address, 16).toHex().toUpper());
        lines += reply + '\n';
        if (address < 0x40)
            corpus.add("fuzz_reply_line", name + QStringLiteral("-e%1").arg(address), char(2) + a + reply);
    }
    corpus.add("fuzz_data_lines", name, lines);
    for (int k = 1; k <= channels; ++k) {
        const QByteArray word = image.data.mid(2 * k, 2).leftJustified(2, '\0');
        const int count = (quint8(word[0]) << 8 | quint8(word[1])) & 0xFFF;
        realtime += QByteArray::number(k) + ':' + hexAddress(count, 3) + ',';
    }
    corpus.add("fuzz_realtime_line", name, char(channels) + realtime + "R#5DC,802,73A7C");
}

void calibrationSeeds(Corpus &corpus, const QString &name, const LoggerHeader &header)
{
    const CalibrationFile::Stamp stamp{QStringLiteral("Monday, 1 June 2026"), QStringLiteral("10:00:00")};
    CalBoxes boxes;
    for (int number = CalFields::CalDue; number < CalFields::CalType; ++number)
        boxes[number] = CalFields::recordText(header.channel[0], number);
    boxes.twoPoint = header.channel[0].calType == 1;
    const QByteArray single = CalibrationFile::singleChannelText(boxes, stamp);
    corpus.add("fuzz_calibration_single", name, single);
    const QByteArray all = CalibrationFile::allChannelText(header, QStringLiteral("/tmp/") + name,
                                                           QStringLiteral("Z820"), QStringLiteral("notes"), stamp);
    corpus.add("fuzz_calibration_all", name, all);
    corpus.add("fuzz_quoted_records", name + QStringLiteral("-cal"), char(63) + all);
}

void settingsSeeds(Corpus &corpus, const QString &scratch)
{
    const QString file = scratch + QStringLiteral("/datalogger-fuzz-seed.ini");
    QFile::remove(file);
    {
        SettingsStore store(file);
        StartupSettings s(store);
        s.save(QStringLiteral("chkRAW"), QStringLiteral("1"));
        s.save(QStringLiteral("chkAutoBaud"), QStringLiteral("0"));
        s.save(QStringLiteral("CommPortNum"), QStringLiteral("3"));
        s.save(QStringLiteral("GMTDelta"), QStringLiteral("-5"));
        s.save(QStringLiteral("PortSettings"), QStringLiteral("9600,n,8,1"));
        store.sync();
    }
    QFile in(file);
    if (in.open(QIODevice::ReadOnly))
        corpus.add("fuzz_settings", QStringLiteral("startup"), in.readAll());
    in.close();
    QFile::remove(file);
}

template<size_t N>
QByteArray withNuls(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

void cliSeeds(Corpus &corpus)
{
    const QList<QByteArray> lines{
        withNuls("status\0--demo"),
        withNuls("init\0--demo\0--period\0005m\0--channels\0001-4\0--monitor\0002\0--wait\00010\0--start\0now"),
        withNuls("realtime\0--demo\0--interval\0000.5\0--count\0003\0--units\0mv"),
        withNuls("header\0save\0f.txt\0--port\0/dev/ttyS0\0--baud\0115200"),
        withNuls("download\0--demo\0--preset\0finished\0--raw\0--out\0x\0--json\0--yes"),
        withNuls("init\0--help"),
    };
    int n = 0;
    for (const QByteArray &line : lines)
        corpus.add("fuzz_cli_options", QStringLiteral("args%1").arg(++n), line);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seed_generator CORPUS_FOLDER\n");
        return 2;
    }
    Corpus corpus(QString::fromLocal8Bit(argv[1]));
    const QDateTime now(QDate(2026, 6, 1), QTime(10, 0), Qt::UTC);
    for (const QString &name : LoggerPresets::names()) {
        const LoggerImage image = LoggerPresets::build(*LoggerPresets::fromName(name), now);
        const LoggerHeader header = HeaderImage::decode(image.header);
        headerSeeds(corpus, name, image);
        dataSeeds(corpus, name, image, header);
        calibrationSeeds(corpus, name, header);
    }
    settingsSeeds(corpus, QDir::tempPath());
    cliSeeds(corpus);
    std::printf("%d seed files in %s\n", corpus.files(), argv[1]);
    return 0;
}
