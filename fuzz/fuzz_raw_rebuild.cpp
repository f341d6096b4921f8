// A download written again from its RAW file and the metadata beside it, as
// File > Rebuild from RAW and the viewer do. Input: the RAW text, then after
// a 0x1E byte the metadata (.json) beside it, when there is one.
// Properties: every RAW file that is read is rebuilt; and the rebuilt
// spreadsheet CSV and tidy CSV, read back, hold the same scans with the
// same clips and the same values.
#include "fuzz/FuzzCheck.h"
#include "logger/download/DownloadRebuild.h"
#include "logger/download/DownloadTableReader.h"
#include "platform/Dialogs.h"

#include <QDir>
#include <QFile>
#include <cmath>

namespace {

// The operator's answer to every box a rebuild may show: the safe one.
class QuietDialogs : public Dialogs
{
public:
    int Message_Box(const QString &, int, const QString &) override { return Ok; }
    QString getOpenFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString getSaveFileName(const QString &, const QString &, const QString &) override { return {}; }
    int runModal(QObject *) override { return 0; }
    void beep() override {}
    void setBusy(bool) override {}
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        FuzzCheck::fail("the scratch file can be written", path);
    file.write(bytes);
}

bool close(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return std::fabs(a - b) <= 1e-6 * std::max({1.0, std::fabs(a), std::fabs(b)});
}

void compare(const DownloadTable &parts, const DownloadTable &tidy)
{
    FuzzCheck::require(parts.rowCount() == tidy.rowCount(), "the same number of rows in both files",
                       QStringLiteral("%1 and %2").arg(parts.rowCount()).arg(tidy.rowCount()));
    FuzzCheck::require(parts.columns.size() == tidy.columns.size(), "the same columns in both files");
    for (qsizetype r = 0; r < parts.rowCount(); ++r) {
        FuzzCheck::require(parts.scan(r) == tidy.scan(r), "the same scans", QString::number(parts.scan(r)));
        for (int c = 0; c < parts.columns.size(); ++c) {
            FuzzCheck::require(parts.clip(r, c) == tidy.clip(r, c) && close(parts.value(r, c), tidy.value(r, c)),
                               "the same value in both files",
                               QStringLiteral("scan %1 column %2: %3 and %4")
                                   .arg(parts.scan(r))
                                   .arg(c)
                                   .arg(parts.value(r, c))
                                   .arg(tidy.value(r, c)));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = FuzzCheck::bytes(data, size);
    const qsizetype split = input.indexOf('\x1e');
    const QByteArray rawText = split < 0 ? input : input.left(split);
    const RawDownloadFile raw = RawDownloadFile::parse(rawText);
    if (!raw.refusal.isEmpty())
        return 0;

    const QString folder = FuzzCheck::scratchFolder() + QStringLiteral("/rebuild");
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    writeFile(folder + QStringLiteral("/in.RAW"), rawText);
    if (split >= 0)
        writeFile(folder + QStringLiteral("/in.json"), input.mid(split + 1));

    QuietDialogs dialogs;
    DownloadRebuild rebuild(raw, dialogs);
    rebuild.setExtras(DownloadRebuild::extrasBeside(folder + QStringLiteral("/in.RAW")));
    const QString base = folder + QStringLiteral("/out");
    const DownloadRebuild::Outcome outcome = rebuild.write(base);
    FuzzCheck::require(outcome.written, "a RAW file that is read is rebuilt", outcome.message);

    const DownloadTableReader reader;
    const DownloadRead parts = reader.read(base + QStringLiteral(".CSV"));
    const DownloadRead tidy = reader.read(base + QStringLiteral(".tidy.csv"));
    // A download without a single whole scan has no rows to compare.
    if (parts.refused && tidy.refused)
        return 0;
    FuzzCheck::require(!parts.refused && !tidy.refused, "both rebuilt files read back",
                       parts.message + u'\n' + tidy.message);
    compare(parts.table, tidy.table);
    return 0;
}
