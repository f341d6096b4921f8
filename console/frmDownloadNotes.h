#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmDownloadNotes;
}

// The operator's notes for the download file, asked for near the end of a
// download. The notes are plain lines; OK hands them over.
class frmDownloadNotes : public QDialog
{
    Q_OBJECT

public:
    explicit frmDownloadNotes(QWidget *parent = nullptr);
    ~frmDownloadNotes() override;

    Ui::frmDownloadNotes &ui() { return *m_ui; }

    // What the operator typed. Closing the window without OK keeps it too:
    // a note once typed is never lost to a stray Escape.
    QString notes() const;

private:
    std::unique_ptr<Ui::frmDownloadNotes> m_ui;
};
