// A download's RAW file read back for a rebuild or the viewer. Properties: a
// refused file yields nothing but the reason; header lines are the logger's
// 16-character lines at their addresses; data lines run from address 0 in
// steps of 16 and each is a reply the encoder gives again from its address
// and digits; and a file cut after any line gives a prefix of the whole
// file's data lines, never a line the whole file does not have.
#include "fuzz/FuzzCheck.h"
#include "logger/FunctionsSubs.h"
#include "logger/download/RawDownloadFile.h"

namespace {

QString encodedDataLine(qint64 address, const QString &digits)
{
    const QString covered = fnHex6(qint32(address)) + u'#' + digits;
    return u'e' + covered + fnChecksum(covered);
}

void checkRead(const RawDownloadFile &file)
{
    if (!file.refusal.isEmpty()) {
        FuzzCheck::require(file.headerLines.isEmpty() && file.dataLines.isEmpty() && file.notes.isEmpty()
                               && file.liveLines.isEmpty() && !file.closed,
                           "a refused file yields only the reason", file.refusal);
        return;
    }
    FuzzCheck::require(!file.headerLines.isEmpty(), "a read file has header lines");
    for (const auto &[address, text] : file.headerLines) {
        FuzzCheck::require(address >= 0 && address <= 0xFFFF && text.size() == 16,
                           "a header line is 16 characters at a 4-digit address", text);
    }
    for (qsizetype i = 0; i < file.dataLines.size(); ++i) {
        const RawDownloadFile::DataLine &line = file.dataLines[i];
        FuzzCheck::require(line.address == 16 * i, "data lines consecutive from address 0", line.text);
        FuzzCheck::require(encodedDataLine(line.address, line.text.mid(8, 32)) == line.text,
                           "a kept data line is what the encoder gives", line.text);
    }
    FuzzCheck::require(file.nextAddress() == 16 * file.dataLines.size(), "next address after the last");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = FuzzCheck::bytes(data, size);
    const RawDownloadFile whole = RawDownloadFile::parse(bytes);
    checkRead(whole);
    if (!whole.refusal.isEmpty())
        return 0;

    // Cut after a line chosen by the input's length, as a download that
    // stopped there would have left the file.
    const qsizetype lineEnd = bytes.indexOf('\n', qsizetype(size / 2));
    if (lineEnd < 0)
        return 0;
    const RawDownloadFile cut = RawDownloadFile::parse(bytes.left(lineEnd + 1));
    checkRead(cut);
    if (!cut.refusal.isEmpty())
        return 0;
    FuzzCheck::require(cut.dataLines.size() <= whole.dataLines.size(), "a cut file has no more data lines");
    for (qsizetype i = 0; i < cut.dataLines.size(); ++i) {
        FuzzCheck::require(cut.dataLines[i].text == whole.dataLines[i].text,
                           "a cut file's data lines are the whole file's first", cut.dataLines[i].text);
    }
    return 0;
}
