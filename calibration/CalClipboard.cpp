#include "calibration/CalClipboard.h"

#include "calibration/CalNumbers.h"
#include "platform/Dialogs.h"
#include "platform/SettingsStore.h"
#include "platform/StartupSettings.h"

const QString CalClipboard::Section = QStringLiteral("T410-Ops\\CalData");

CalClipboard::CalClipboard(SettingsStore &store, Dialogs &dialogs) : m_store(store), m_dialogs(dialogs)
{
}

void CalClipboard::save(CalBoxes &boxes, const QDate &today)
{
    if (boxes[CalFields::CalDue].isEmpty())
        boxes[CalFields::CalDue] = CalNumbers::defaultDueDate(today);
    for (const CalFields::Field &field : CalFields::all()) {
        const QString value = field.number == CalFields::CalType
            ? QString::number(boxes.twoPoint ? 1 : 0)
            : boxes[field.number];
        m_store.SaveSetting(StartupSettings::App, Section, QLatin1String(field.key), value);
    }
    const QString error = m_store.writeError();
    m_dialogs.Message_Box(error.isEmpty() ? QStringLiteral("Settings Saved") : error, Dialogs::OkOnly,
                          QString());
}

void CalClipboard::recall(CalBoxes &boxes) const
{
    for (const CalFields::Field &field : CalFields::all()) {
        if (field.number == CalFields::ChannelNumber)
            continue;
        const QString value = m_store.GetSetting(StartupSettings::App, Section, QLatin1String(field.key), QString());
        if (field.number == CalFields::CalType)
            boxes.twoPoint = CalNumbers::value(value) != 0.0;
        else
            boxes[field.number] = value;
    }
}
