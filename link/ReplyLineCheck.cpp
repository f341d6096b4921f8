#include "link/ReplyLineCheck.h"

#include "logger/FunctionsSubs.h"

const ReplyLineCheck::Form ReplyLineCheck::Binc{u'c', 24, 4};
const ReplyLineCheck::Form ReplyLineCheck::HexHdra{u'a', 40, 4};
const ReplyLineCheck::Form ReplyLineCheck::HexDatae{u'e', 42, 6};

ReplyLineCheck::Fault ReplyLineCheck::check(const Form &form, const QString &line,
                                            const QString &address)
{
    if (line.size() != form.lineLength)
        return Fault::Length;
    if (fnChecksum(line.mid(1, form.coveredLength())) != line.mid(form.checksumAt(), 2))
        return Fault::Checksum;
    if (line.mid(1, form.addressWidth) != address)
        return Fault::Address;
    return Fault::None;
}
