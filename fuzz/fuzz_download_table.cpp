// A download's CSV files read back for the viewer. Input: one byte for the
// kind (even: the spreadsheet CSV, read from a file as the viewer opens it;
// odd: the tidy CSV with its events table and metadata, parted by 0x1E
// bytes). Properties: a refused file gives no rows and says so; a read one
// has rows with scan numbers that only rise and times that never go back,
// every value a finite number or a gap, a gap for every clip; and a file
// cut after any line reads as a prefix of the whole file's rows (all but
// its last row, which the cut may have shortened).
#include "fuzz/FuzzCheck.h"
#include "logger/download/DownloadTableReader.h"

#include <QFile>
#include <cmath>
#include <cstring>

namespace {

const QString Name = QStringLiteral("fuzz.csv");

DownloadRead readParts(const QByteArray &text)
{
    const QString path = FuzzCheck::scratchFolder() + u'/' + Name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        FuzzCheck::fail("the scratch file can be written", path);
    file.write(text);
    file.close();
    return DownloadTableReader().read(path);
}

DownloadRead readTidy(const QByteArray &text)
{
    const QList<QByteArray> parts = text.split('\x1e');
    DownloadTableReader::TidyTexts texts;
    texts.rows = parts.value(0);
    texts.events = parts.value(1);
    texts.metadata = parts.value(2);
    return DownloadTableReader::readTidyText(texts, Name);
}

bool sameValue(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

bool sameRow(const DownloadTable &a, const DownloadTable &b, qsizetype row)
{
    if (a.scan(row) != b.scan(row) || a.utcMs(row) != b.utcMs(row) || a.columns.size() != b.columns.size())
        return false;
    for (int c = 0; c < a.columns.size(); ++c) {
        if (!sameValue(a.value(row, c), b.value(row, c)) || a.clip(row, c) != b.clip(row, c))
            return false;
    }
    return true;
}

void checkRead(const DownloadRead &read)
{
    const DownloadTable &t = read.table;
    if (read.refused) {
        FuzzCheck::require(read.message.startsWith(Name + QStringLiteral(" cannot be opened: ")),
                           "a refused file says why", read.message);
        return;
    }
    FuzzCheck::require(t.rowCount() > 0 && !t.columns.isEmpty(), "a read file has rows and columns");
    for (qsizetype r = 0; r < t.rowCount(); ++r) {
        if (r > 0) {
            FuzzCheck::require(t.scan(r) > t.scan(r - 1), "scan numbers rise", QString::number(t.scan(r)));
            if (t.utcMs(r) != DownloadTable::NoTime && t.utcMs(r - 1) != DownloadTable::NoTime)
                FuzzCheck::require(t.utcMs(r) >= t.utcMs(r - 1), "times never go back",
                                   QString::number(t.scan(r)));
        }
        for (int c = 0; c < t.columns.size(); ++c) {
            const double v = t.value(r, c);
            FuzzCheck::require(std::isfinite(v) || std::isnan(v), "a value is a number or a gap",
                               QString::number(v));
            FuzzCheck::require(t.clip(r, c) == DownloadTable::NoClip || std::isnan(v), "a clip is a gap");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const bool tidy = data[0] & 1;
    const QByteArray text = FuzzCheck::bytes(data + 1, size - 1);
    const auto read = [tidy](const QByteArray &t) { return tidy ? readTidy(t) : readParts(t); };

    const DownloadRead whole = read(text);
    checkRead(whole);
    if (whole.refused)
        return 0;

    // Cut the rows after a line chosen by the input's length, as a file
    // copied while it was still being written would be.
    const qsizetype rowsEnd = tidy ? text.indexOf('\x1e') : text.size();
    const qsizetype lineEnd = text.indexOf('\n', text.size() / 2);
    if (lineEnd < 0 || (rowsEnd >= 0 && lineEnd >= rowsEnd))
        return 0;
    const DownloadRead cut = read(text.left(lineEnd + 1));
    checkRead(cut);
    if (cut.refused)
        return 0;
    const DownloadTable &c = cut.table;
    FuzzCheck::require(c.rowCount() - 1 <= whole.table.rowCount(), "a cut file has no more rows");
    for (qsizetype r = 0; r + 1 < c.rowCount(); ++r)
        FuzzCheck::require(sameRow(c, whole.table, r), "a cut file's rows are the whole file's first",
                           QString::number(c.scan(r)));
    return 0;
}
