#include "tests/logger/HeaderBench.h"

#include "sim/HeaderWriter.h"

HeaderBench::HeaderBench(const LoggerImage &image)
    : TransportBench(loop, image)
    , header(connection.header)
    , reader(connection.headerReader)
{

    reader.setHooks({
        .endProgram = [this] { events << "endProgram"; },
        .autoBaudSwitch = [this] { events << "autoBaud"; },
        .batteryLimitSetting = [] { return 7.0; },
        .subParseHdrtoCSV = [this] { events << "csv:" + header.serialNumber; },
        .subLoggerPresent = [this] { events << "loggerPresent"; },
        .connectionCheck = [this] { events << "connectionCheck"; },
    });
    QObject::connect(&reader, &HeaderReader::messageLine,
                     [this](const QString &text) { messages << text; });
    QObject::connect(&reader, &HeaderReader::headerNotesShown,
                     [this](const QString &text) { notesShown << text; });
    QObject::connect(&reader, &HeaderReader::channelLabelsChanged,
                     [this](const QStringList &labels) { channelLabels = labels; });
    QObject::connect(&reader, &HeaderReader::monitorFrameEnabled,
                     [this] { events << "monitorFrame"; });
    QObject::connect(&reader, &HeaderReader::progressChanged, [this](double value, int maximum) {
        lastProgress = value;
        progressMaximum = maximum;
    });
}

void HeaderBench::setLine(int address, const QString &text)
{
    LoggerImage image = logger.image();
    HeaderWriter(image.header).text(address, text);
    logger.loadImage(image);
}

QString HeaderBench::lineAt(int address) const
{
    QByteArray header = logger.image().header;
    return HeaderWriter(header).textAt(address);
}
