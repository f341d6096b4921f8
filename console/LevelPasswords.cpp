#include "console/LevelPasswords.h"

#include "console/MainWindowState.h"
#include "platform/StartupSettings.h"
#include "ui_FrmStartup.h"

LevelPasswords::LevelPasswords(Ui::FrmStartup &ui, MainWindowState &state,
                               StartupSettings &settings, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_fields{
          {ui.TxtAdminPassword, &state.passwordAdmin, "PasswordAdmin"},
          {ui.TxtOrganPass1, &state.passwordOrgan[0], "PasswordOrgan1"},
          {ui.TxtOrganPass2, &state.passwordOrgan[1], "PasswordOrgan2"},
          {ui.TxtOrganPass3, &state.passwordOrgan[2], "PasswordOrgan3"},
          {ui.TxtOrganPass4, &state.passwordOrgan[3], "PasswordOrgan4"},
          {ui.TxtDepotPass1, &state.passwordDepot[0], "PasswordDepot1"},
          {ui.TxtDepotPass2, &state.passwordDepot[1], "PasswordDepot2"},
          {ui.TxtDepotPass3, &state.passwordDepot[2], "PasswordDepot3"},
          {ui.TxtDepotPass4, &state.passwordDepot[3], "PasswordDepot4"},
      }
{
    for (const Field &field : m_fields)
        connect(field.field, &QLineEdit::textChanged, this, [this, field] { keep(field); });
}

void LevelPasswords::showStored()
{
    for (const Field &field : m_fields) {
        const QSignalBlocker quiet(field.field);
        field.field->setText(*field.memory);
    }
}

void LevelPasswords::keep(const Field &field)
{
    *field.memory = field.field->text();
    m_settings.save(QString::fromLatin1(field.key), *field.memory);
}
