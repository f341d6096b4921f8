#include "logger/download/RawDownloadFile.h"

#include "logger/FunctionsSubs.h"

#include <QFile>
#include <QStringDecoder>

namespace {

constexpr int HeaderLineLength = 24; // "c0200#" + 16 characters + checksum
constexpr int DataLineLength = 42;   // "e000000#" + 32 digits + checksum
constexpr int LineBytes = 16;
constexpr qint64 LargestFile = 256LL * 1024 * 1024;

const QString PicHeaderInfo = QStringLiteral("Pic Header Info");
const QString StartOfData = QStringLiteral("Start of Downloaded Data");
const QString EndOfData = QStringLiteral("End of Downloaded Data");
const QString EndOfNotes = QStringLiteral("End of Download Notes");

bool isHex(const QString &text)
{
    for (QChar c : text) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F')))
            return false;
    }
    return !text.isEmpty();
}

// The checks of a reply line: its letter, length, address digits and the
// checksum over everything between letter and checksum.
bool replyLineOk(const QString &line, QChar letter, int length, int addressDigits)
{
    return line.size() == length && line.front() == letter && isHex(line.mid(1, addressDigits))
        && line.at(1 + addressDigits) == u'#' && isHex(line.right(2))
        && fnChecksum(line.mid(1, length - 3)) == line.right(2);
}

HexField field(const QString &hex)
{
    return HexField{hex, quint32(fnHexToLong(hex))};
}

// "a0000# A5_03_..." into its fields; false when the line is not of that form.
bool takeFields(const QString &line, int count, QStringList *fields)
{
    const qsizetype hash = line.indexOf(u'#');
    if (hash < 0)
        return false;
    *fields = line.mid(hash + 1).split(u'_');
    if (fields->size() != count)
        return false;
    for (QString &f : *fields)
        f = f.trimmed();
    return true;
}

class Reader
{
public:
    explicit Reader(RawDownloadFile &file) : m_file(file) {}

    void run(const QStringList &lines)
    {
        int n = 0;
        for (; n < lines.size() && lines[n].startsWith(u'c'); ++n) {
            if (!headerLine(lines[n], n + 1))
                return;
        }
        if (m_file.headerLines.isEmpty() || n >= lines.size() || lines[n].trimmed() != PicHeaderInfo) {
            refuse(QStringLiteral("This is not a download RAW file: it does not start with the "
                                  "logger's header lines and \"Pic Header Info\"."));
            return;
        }
        bool inLiveBlock = true;
        for (; n < lines.size() && lines[n] != StartOfData; ++n) {
            if (inLiveBlock)
                m_file.liveLines << lines[n];
            inLiveBlock = inLiveBlock && !lines[n].startsWith(QLatin1String("DATA "));
            liveLine(lines[n]);
        }
        if (n >= lines.size()) {
            refuse(QStringLiteral("The file ends before \"Start of Downloaded Data\"."));
            return;
        }
        for (++n; n < lines.size() && !lines[n].startsWith(EndOfData); ++n)
            dataLine(lines[n], n + 1);
        for (; n < lines.size(); ++n) {
            m_file.closed = true;
            m_file.notes << lines[n];
            if (lines[n] == EndOfNotes)
                break;
        }
    }

private:
    // A refused file keeps nothing read before the fault, only the reason.
    void refuse(const QString &why)
    {
        m_file = RawDownloadFile{};
        m_file.refusal = why;
    }

    bool headerLine(const QString &line, int number)
    {
        if (!replyLineOk(line, u'c', HeaderLineLength, 4)) {
            refuse(QStringLiteral("Line %1 is not a header line as the logger sends it "
                                  "(form or checksum): %2")
                       .arg(number)
                       .arg(line.left(40)));
            return false;
        }
        m_file.headerText += line + QStringLiteral("\r\n");
        m_file.headerLines.append({int(fnHexToLong(line.mid(1, 4))), line.mid(6, LineBytes)});
        return true;
    }

    void liveLine(const QString &line)
    {
        LiveBlockValues &v = m_file.live;
        QStringList f;
        if (line.startsWith(QLatin1String("STATUS: ")))
            m_file.statusText = line.mid(8);
        else if (line.startsWith(QLatin1String("SB at download: ")))
            m_file.statusByteText = line.mid(16);
        else if (line.startsWith(QLatin1String("a0000#")) && takeFields(line, 6, &f))
            std::tie(v.eepromMarker, v.memoryByte, v.nextSample, v.eventWaits, v.eventScans, v.eventPointer) =
                std::tuple(field(f[0]), field(f[1]), field(f[2]), field(f[3]), field(f[4]), field(f[5]));
        else if (line.startsWith(QLatin1String("a0010#")) && takeFields(line, 6, &f))
            setup(v.preset, f);
        else if (line.startsWith(QLatin1String("a0020#")) && takeFields(line, 6, &f))
            setup(v.active, f);
        else if (line.startsWith(QLatin1String("NOTE: ")))
            m_file.firstScanNote = line;
        else if (line.startsWith(QLatin1String("Initialization Time Zone: ")))
            m_file.initTimeZone = line.mid(26);
        else if (line.startsWith(QLatin1String("Downloaded on: ")))
            origin(line);
        else if (line.startsWith(QLatin1String("  as file: ")))
            m_file.baseName = line.mid(11);
    }

    static void setup(LiveSetupFields &s, const QStringList &f)
    {
        s = {field(f[0]), field(f[1]), field(f[2]), field(f[3]), field(f[4]), field(f[5])};
    }

    void origin(const QString &line)
    {
        const qsizetype at = line.indexOf(QLatin1String("  at LocCode: "));
        const qsizetype zone = line.lastIndexOf(QLatin1String("  In Zone: "));
        if (at < 0 || zone < at)
            return;
        m_file.downloadTime =
            QDateTime::fromString(line.mid(15, at - 15), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        m_file.locationCode = line.mid(at + 14, zone - at - 14);
    }

    void dataLine(const QString &line, int number)
    {
        if (!m_file.dataProblem.isEmpty())
            return;
        const qint64 expected = m_file.nextAddress();
        QString why;
        if (!replyLineOk(line, u'e', DataLineLength, 6))
            why = QStringLiteral("not a data line as the logger sends it (form or checksum)");
        else if (fnHexToLong(line.mid(1, 6)) != expected)
            why = QStringLiteral("address %1 where %2 was due").arg(line.mid(1, 6), fnHex6(qint32(expected)));
        if (why.isEmpty()) {
            m_file.dataLines.append({expected, line});
            return;
        }
        m_file.dataProblem = QStringLiteral("line %1: %2").arg(number).arg(why);
    }

    RawDownloadFile &m_file;
};

} // namespace

RawDownloadFile RawDownloadFile::parse(const QByteArray &bytes)
{
    RawDownloadFile file;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError() || bytes.contains('\0')) {
        file.refusal = QStringLiteral("This is not a download RAW file: it is not text in UTF-8.");
        return file;
    }
    QStringList lines = text.split(u'\n');
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    Reader(file).run(lines);
    return file;
}

RawDownloadFile RawDownloadFile::read(const QString &path)
{
    QFile f(path);
    RawDownloadFile file;
    if (!f.open(QIODevice::ReadOnly)) {
        file.refusal = QStringLiteral("The file could not be opened: ") + f.errorString();
        return file;
    }
    if (f.size() > LargestFile) {
        file.refusal = QStringLiteral("The file is larger than any logger's download.");
        return file;
    }
    return parse(f.readAll());
}
