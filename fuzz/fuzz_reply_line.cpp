// Memory-read reply lines ("c", "a", "e") and the reader's checks of their
// length, checksum and address echo. Input: one byte choosing the kind, the
// address the reader asked for, then the line as it arrived.
// Property: a line that passes every check is exactly what the simulated
// logger's encoder sends for that address and data (letter, address, "#",
// data, checksum of the covered characters), and a data line's eight words
// all decode.
#include "fuzz/FuzzCheck.h"
#include "link/ReplyLineCheck.h"
#include "logger/download/DataWords.h"
#include "sim/FirmwareCommands.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const ReplyLineCheck::Form *forms[] = {&ReplyLineCheck::Binc, &ReplyLineCheck::HexHdra,
                                           &ReplyLineCheck::HexDatae};
    const ReplyLineCheck::Form &form = *forms[data[0] % 3];
    const size_t width = size_t(form.addressWidth);
    if (size < 1 + width)
        return 0;
    const QString address = FuzzCheck::latin1(data + 1, width);
    const QString line = FuzzCheck::latin1(data + 1 + width, size - 1 - width);

    const ReplyLineCheck::Fault fault = ReplyLineCheck::check(form, line, address);
    if (fault != ReplyLineCheck::Fault::None)
        return 0;

    const QByteArray wire = line.toLatin1();
    const QByteArray covered = wire.mid(1, form.coveredLength());
    // The first character is the echo, which the transport has already matched.
    const QByteArray encoded = wire.left(1) + covered + FirmwareCommands::checksum(covered);
    FuzzCheck::require(encoded == wire, "passed line is the encoder's line", line);
    FuzzCheck::require(wire.mid(1, qsizetype(width)) == address.toLatin1(),
                       "passed line echoes the address", line);
    FuzzCheck::require(line.size() == form.lineLength, "passed line has its length", line);
    if (&form == &ReplyLineCheck::HexDatae)
        FuzzCheck::require(DataWords::fromReplyLine(line).has_value(),
                           "passed data line gives eight words", line);
    return 0;
}
