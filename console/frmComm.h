#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmComm;
}
class FactoryPage;

// The communications window: the link's controls and the factory page.
class frmComm : public QDialog
{
    Q_OBJECT

public:
    explicit frmComm(QWidget *parent = nullptr);
    ~frmComm() override;

    Ui::frmComm &ui() { return *m_ui; }
    FactoryPage &factoryPage() { return *m_factoryPage; }

    // Takes the pause between characters from its field and shows the value in use.
    void applyStopBit2Delay();
    int interCharDelay() const { return m_interCharDelay; }

    void setCsvOption(bool on);
    bool csvOption() const;

    // Shows 9600 baud selected without switching anything on the line.
    void selectBaud9600Quietly();

Q_SIGNALS:
    // "Rxd:" was clicked (or activated from the keyboard): it is blanked and
    // what it held goes with the signal, for the manual write's text.
    void LblRxdClicked(const QString &text);

private:
    void addFactoryPage();
    void wireClicks();

    std::unique_ptr<Ui::frmComm> m_ui;
    // Owned by its scroll area in this window.
    FactoryPage *m_factoryPage = nullptr;
    int m_interCharDelay = 500;
};
