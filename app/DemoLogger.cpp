#include "app/DemoLogger.h"

#include "platform/PortNames.h"
#include "platform/SettingsStore.h"
#include "sim/LoggerImageKeeper.h"
#include "sim/LoggerPresets.h"
#include "sim/LoggerSimulator.h"
#include "sim/SimPort.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
// A real logger needs a moment before its answer starts.
constexpr qint64 ReplyLatencyNs = 2'000'000;
} // namespace

QString DemoLogger::defaultImageFile()
{
    return PortNames::demoDataFolder() + QStringLiteral("/DemoLogger.img");
}

DemoLogger::DemoLogger(EventLoop &loop, const QString &imageFile)
    : m_loop(loop)
    , m_imageFile(imageFile.isEmpty() ? defaultImageFile() : imageFile)
    , m_simulator(std::make_unique<LoggerSimulator>(loop))
    , m_port(std::make_unique<SimPort>(loop, *m_simulator))
{
    m_port->setReplyLatencyNs(ReplyLatencyNs);
}

DemoLogger::~DemoLogger() = default;

Port &DemoLogger::port()
{
    return *m_port;
}

bool DemoLogger::start(const QString &presetName, const QDateTime &now, QString *error)
{
    const bool fromFile = presetName.isEmpty() && QFileInfo::exists(m_imageFile);
    int caughtUp = 0;
    if (fromFile) {
        const std::optional<LoggerImage> image = LoggerImage::load(m_imageFile, error);
        if (!image)
            return false;
        // A test that was logging took its scans while the program was closed.
        caughtUp = m_simulator->loadImage(*image);
    } else {
        const std::optional<LoggerPreset> preset =
            LoggerPresets::fromName(presetName.isEmpty() ? QStringLiteral("finished") : presetName);
        if (!preset) {
            *error = QStringLiteral("Unknown preset '%1'; choose one of: %2")
                         .arg(presetName, LoggerPresets::names().join(QStringLiteral(", ")));
            return false;
        }
        m_simulator->loadImage(LoggerPresets::build(*preset, now));
    }
    m_keeper = std::make_unique<LoggerImageKeeper>(m_loop, *m_simulator, m_imageFile);
    m_keeper->setErrorHandler([this](const QString &error) {
        if (m_onSaveError)
            m_onSaveError(error);
    });
    // A preset replaces what the file held, and scans caught up changed it:
    // keep it, even if the program is killed soon.
    if (!fromFile || caughtUp > 0)
        m_keeper->memoryChanged();
    if (!m_simulator->isPluggedIn())
        m_simulator->plugIn();
    return true;
}

bool DemoLogger::saveImage(QString *error)
{
    if (!m_keeper) {
        *error = QStringLiteral("The demo logger was not started.");
        return false;
    }
    return m_keeper->saveNow(error);
}

void DemoLogger::setSaveErrorHandler(std::function<void(const QString &)> handler)
{
    m_onSaveError = std::move(handler);
}

void DemoLogger::setFirmwareVersion(const QByteArray &version)
{
    LoggerImage image = m_simulator->imageToKeep();
    LoggerPresets::setFirmwareVersion(image, version);
    m_simulator->loadImage(image);
    if (m_keeper)
        m_keeper->memoryChanged();
}

std::unique_ptr<SettingsStore> DemoLogger::openSettings(bool demo)
{
    if (!demo)
        return std::make_unique<SettingsStore>();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/DataLogger");
    QDir().mkpath(folder);
    return std::make_unique<SettingsStore>(folder + QStringLiteral("/DataLogger-demo.ini"));
}
