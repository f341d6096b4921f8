#include "tests/cli/CliRun.h"

#include <QDir>
#include <gtest/gtest.h>

CliRun::CliRun()
{
    QDir().mkpath(demoDataFolder());
}

QString CliRun::imageFile() const
{
    return demoDataFolder() + QStringLiteral("/DemoLogger.img");
}

QString CliRun::demoDataFolder() const
{
    return home() + QStringLiteral("/LoggerData/Demo");
}

void CliRun::saveImage(const LoggerImage &image) const
{
    QString error;
    ASSERT_TRUE(image.save(imageFile(), &error)) << error.toStdString();
}

CliRun::Result CliRun::run(const QStringList &arguments, const QString &cue,
                           const std::function<void(QProcess &)> &whileRunning) const
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home() + QStringLiteral("/.config"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(DATALOGGER_CLI_PATH), arguments);
    Result result;
    if (!process.waitForStarted(10000))
        return result;
    QByteArray err;
    if (!cue.isEmpty()) {
        while (!err.contains(cue.toUtf8()) && process.state() == QProcess::Running) {
            process.waitForReadyRead(1000);
            err += process.readAllStandardError();
        }
        if (process.state() == QProcess::Running && whileRunning)
            whileRunning(process);
    }
    process.waitForFinished(180000);
    result.crashed = process.exitStatus() != QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(err + process.readAllStandardError());
    return result;
}

SimOnPty::SimOnPty(const QString &imageFile)
{
    m_sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_sim.start(QStringLiteral(DATALOGGER_SIM_PATH), {QStringLiteral("--image"), imageFile});
    if (!m_sim.waitForStarted(10000))
        return;
    while (!m_sim.canReadLine() && m_sim.waitForReadyRead(10000)) {
    }
    const QString line = QString::fromLocal8Bit(m_sim.readLine().trimmed());
    if (line.startsWith(QStringLiteral("/dev/")))
        m_device = line;
}

SimOnPty::~SimOnPty()
{
    m_sim.kill();
    m_sim.waitForFinished();
}
