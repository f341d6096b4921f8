#include "tests/sim/SimWire.h"

namespace {
void putText(QByteArray &header, int address, const QByteArray &text)
{
    header.replace(address, 16, text.leftJustified(16, ' ', true));
}
} // namespace

LoggerImage SimWire::minimalImage(int channels, int dataBytes)
{
    LoggerImage image;
    for (int address = LoggerImage::FirstTextLine; address < LoggerImage::HeaderSize; address += 16)
        putText(image.header, address, QByteArray());
    putText(image.header, 0x0200, "SIMLOG01" "00004711");
    putText(image.header, 0x0210, "0762Z852"
                                      + QByteArray::number(dataBytes, 16).toUpper().rightJustified(6, '0')
                                      + QByteArray::number(channels, 16).toUpper() + "C");
    image.data = QByteArray(dataBytes, char(0xFF));
    return image;
}

SimWire::SimWire(const LoggerImage &image)
    : logger(loop, image)
    , port(loop, logger)
{
    port.setEventHandler([this](Port::Event event) {
        events.append(event);
        while (port.bytesWaiting() > 0)
            m_received.append(char(port.takeByte()));
    });
    port.open();
    port.applySettings(QStringLiteral("9600,N,8,1"));
}

QByteArray SimWire::exchange(char letter, const QByteArray &body)
{
    takeReceived();
    port.write(QByteArray(1, letter));
    wait(0.01);
    port.write(body + '\r');
    wait(0.2);
    return takeReceived();
}

QByteArray SimWire::write(char letter, const QByteArray &body)
{
    return exchange(letter, body + checksum(body));
}

QByteArray SimWire::takeReceived()
{
    QByteArray received = m_received;
    m_received.clear();
    return received;
}

QByteArray SimWire::readData(int bytes)
{
    QByteArray data;
    for (int address = 0; address < bytes; address += 16) {
        const QByteArray line = exchange('e', QByteArray::number(address, 16).rightJustified(6, '0'));
        data += QByteArray::fromHex(line.mid(8, 32));
    }
    return data;
}

QByteArray SimWire::checksum(const QByteArray &covered)
{
    int sum = 0;
    for (char c : covered)
        sum += quint8(c);
    return QByteArray::number(sum % 256, 16).toUpper().rightJustified(2, '0');
}

bool SimWire::checksumOk(const QByteArray &line)
{
    return line.size() >= 3 && line.right(2) == checksum(line.mid(1, line.size() - 3));
}
