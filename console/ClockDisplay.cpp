#include "console/ClockDisplay.h"

#include "console/MainWindowState.h"
#include "console/SetupState.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"
#include "platform/StartupSettings.h"
#include "ui_FrmStartup.h"

namespace {

const QString DateFormat = QStringLiteral("yyyy MM dd");
const QString TimeFormat = QStringLiteral("HH:mm:ss");

// Forms of date the operator may type: year first, with blanks, dashes,
// slashes or dots between the parts.
QDate readDate(const QString &text)
{
    QString t = text.trimmed();
    t.replace(u'-', u' ').replace(u'/', u' ').replace(u'.', u' ');
    const QStringList parts = t.split(u' ', Qt::SkipEmptyParts);
    if (parts.size() != 3)
        return {};
    bool ok[3];
    const QDate d(parts[0].toInt(&ok[0]), parts[1].toInt(&ok[1]), parts[2].toInt(&ok[2]));
    if (!(ok[0] && ok[1] && ok[2]) || parts[0].size() != 4)
        return {};
    return d;
}

QTime readTime(const QString &text)
{
    const QString t = text.trimmed();
    for (const char *format : {"H:mm:ss", "H:mm", "h:mm:ss AP", "h:mm AP"}) {
        const QTime time = QTime::fromString(t, QString::fromLatin1(format));
        if (time.isValid())
            return time;
    }
    return {};
}

// GMT is the local clock's reading plus whole clock hours. Across a
// daylight-saving change the local reading jumps while the delta stays, so
// the hours are added to the reading, not to the moment.
QDateTime gmtOf(const QDateTime &local, qint16 gmtDelta)
{
    return QDateTime(local.date(), local.time(), Qt::UTC).addSecs(qint64(gmtDelta) * 3600);
}

} // namespace

ClockDisplay::ClockDisplay(Ui::FrmStartup &ui, MainWindowState &state, SetupState &setup,
                           EventLoop &loop, Dialogs &dialogs, StartupSettings &settings)
    : m_ui(ui)
    , m_state(state)
    , m_setup(setup)
    , m_loop(loop)
    , m_dialogs(dialogs)
    , m_settings(settings)
    , m_timer1(loop.createTimer())
{
    m_timer1->setIntervalMs(TickMs);
    m_timer1->setHandler([this] { Timer1_Timer(); });
    connect(m_ui.TxtGMTDelta, &QLineEdit::editingFinished, this,
            &ClockDisplay::TxtGMTDelta_LostFocus);
    connect(m_ui.TxtSystemDateInp, &QLineEdit::editingFinished, this,
            &ClockDisplay::TxtSystemDateInp_LostFocus);
    connect(m_ui.TxtSystemTimeInp, &QLineEdit::editingFinished, this,
            &ClockDisplay::TxtSystemTimeInp_LostFocus);
}

ClockDisplay::~ClockDisplay() = default;

QString ClockDisplay::dateTimeText(const QDateTime &t)
{
    return t.toString(DateFormat + u' ' + TimeFormat);
}

QDateTime ClockDisplay::dateTimeFromText(const QString &text)
{
    return QDateTime::fromString(text, DateFormat + u' ' + TimeFormat);
}

void ClockDisplay::start()
{
    m_ui.TxtGMTDelta->setText(QString::number(m_state.gmtDelta));
    refresh();
    m_timer1->start();
}

void ClockDisplay::refresh()
{
    m_state.localNow = m_loop.now();
    m_state.gmtNow = gmtOf(m_state.localNow, m_state.gmtDelta);
    m_ui.LblLocalDisp->setText(dateTimeText(m_state.localNow));
    m_ui.LblGMTDisp->setText(dateTimeText(m_state.gmtNow));
    m_ui.LblSystemDateDisp->setText(m_state.localNow.toString(DateFormat));
    m_ui.LblSystemTimeDisp->setText(m_state.localNow.toString(TimeFormat));
    m_ui.LblGMTDateDisp->setText(m_state.gmtNow.toString(DateFormat));
    m_ui.LblGMTTimeDisp->setText(m_state.gmtNow.toString(TimeFormat));
}

void ClockDisplay::Timer1_Timer()
{
    refresh();
    if (m_tickHook)
        m_tickHook();
    if (m_state.lowPowerModeSelected)
        return;
    if (!m_ui.LblStartTime->text().isEmpty())
        m_ui.LblStartTime->setText(dateTimeText(m_state.localNow));
    if (!m_ui.LblStopTime->text().isEmpty())
        m_ui.LblStopTime->setText(
            dateTimeText(m_state.localNow.addSecs(qint64(m_setup.durationSeconds))));
}

void ClockDisplay::TxtGMTDelta_LostFocus()
{
    double hours = 0;
    const bool readable = StartupSettings::parseNumber(m_ui.TxtGMTDelta->text(), &hours);
    // A zone offset beyond a day is a typing error; keep the delta in force.
    if (!readable || hours < -24.5 || hours > 24.5) {
        m_dialogs.beep();
        m_ui.TxtGMTDelta->setText(QString::number(m_state.gmtDelta));
        return;
    }
    m_state.gmtDelta = qint16(StartupSettings::roundHalfEven(hours));
    m_ui.TxtGMTDelta->setText(QString::number(m_state.gmtDelta));
    refresh();
    m_settings.save(QStringLiteral("GMTDelta"), QString::number(m_state.gmtDelta));
}

bool ClockDisplay::setClock(const QDateTime &target, const QString &title)
{
    QString error;
    if (m_loop.setSystemDateTime(target, &error))
        return true;
    m_dialogs.Message_Box(QStringLiteral("The PC's clock could not be set: %1.\r\n"
                                         "Setting the date and time needs administrator rights.")
                              .arg(error),
                          int(Dialogs::OkOnly) | Dialogs::Exclamation, title);
    return false;
}

void ClockDisplay::TxtSystemDateInp_LostFocus()
{
    const QString text = m_ui.TxtSystemDateInp->text();
    if (text.trimmed().isEmpty())
        return;
    const QString title = QStringLiteral("Set System Date");
    const QDate date = readDate(text);
    if (!date.isValid()) {
        m_dialogs.Message_Box(QStringLiteral("'%1' is not a date.\r\nEnter the date as yyyy mm dd.")
                                  .arg(text.trimmed()),
                              int(Dialogs::OkOnly) | Dialogs::Exclamation, title);
        return;
    }
    if (setClock(QDateTime(date, m_loop.now().time()), title))
        m_ui.TxtSystemDateInp->clear();
    refresh();
}

void ClockDisplay::TxtSystemTimeInp_LostFocus()
{
    const QString text = m_ui.TxtSystemTimeInp->text();
    if (text.trimmed().isEmpty())
        return;
    const QString title = QStringLiteral("Set System Time");
    const QTime time = readTime(text);
    if (!time.isValid()) {
        m_dialogs.Message_Box(QStringLiteral("'%1' is not a time of day.\r\nEnter the time as hh:mm:ss.")
                                  .arg(text.trimmed()),
                              int(Dialogs::OkOnly) | Dialogs::Exclamation, title);
        return;
    }
    if (setClock(QDateTime(m_loop.now().date(), time), title))
        m_ui.TxtSystemTimeInp->clear();
    refresh();
}
