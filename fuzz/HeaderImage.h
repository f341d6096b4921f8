#pragma once

#include "logger/LoggerHeader.h"

#include <QByteArray>
#include <QString>

// A header memory image decoded the way the header read decodes the lines it
// reads (identity, test lines, download file, the channel blocks the logger
// has, the notes), without a link; and comparisons of what it gives.
namespace HeaderImage {

// The 16 characters of the text line at address, as the reply carries them.
QString lineText(const QByteArray &image, int address);

LoggerHeader decode(const QByteArray &image);

// The text lines the header read takes, in its order (channel blocks of
// every page 06-0D, notes included).
QList<int> textLines();

// Empty when equal, else the first field that differs.
QString difference(const LoggerHeader &a, const LoggerHeader &b);
// Values compared to the bit, or (values false) only the texts they were read from.
QString difference(const ChannelCalRecord &a, const ChannelCalRecord &b, bool values = true);

} // namespace HeaderImage
