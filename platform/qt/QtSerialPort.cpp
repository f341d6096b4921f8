#include "platform/qt/QtSerialPort.h"

#include "platform/PortSettings.h"

#include <QFileInfo>
#include <QHash>

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace {
constexpr int LinePollMs = 20;
} // namespace

QtSerialPort::QtSerialPort()
{
    m_poll.setInterval(LinePollMs);
    QObject::connect(&m_poll, &QTimer::timeout, [this] { pollLines(); });
    QObject::connect(&m_port, &QSerialPort::readyRead, [this] { raise(Event::Receive); });
    QObject::connect(&m_port, &QSerialPort::errorOccurred,
                     [this](QSerialPort::SerialPortError e) { onError(e); });
    m_port.setReadBufferSize(1024);
}

QtSerialPort::~QtSerialPort()
{
    close();
}

void QtSerialPort::setPortName(const QString &name)
{
    m_port.setPortName(name);
}

QString QtSerialPort::portName() const
{
    return m_port.portName();
}

bool QtSerialPort::open()
{
    if (m_port.isOpen())
        return true;
    m_noModemLines = false;
    if (!m_port.open(QIODevice::ReadWrite))
        return false;
    applySettings(m_settings);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    requestLowLatency();
    m_lastLines = lines();
    if (!m_noModemLines)
        m_poll.start();
    return true;
}

void QtSerialPort::close()
{
    m_poll.stop();
    if (m_port.isOpen())
        m_port.close();
}

bool QtSerialPort::isOpen() const
{
    return m_port.isOpen();
}

QString QtSerialPort::openErrorText() const
{
    switch (m_port.error()) {
    case QSerialPort::NoError:
    case QSerialPort::NotOpenError:
        return {};
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("No such device: is the serial adapter plugged in?");
    case QSerialPort::PermissionError: {
#ifdef Q_OS_UNIX
        // Refused access and a device held by another program are the same
        // error here; the file's permissions tell them apart. QSerialPort
        // keeps the short name ("ttyUSB0") of a device in /dev.
        const QString name = m_port.portName();
        const QFileInfo device(name.startsWith(u'/') ? name : QStringLiteral("/dev/") + name);
        if (device.exists() && !(device.isReadable() && device.isWritable()))
            return QStringLiteral("Permission denied: join the 'dialout' group "
                                  "(sudo usermod -aG dialout $USER), then log out and in again.");
#endif
        return QStringLiteral("The device is busy: another program is using it.");
    }
    default:
        return QStringLiteral("The system reports: %1.").arg(m_port.errorString());
    }
}

bool QtSerialPort::applySettings(const QString &text)
{
    PortSettings s;
    if (!PortSettings::parse(text, &s))
        return false;
    m_settings = text;
    if (!m_port.isOpen())
        return true;
    static const QHash<QChar, QSerialPort::Parity> parities = {
        {u'N', QSerialPort::NoParity},   {u'E', QSerialPort::EvenParity},
        {u'O', QSerialPort::OddParity},  {u'M', QSerialPort::MarkParity},
        {u'S', QSerialPort::SpaceParity},
    };
    return m_port.setBaudRate(s.baud) && m_port.setParity(parities.value(s.parity))
        && m_port.setDataBits(QSerialPort::DataBits(s.dataBits))
        && m_port.setStopBits(s.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
}

void QtSerialPort::setDtr(bool on)
{
    if (m_port.isOpen() && !m_noModemLines)
        m_port.setDataTerminalReady(on);
}

void QtSerialPort::setRts(bool on)
{
    if (m_port.isOpen() && !m_noModemLines)
        m_port.setRequestToSend(on);
}

bool QtSerialPort::dtr() const
{
    return m_port.isOpen() && !m_noModemLines && m_port.isDataTerminalReady();
}

bool QtSerialPort::rts() const
{
    return m_port.isOpen() && !m_noModemLines && m_port.isRequestToSend();
}

QSerialPort::PinoutSignals QtSerialPort::lines() const
{
    if (!m_port.isOpen() || m_noModemLines)
        return QSerialPort::NoSignal;
    return m_port.pinoutSignals();
}

bool QtSerialPort::cts() const
{
    return lines() & QSerialPort::ClearToSendSignal;
}

bool QtSerialPort::dsr() const
{
    return lines() & QSerialPort::DataSetReadySignal;
}

bool QtSerialPort::cd() const
{
    return lines() & QSerialPort::DataCarrierDetectSignal;
}

int QtSerialPort::bytesWaiting() const
{
    return int(m_port.bytesAvailable());
}

int QtSerialPort::takeByte()
{
    char c = 0;
    if (!m_port.getChar(&c))
        return -1;
    return quint8(c);
}

void QtSerialPort::write(const QByteArray &bytes)
{
    m_port.write(bytes);
    m_port.flush();
}

void QtSerialPort::discardOutput()
{
    m_port.clear(QSerialPort::Output);
}

void QtSerialPort::pollLines()
{
    const QSerialPort::PinoutSignals now = lines();
    if (!m_port.isOpen() || m_noModemLines)
        return;
    const QSerialPort::PinoutSignals changed = now ^ m_lastLines;
    m_lastLines = now;
    if (changed & QSerialPort::ClearToSendSignal)
        raise(Event::CtsChange);
    if (changed & QSerialPort::DataSetReadySignal)
        raise(Event::DsrChange);
    if (changed & QSerialPort::DataCarrierDetectSignal)
        raise(Event::CdChange);
    if ((changed & now) & QSerialPort::RingIndicatorSignal)
        raise(Event::Ring);
}

void QtSerialPort::onError(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::TimeoutError:
    case QSerialPort::OpenError:
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::PermissionError:
    case QSerialPort::NotOpenError:
        // Open failures are answered by open(); the rest is no line event.
        return;
    case QSerialPort::UnsupportedOperationError:
        // The modem-line requests are what such a device refuses; it is
        // used on its data lines alone from now on.
        m_noModemLines = true;
        m_poll.stop();
        m_port.clearError();
        return;
    case QSerialPort::ResourceError:
        // The device went away (an adapter pulled from its socket): close
        // it, rather than erroring on every poll, and say so once.
        if (!m_port.isOpen())
            return;
        m_poll.stop();
        m_port.clearError();
        m_port.close();
        raise(Event::DeviceLost);
        return;
    default:
        raise(Event::Unknown);
        return;
    }
}

void QtSerialPort::requestLowLatency()
{
#ifdef Q_OS_LINUX
    // USB serial adapters otherwise hold each reply back for up to 16 ms.
    // Drivers that do not know the request refuse it; the port works anyway.
    serial_struct serial{};
    const int fd = int(m_port.handle());
    if (fd < 0 || ioctl(fd, TIOCGSERIAL, &serial) != 0)
        return;
    serial.flags |= ASYNC_LOW_LATENCY;
    ioctl(fd, TIOCSSERIAL, &serial);
#endif
}
