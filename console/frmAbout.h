#pragma once

#include <QDialog>

// Program title, version and maker, with an Exit button.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);
};
