#include "sim/LoggerImage.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSaveFile>

#include <cctype>

// File format, version 2: a plain ASCII text file, one item per line, lines
// ended by a line feed.
//
//   DataLogger memory image
//   version 2
//   status 90                        status byte, two hexadecimal digits
//   clock 2026-12-10T15:27:17.125Z   the logger's clock when saved (UTC, ISO
//                                    8601 with milliseconds); may be left out
//   next-scan 2026-12-10T15:27:20.000Z
//                                    the running test's next scan, followed
//                                    by " early" for the early scan 255 s
//                                    before a long delay ends; left out when
//                                    no test runs
//   header 00001000                  header size in bytes, eight hex digits
//   0000 <32 hex digits>             every header line, in address order
//   ...
//   0FF0 <32 hex digits>
//   data 00020000                    data memory size in bytes, eight hex digits
//   000000 <32 hex digits>           data lines in address order; a line whose
//   ...                              bytes are all FF (erased) may be left out;
//                                    the last line is shorter when the size is
//                                    not a multiple of 16
//   end <64 hex digits>              SHA-256 of every byte before this line
//
// Hexadecimal digits are written in upper case and read in either case. The
// digest catches a truncated or altered file, so a damaged image is refused
// as a whole instead of giving the logger a half-restored memory. Version 1
// is the same without the clock and next-scan lines, and is still read.

namespace {

const QByteArray Title = "DataLogger memory image";
constexpr int FormatVersion = 2;
constexpr int OldestFormatVersion = 1;
const QByteArray ClockKey = "clock";
const QByteArray NextScanKey = "next-scan";
const QByteArray EarlySuffix = " early";
constexpr int LineBytes = 16;
// Data addresses have six hexadecimal digits: 16 MiB is the whole space.
constexpr qint64 MaxDataSize = 0x1000000;
// A full data memory takes about 2.5 bytes of text per byte; anything much
// larger cannot be an image and is not read into memory.
constexpr qint64 MaxFileSize = MaxDataSize * 3 + 0x100000;

QByteArray hexWord(qint64 value, int digits)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(digits, '0');
}

QByteArray utcText(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODateWithMs).toLatin1();
}

void appendLines(QByteArray &out, const QByteArray &bytes, int addressDigits, bool skipErased)
{
    for (qsizetype at = 0; at < bytes.size(); at += LineBytes) {
        const QByteArray line = bytes.mid(at, LineBytes);
        if (skipErased && line.count('\xFF') == line.size())
            continue;
        out += hexWord(at, addressDigits) + ' ' + line.toHex().toUpper() + '\n';
    }
}

// Walks the lines of an image, reporting the first thing that is not as the
// format says.
class ImageReader
{
public:
    explicit ImageReader(const QList<QByteArray> &lines) : m_lines(lines) {}

    QString error() const { return m_error; }
    bool failed() const { return !m_error.isEmpty(); }

    bool expectExact(const QByteArray &text)
    {
        if (atEnd() || m_lines[m_next] != text)
            return fail(QStringLiteral("expected \"%1\"").arg(QString::fromLatin1(text)));
        ++m_next;
        return true;
    }

    // A line "key <hex>" whose value has exactly the given number of digits.
    std::optional<qint64> keyedHex(const QByteArray &key, int digits)
    {
        if (atEnd() || !m_lines[m_next].startsWith(key + ' ')) {
            fail(QStringLiteral("expected the \"%1\" line").arg(QString::fromLatin1(key)));
            return std::nullopt;
        }
        const std::optional<qint64> value = parseHex(m_lines[m_next].mid(key.size() + 1), digits);
        if (!value)
            fail(QStringLiteral("the \"%1\" value is not %2 hexadecimal digits")
                     .arg(QString::fromLatin1(key))
                     .arg(digits));
        else
            ++m_next;
        return value;
    }

    std::optional<qint64> keyedDecimal(const QByteArray &key)
    {
        bool ok = false;
        const qint64 value = atEnd() || !m_lines[m_next].startsWith(key + ' ')
                                 ? 0
                                 : m_lines[m_next].mid(key.size() + 1).toLongLong(&ok);
        if (!ok) {
            fail(QStringLiteral("expected the \"%1\" line").arg(QString::fromLatin1(key)));
            return std::nullopt;
        }
        ++m_next;
        return value;
    }

    // An optional line "key <UTC date>[suffix]": nothing when the next line
    // has another key; a failure when it has this key and no date.
    std::optional<QDateTime> optionalDate(const QByteArray &key, const QByteArray &suffix,
                                          bool *suffixSeen)
    {
        if (atEnd() || !m_lines[m_next].startsWith(key + ' '))
            return std::nullopt;
        QByteArray value = m_lines[m_next].mid(key.size() + 1);
        if (suffixSeen)
            *suffixSeen = !suffix.isEmpty() && value.endsWith(suffix);
        if (suffixSeen && *suffixSeen)
            value.chop(suffix.size());
        const QDateTime date = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODateWithMs);
        if (!date.isValid() || !value.endsWith('Z')) {
            fail(QStringLiteral("the \"%1\" value is not a UTC date").arg(QString::fromLatin1(key)));
            return std::nullopt;
        }
        ++m_next;
        return date;
    }

    bool expectEnd()
    {
        return atEnd() || fail(QStringLiteral("unexpected text after the data memory"));
    }

    // Reads memory lines "address <hex>" into bytes. With erasedMayBeMissing,
    // lines may be left out (they stay as they are in bytes).
    bool memoryLines(QByteArray &bytes, int addressDigits, bool erasedMayBeMissing)
    {
        qint64 expected = 0;
        while (!atEnd() && expected < bytes.size()) {
            const QByteArray &line = m_lines[m_next];
            if (line.size() <= addressDigits || line[addressDigits] != ' ')
                break;
            const std::optional<qint64> address = parseHex(line.left(addressDigits), addressDigits);
            if (!address)
                break;
            if (*address < expected || *address % LineBytes != 0 || *address >= bytes.size()
                || (!erasedMayBeMissing && *address != expected))
                return fail(QStringLiteral("memory line %1 is out of order or out of range")
                                .arg(QString::fromLatin1(line.left(addressDigits))));
            const int count = int(qMin<qint64>(LineBytes, bytes.size() - *address));
            const QByteArray data = QByteArray::fromHex(line.mid(addressDigits + 1));
            if (line.size() != addressDigits + 1 + 2 * count || data.size() != count
                || !isHex(line.mid(addressDigits + 1)))
                return fail(QStringLiteral("memory line %1 does not hold %2 bytes in hexadecimal")
                                .arg(QString::fromLatin1(line.left(addressDigits)))
                                .arg(count));
            bytes.replace(*address, count, data);
            expected = *address + LineBytes;
            ++m_next;
        }
        if (!erasedMayBeMissing && expected < bytes.size())
            return fail(QStringLiteral("memory lines are missing"));
        return true;
    }

    bool atEnd() const { return m_next >= m_lines.size(); }
    int lineNumber() const { return int(m_next) + 1; }

private:
    static bool isHex(const QByteArray &text)
    {
        for (char c : text)
            if (!std::isxdigit(static_cast<unsigned char>(c)))
                return false;
        return true;
    }

    static std::optional<qint64> parseHex(const QByteArray &text, int digits)
    {
        if (text.size() != digits || !isHex(text))
            return std::nullopt;
        return text.toLongLong(nullptr, 16);
    }

    bool fail(const QString &what)
    {
        if (m_error.isEmpty())
            m_error = QStringLiteral("line %1: %2").arg(lineNumber()).arg(what);
        return false;
    }

    const QList<QByteArray> &m_lines;
    qsizetype m_next = 0;
    QString m_error;
};

bool setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

// Splits off the closing "end <digest>" line and checks the digest against
// the bytes before it.
std::optional<QByteArray> verifiedBody(const QByteArray &content, QString *reason)
{
    if (!content.endsWith('\n')) {
        *reason = QStringLiteral("the file is truncated (no closing line)");
        return std::nullopt;
    }
    const qsizetype lastStart = content.lastIndexOf('\n', content.size() - 2) + 1;
    const QByteArray last = content.mid(lastStart, content.size() - lastStart - 1);
    if (!last.startsWith("end ")) {
        *reason = QStringLiteral("the file is truncated (no closing line)");
        return std::nullopt;
    }
    const QByteArray body = content.left(lastStart);
    const QByteArray digest = QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
    if (last.mid(4).toLower() != digest) {
        *reason = QStringLiteral("the file is damaged (its check digest does not match)");
        return std::nullopt;
    }
    return body;
}

std::optional<LoggerImage> parseBody(const QByteArray &body, QString *reason)
{
    QList<QByteArray> lines = body.split('\n');
    lines.removeLast(); // the body ends with a line feed
    ImageReader reader(lines);
    LoggerImage image;
    reader.expectExact(Title);
    const std::optional<qint64> version = reader.keyedDecimal("version");
    if (version && (*version < OldestFormatVersion || *version > FormatVersion)) {
        *reason = QStringLiteral("it is in format version %1, this program reads versions %2 to %3")
                      .arg(*version)
                      .arg(OldestFormatVersion)
                      .arg(FormatVersion);
        return std::nullopt;
    }
    const std::optional<qint64> status = reader.keyedHex("status", 2);
    if (!reader.failed() && *version >= 2) {
        image.clock = reader.optionalDate(ClockKey, {}, nullptr).value_or(QDateTime());
        bool early = false;
        if (const std::optional<QDateTime> next = reader.optionalDate(NextScanKey, EarlySuffix, &early))
            image.schedule = LoggerImage::ScanSchedule{*next, early};
    }
    const std::optional<qint64> headerSize = reader.keyedHex("header", 8);
    if (!reader.failed() && *headerSize != LoggerImage::HeaderSize) {
        *reason = QStringLiteral("the header size %1 is not %2 bytes")
                      .arg(*headerSize)
                      .arg(LoggerImage::HeaderSize);
        return std::nullopt;
    }
    if (!reader.failed())
        reader.memoryLines(image.header, 4, false);
    const std::optional<qint64> dataSize = reader.failed() ? std::nullopt : reader.keyedHex("data", 8);
    if (!reader.failed() && *dataSize > MaxDataSize) {
        *reason = QStringLiteral("the data memory size %1 is larger than a logger can address")
                      .arg(*dataSize);
        return std::nullopt;
    }
    if (!reader.failed()) {
        image.data = QByteArray(*dataSize, '\xFF');
        reader.memoryLines(image.data, 6, true);
    }
    if (!reader.failed())
        reader.expectEnd();
    if (reader.failed()) {
        *reason = reader.error();
        return std::nullopt;
    }
    image.statusByte = quint8(*status);
    return image;
}

} // namespace

bool LoggerImage::save(const QString &file, QString *error) const
{
    if (header.size() != HeaderSize || data.size() > MaxDataSize)
        return setError(error, QStringLiteral("Cannot save %1: the memory image has an impossible size.")
                                   .arg(file));
    QByteArray out = Title + '\n';
    out += "version " + QByteArray::number(FormatVersion) + '\n';
    out += "status " + hexWord(statusByte, 2) + '\n';
    if (clock.isValid())
        out += ClockKey + ' ' + utcText(clock) + '\n';
    if (schedule && schedule->nextScan.isValid())
        out += NextScanKey + ' ' + utcText(schedule->nextScan) + (schedule->early ? EarlySuffix : "")
               + '\n';
    out += "header " + hexWord(HeaderSize, 8) + '\n';
    appendLines(out, header, 4, false);
    out += "data " + hexWord(data.size(), 8) + '\n';
    appendLines(out, data, 6, true);
    out += "end " + QCryptographicHash::hash(out, QCryptographicHash::Sha256).toHex() + '\n';

    // Written beside the old file and renamed over it, so that a crash or a
    // full disk never leaves half an image behind.
    QSaveFile saveFile(file);
    if (!saveFile.open(QIODevice::WriteOnly) || saveFile.write(out) != out.size()
        || !saveFile.commit())
        return setError(error, QStringLiteral("Cannot save the logger image %1: %2")
                                   .arg(file, saveFile.errorString()));
    return true;
}

std::optional<LoggerImage> LoggerImage::load(const QString &file, QString *error)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        setError(error, QStringLiteral("Cannot open the logger image %1: %2").arg(file, in.errorString()));
        return std::nullopt;
    }
    if (in.size() > MaxFileSize) {
        setError(error, QStringLiteral("%1 is not a logger image: it is far too large.").arg(file));
        return std::nullopt;
    }
    const QByteArray content = in.readAll();
    if (!content.startsWith(Title + '\n')) {
        setError(error, QStringLiteral("%1 is not a logger image.").arg(file));
        return std::nullopt;
    }
    QString reason;
    std::optional<LoggerImage> image;
    if (const std::optional<QByteArray> body = verifiedBody(content, &reason))
        image = parseBody(*body, &reason);
    if (!image)
        setError(error, QStringLiteral("The logger image %1 cannot be used: %2.").arg(file, reason));
    return image;
}
