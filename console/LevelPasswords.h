#pragma once

#include <QObject>
#include <QString>
#include <vector>

namespace Ui {
class FrmStartup;
}
class QLineEdit;
class StartupSettings;
struct MainWindowState;

// The Admin, Organization and Depot passwords of the Passwords tab. Nothing
// checks them; each is kept in memory and saved the moment its field changes.
class LevelPasswords : public QObject
{
    Q_OBJECT

public:
    LevelPasswords(Ui::FrmStartup &ui, MainWindowState &state, StartupSettings &settings,
                   QObject *parent = nullptr);

    // Puts the passwords read at start-up into their fields, saving nothing.
    void showStored();

private:
    struct Field
    {
        QLineEdit *field;
        QString *memory;
        const char *key;
    };
    void keep(const Field &field);

    StartupSettings &m_settings;
    std::vector<Field> m_fields;
};
