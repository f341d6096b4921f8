#include "platform/PortNames.h"

#include <QDir>
#include <QFileInfo>

namespace PortNames {

QString deviceForPort(int number)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    const QString usb = QStringLiteral("/dev/ttyUSB%1").arg(number - 1);
    if (QFileInfo::exists(usb))
        return usb;
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

QString defaultDataFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\LoggerData");
#else
    return QDir::homePath() + QStringLiteral("/LoggerData");
#endif
}

QString demoDataFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\LoggerData\\Demo");
#else
    return QDir::homePath() + QStringLiteral("/LoggerData/Demo");
#endif
}

} // namespace PortNames
