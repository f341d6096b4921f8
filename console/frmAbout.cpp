#include "console/frmAbout.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About KORVAN Data Logger Software"));
    auto *layout = new QVBoxLayout(this);
    auto *title = new QLabel(QStringLiteral("<b>KORVAN Data Logger Software</b><br>Version Z8-v7.7.0"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    auto *description = new QLabel(
        QStringLiteral("Sets up, downloads, monitors and calibrates KORVAN battery-powered "
                       "sensor data loggers of up to eight channels through a serial port."),
        this);
    description->setObjectName(QStringLiteral("lblDescription"));
    description->setWordWrap(true);
    auto *maker = new QLabel(QStringLiteral("KORVAN, Inc."), this);
    maker->setObjectName(QStringLiteral("lblMaker"));
    auto *exit = new QPushButton(QStringLiteral("E&xit"), this);
    exit->setObjectName(QStringLiteral("cmdExit"));
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    for (QWidget *w : {static_cast<QWidget *>(title), static_cast<QWidget *>(description),
                       static_cast<QWidget *>(maker), static_cast<QWidget *>(exit)})
        layout->addWidget(w);
}
