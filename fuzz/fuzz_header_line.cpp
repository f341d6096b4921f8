// One header text line decoded on its own. Input: one byte choosing the line
// (a line the header read interprets, or a channel block line), then the 16
// characters. Properties: decoding the same line again changes nothing; a
// due date always comes out as
// "yyyy/mm/dd"; the due-date repair is idempotent.
#include "fuzz/FuzzCheck.h"
#include "fuzz/HeaderImage.h"
#include "logger/HeaderDecoder.h"
#include "logger/HeaderMap.h"

#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const QString text = FuzzCheck::latin1(data + 1, size - 1);
    const QList<int> lines = HeaderImage::textLines();
    const int address = lines[data[0] % lines.size()];

    if (address >= HeaderMap::FirstChannelPage * 0x100 && address < HeaderMap::NotesAddress) {
        const int line = address & 0xF0;
        ChannelCalRecord once;
        HeaderDecoder::applyChannelLine(once, line, text);
        ChannelCalRecord twice = once;
        HeaderDecoder::applyChannelLine(twice, line, text);
        const QString d = HeaderImage::difference(once, twice);
        FuzzCheck::require(d.isEmpty(), "channel line decodes the same twice", d);
        const QString field = HeaderMap::take(text, HeaderMap::spec(ChannelField::CalDue).offset,
                                              HeaderMap::spec(ChannelField::CalDue).width);
        const QString repaired = HeaderDecoder::repairedCalDue(field);
        FuzzCheck::require(HeaderDecoder::repairedCalDue(repaired) == repaired,
                           "due date repair is idempotent", field);
        static const QRegularExpression date(QStringLiteral("^\\d{4}/\\d{2}/\\d{2}$"));
        const QString due = HeaderDecoder::calDueDate(field);
        FuzzCheck::require(date.match(due).hasMatch(), "due date is yyyy/mm/dd", field + u'>' + due);
        return 0;
    }
    if (address >= HeaderMap::NotesAddress) {
        const std::optional<QString> notes = HeaderDecoder::notesText(text);
        FuzzCheck::require(notes.has_value() == text.contains(u'^'), "notes end at ^", text);
        if (notes)
            FuzzCheck::require(!notes->contains(u'^'), "notes hold no ^", text);
        return 0;
    }
    LoggerHeader once;
    HeaderDecoder::applyLine(once, address, text);
    LoggerHeader twice = once;
    HeaderDecoder::applyLine(twice, address, text);
    const QString d = HeaderImage::difference(once, twice);
    FuzzCheck::require(d.isEmpty(), "header line decodes the same twice", d);
    (void)HeaderDecoder::numericValue(text);
    return 0;
}
