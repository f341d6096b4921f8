// The whole header decode over a header memory image (the input, from 0200
// on: identity, test lines, channel blocks, notes). Properties: the text lines
// written back as the PC writes them (sim HeaderWriter) decode to the same
// header; each channel block, made into the lines a calibration write sends
// (ChannelBlock), decodes to exactly the record the write says the logger
// now holds, and those lines are a fixed point of decode and encode.
#include "calibration/ChannelBlock.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/HeaderImage.h"
#include "logger/HeaderMap.h"
#include "sim/HeaderWriter.h"

namespace {

constexpr int TextStart = 0x0200;
constexpr int ImageSize = 0x1000;

void checkChannelBlock(const ChannelCalRecord &read, int index)
{
    ChannelBlock block = ChannelBlock::fromRecord(read);
    const std::optional<QStringList> lines = block.lines();
    if (!lines)
        return;
    FuzzCheck::require(lines->size() == ChannelBlock::Lines, "sixteen block lines");
    QByteArray image(ImageSize, ' ');
    HeaderWriter writer(image);
    for (int line = 0; line < ChannelBlock::Lines; ++line) {
        FuzzCheck::require(lines->at(line).size() == HeaderMap::LineBytes,
                           "block line of 16 characters", lines->at(line));
        writer.text(ChannelBlock::address(index, line), lines->at(line));
    }
    // Enough of the identity for the decode to take the block.
    writer.text(0x0210, QStringLiteral("0762Z8200800008C"));
    const LoggerHeader again = HeaderImage::decode(image);
    ChannelCalRecord expected = read;
    block.applyTo(expected);
    expected.sensitivity = expected.slope;
    // The write keeps each value as computed; the logger holds its 6-digit
    // text, so a read gives that text's value: the texts must match.
    const QString d = HeaderImage::difference(expected, again.channel[size_t(index)], false);
    FuzzCheck::require(d.isEmpty(), "written block reads back as the write says", d);
    ChannelBlock second = ChannelBlock::fromRecord(again.channel[size_t(index)]);
    FuzzCheck::require(second.lines() == lines, "block lines are a fixed point",
                       lines->join(u'|'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray image(ImageSize, ' ');
    image.replace(TextStart, qsizetype(qMin<size_t>(size, ImageSize - TextStart)),
                  FuzzCheck::bytes(data, qMin<size_t>(size, ImageSize - TextStart)));
    const LoggerHeader header = HeaderImage::decode(image);

    QByteArray copy(ImageSize, '\0');
    HeaderWriter writer(copy);
    for (int address : HeaderImage::textLines())
        writer.text(address, HeaderImage::lineText(image, address));
    const QString d = HeaderImage::difference(header, HeaderImage::decode(copy));
    FuzzCheck::require(d.isEmpty(), "header written back decodes the same", d);

    for (int index = 0; index < header.channelBlocks(); ++index)
        checkChannelBlock(header.channel[size_t(index)], index);
    return 0;
}
