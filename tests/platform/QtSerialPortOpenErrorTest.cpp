#include "platform/qt/QtSerialPort.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>
#endif

TEST(QtSerialPortOpenError, AMissingDeviceSaysSo)
{
#ifndef Q_OS_LINUX
    GTEST_SKIP() << "device names of Linux";
#else
    QtSerialPort port;
    port.setPortName("/dev/ttyUSB-not-there-7");
    ASSERT_FALSE(port.open());
    EXPECT_EQ(port.openErrorText(), "No such device: is the serial adapter plugged in?");
#endif
}

TEST(QtSerialPortOpenError, ADeviceWithoutPermissionNamesTheDialoutGroup)
{
#ifndef Q_OS_LINUX
    GTEST_SKIP() << "device permissions of Linux";
#else
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may open any device";
    QTemporaryDir dir;
    const QString device = dir.filePath("ttyLocked0");
    QFile file(device);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(file.setPermissions(QFileDevice::Permissions()));
    QtSerialPort port;
    port.setPortName(device);
    ASSERT_FALSE(port.open());
    EXPECT_EQ(port.openErrorText(), "Permission denied: join the 'dialout' group "
                                    "(sudo usermod -aG dialout $USER), then log out and in again.");
#endif
}

TEST(QtSerialPortOpenError, ADeviceInUseIsBusy)
{
#ifndef Q_OS_LINUX
    GTEST_SKIP() << "pseudo-terminals of Linux";
#else
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        GTEST_SKIP() << "no pseudo-terminal here";
    const QString device = QString::fromLocal8Bit(::ptsname(master));
    QtSerialPort first;
    first.setPortName(device);
    ASSERT_TRUE(first.open());
    QtSerialPort second;
    second.setPortName(device);
    ASSERT_FALSE(second.open());
    EXPECT_EQ(second.openErrorText(), "The device is busy: another program is using it.");
    first.close();
    ::close(master);
#endif
}
