#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmCalDataNotes;
}

// The notes dialog before a calibration or real-time report: the operator's
// notes and whether to print, save to a file, or both.
class frmCalDataNotes : public QDialog
{
    Q_OBJECT

public:
    enum Where { PrintNow = 0, SaveToFile = 1, PrintAndSave = 2 };

    explicit frmCalDataNotes(QWidget *parent = nullptr);
    ~frmCalDataNotes() override;

    Ui::frmCalDataNotes &ui() { return *m_ui; }
    // Ready for a report: not cancelled, with this caption.
    void prepare(const QString &caption);
    bool cancelled() const { return m_cancelled; }
    Where whereToPrint() const;
    QString notes() const;
    bool saves() const { return whereToPrint() != PrintNow; }
    bool prints() const { return whereToPrint() != SaveToFile; }

private:
    std::unique_ptr<Ui::frmCalDataNotes> m_ui;
    bool m_cancelled = false;
};
