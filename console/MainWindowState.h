#pragma once

#include <QDateTime>
#include <QString>

// Plain fields of the main window: session flags and the mirrors of the
// "Startup" settings.
struct MainWindowState
{
    bool loggedOn = false;
    bool portSelectInProgress = false;
    bool lowPowerModeSelected = false;
    // The Cal Data grid's row last highlighted; 0 when none.
    qint16 calGridRow = 0;
    QDateTime localNow;
    QDateTime gmtNow;

    qint16 commPortNum = 0;
    QString loggerBaud = QStringLiteral("9600,N,8,1");
    QString defaultPath;
    qint16 gmtDelta = 0;
    QString locCode = QStringLiteral("A");
    QString waitPeriodText = QStringLiteral("15");
    qint32 waitSeconds = 15;

    // Set by the calibration or the factory password; kept for the rest of the run.
    bool passwordOK = false;
    // Set by the factory password; kept for the rest of the run.
    bool factoryMode = false;

    QString passwordAdmin;
    QString passwordOrgan[4];
    QString passwordDepot[4];
};
