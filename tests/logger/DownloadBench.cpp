#include "tests/logger/DownloadBench.h"

#include "sim/HeaderWriter.h"

#include <QFile>
#include <gtest/gtest.h>

DownloadBench::DownloadBench(const LoggerImage &image, int wordsPerScan)
    : TransportBench(loop, image)
    , downloader(connection.download)
{
    EventCapture::Hooks captureHooks;
    captureHooks.setup.wordsPerScan = [wordsPerScan] { return wordsPerScan; };
    // The status byte read before the capture, as the program hands it on.
    captureHooks.status = [this] {
        return EventCapture::StatusInputs{connection.statusByte.statusValue(), connection.statusByte.statusText()};
    };
    connection.capture.setHooks(captureHooks);
    QDir().mkpath(folder());
    options.folder = folder();
    options.csv = true;
    options.raw = true;
    // The files the download has always made; the tidy export's own tests
    // switch it on.
    options.tidy = false;
    DataDownload::Hooks hooks = connection.downloadHooks();
    hooks.fileOptions = [this] { return options; };
    hooks.timeZoneHours = [] { return 0; };
    downloader.setHooks(hooks);
    QObject::connect(&downloader, &DataDownload::progressChanged, [this](qint64 address, qint64) {
        if (m_atAddress)
            m_atAddress(address);
    });
    connect();
    EXPECT_TRUE(connection.header.headerValid);
    port.forget();
}

void DownloadBench::download()
{
    EXPECT_TRUE(connection.link.sequences().runCommand([this] { downloader.subReadData(); }));
}

QStringList DownloadBench::lines(const QString &fileName) const
{
    QFile file(folder() + u'/' + fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    if (text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    return text.split(QStringLiteral("\r\n"));
}

QString DownloadBench::textAt(int address) const
{
    QByteArray header = logger.image().header;
    return HeaderWriter(header).textAt(address);
}
