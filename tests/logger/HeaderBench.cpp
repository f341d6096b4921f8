#include "tests/support/ReceivePump.h"
#include "tests/logger/HeaderBench.h"

#include "sim/HeaderWriter.h"

HeaderBench::HeaderBench(const LoggerImage &image)
    : logger(loop, image)
    , simPort(loop, logger)
    , port(simPort)
    , status(loop)
    , transport(port, loop, dialogs, state, switches, trace, status)
    , reader(header, transport, state, loop, dialogs)
{
    state.txTimeoutMs = 3000;
    state.loggerConnected = true;
    transport.tmrTxd().setIntervalMs(state.txTimeoutMs);
    port.setEventHandler([this](Port::Event event) {
        if (event == Port::Event::Receive)
            receive();
    });
    port.open();
    port.applySettings(QStringLiteral("9600,N,8,1"));

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

void HeaderBench::receive()
{
    pumpReceived(port, state);
}
