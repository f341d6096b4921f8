#include "logger/RealTimeLine.h"

namespace {

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

} // namespace

bool RealTimeLine::isReadingLine(const QString &line, int highestChannel)
{
    if (line.isEmpty() || (line.at(0) != u'r' && line.at(0) != u'l'))
        return false;
    const qsizetype needed = qsizetype(CharsPerChannel) * qMax(highestChannel, 0) + 4;
    return line.size() >= needed;
}

std::vector<std::optional<int>> RealTimeLine::counts(const QString &line, int rows)
{
    std::vector<std::optional<int>> result(size_t(qMax(rows, 0)));
    for (int k = 1; k <= rows; ++k) {
        // Character 6(k-1)+4 counting from 1 is index 6(k-1)+3.
        const qsizetype start = qsizetype(CharsPerChannel) * (k - 1) + 3;
        if (start + 3 > line.size())
            break;
        const QStringView digits = QStringView(line).mid(start, 3);
        if (!isHexDigit(digits[0]) || !isHexDigit(digits[1]) || !isHexDigit(digits[2]))
            continue;
        result[size_t(k - 1)] = digits.toInt(nullptr, 16);
    }
    return result;
}
