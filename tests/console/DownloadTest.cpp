#include "tests/console/LoggerWindowFixture.h"

#include "console/DataViewer.h"
#include "console/LoggerStatusView.h"
#include "console/MainTab.h"
#include "console/frmComm.h"
#include "console/frmDownloadNotes.h"
#include "sim/LoggerPresets.h"
#include "ui_FrmStartup.h"
#include "ui_LoggerStatusView.h"
#include "ui_frmComm.h"
#include "ui_frmDownloadNotes.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

const QDateTime Start = VirtualEventLoop().now();

LoggerImage preset(LoggerPreset which)
{
    return LoggerPresets::build(which, Start);
}

// The finished test with one word of its data memory made unreadable: a tag
// no scan of four channels and a monitor has, well before the end.
LoggerImage finishedWithBadWord()
{
    LoggerImage image = preset(LoggerPreset::Finished);
    image.data[0x400] = char((quint8(image.data[0x400]) & 0x0F) | 0xE0);
    return image;
}

} // namespace

// Download on the Data Logger tab of a shown window, with the simulated
// logger read at Log On, answered as an operator answers.
class Download : public LoggerWindowFixture
{
protected:
    explicit Download(const LoggerImage &image = preset(LoggerPreset::Finished))
        : LoggerWindowFixture(image)
    {
    }

    void SetUp() override
    {
        openOnSetupTab();
        if (HasFatalFailure())
            return;
        ui().SSTab1->setCurrentIndex(MainTab::DataLogger);
    }

    QString dataFile(const QString &name) const { return QDir(dir.filePath("data")).filePath(name); }
    QString fileText(const QString &name) const
    {
        QFile file(dataFile(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
    }
    const ScriptedDialogs::Box *box(const QString &title) const
    {
        for (const ScriptedDialogs::Box &b : dialogs.shown())
            if (b.title == title)
                return &b;
        return nullptr;
    }

    // The notes dialog, typed into and closed with OK; what the window looked
    // like while the download waited for it is kept.
    void typeNotes(const QString &text)
    {
        dialogs.onModal([this, text](QObject *window) {
            auto *notes = qobject_cast<frmDownloadNotes *>(window);
            if (!notes) {
                ADD_FAILURE() << "not the notes dialog: " << window->objectName().toStdString();
                return 0;
            }
            notesCaption = notes->windowTitle();
            notesWereEmpty = notes->ui().txtDownloadNotes->toPlainText().isEmpty();
            tabsEnabledMeanwhile = ui().SSTab1->isEnabled();
            reloadEnabledMeanwhile = ui().cmdLgrStatus->isEnabled();
            cancelShownMeanwhile = !ui().cmdCancelDownload->isHidden();
            cancelColourMeanwhile = ui().cmdCancelDownload->palette().color(QPalette::Button);
            tabMeanwhile = ui().SSTab1->currentIndex();
            QTest::keyClicks(notes->ui().txtDownloadNotes, text);
            notes->ui().cmdOK->click();
            return notes->result();
        });
    }
    // Once the PC has asked for the data line at `address`, Cancel Download
    // is clicked from the loop, as the operator's click arrives between lines.
    void clickCancelWhenReading(const QString &address)
    {
        port.setWriteObserver([this, address] {
            if (!port.writtenText().contains("|e" + address + "|"))
                return;
            loop.post([this] { QTest::mouseClick(ui().cmdCancelDownload, Qt::LeftButton); });
            port.setWriteObserver({});
        });
    }
    void expectWindowRestored()
    {
        EXPECT_TRUE(ui().SSTab1->isEnabled());
        EXPECT_TRUE(ui().cmdLgrStatus->isEnabled());
        EXPECT_TRUE(ui().cmdCancelDownload->isHidden());
        EXPECT_TRUE(ui().CmdInitialize->isEnabled());
        EXPECT_FALSE(ui().CmdInitialize->isHidden());
        EXPECT_TRUE(ui().CmdDwnLoadData->isHidden());
        EXPECT_FALSE(ui().CmdDwnLoadData->isEnabled());
        EXPECT_FALSE(dialogs.busy()) << "the pointer is back to normal";
        EXPECT_FALSE(state().cancelDownload);
    }

    QString notesCaption;
    bool notesWereEmpty = false;
    bool tabsEnabledMeanwhile = true;
    bool reloadEnabledMeanwhile = true;
    bool cancelShownMeanwhile = false;
    QColor cancelColourMeanwhile;
    int tabMeanwhile = -1;
};

TEST_F(Download, WithoutALoggerOnlySaysSo)
{
    logger.unplug();
    settle();
    ASSERT_FALSE(state().loggerConnected);
    dialogs.expect("No Logger Connected");
    port.forget();
    ui().CmdDownload->click();

    ASSERT_EQ(dialogs.titles(), QStringList{"No Logger Connected"});
    EXPECT_EQ(dialogs.shown().back().text, "There are no loggers detected.\r\rYou are unable to continue "
                                           "downloading.\r\rConnect a logger then try again.");
    EXPECT_EQ(dialogs.shown().back().buttons, int(Dialogs::OkOnly));
    EXPECT_TRUE(port.written().isEmpty()) << port.writtenText().toStdString();
    EXPECT_TRUE(dialogs.fileDialogs().empty());
}

// A header read that failed leaves nothing to decode the data by.
TEST_F(Download, WithoutAWholeHeaderNothingIsRead)
{
    connection.header.headerValid = false;
    dialogs.expect("Header Not Read");
    port.forget();
    ui().CmdDownload->click();

    EXPECT_EQ(dialogs.titles(), QStringList{"Header Not Read"});
    EXPECT_TRUE(port.written().isEmpty()) << port.writtenText().toStdString();
}

// The CSV option unticked on the communications window: warned, and Cancel
// ends before anything is read.
TEST_F(Download, CsvOptionOffIsWarnedAndCancelReadsNothing)
{
    window->comm().ui().ChkCSV->click();
    ASSERT_FALSE(window->comm().csvOption());
    dialogs.expect("Critical Warning! Write CSV File DISABLED", Dialogs::Cancel);
    port.forget();
    ui().CmdDownload->click();

    ASSERT_EQ(dialogs.titles(), QStringList{"Critical Warning! Write CSV File DISABLED"});
    const ScriptedDialogs::Box &warning = dialogs.shown().back();
    EXPECT_EQ(warning.text, "The Write CSV File Option on the Factory COMM Tab is NOT selected.\r"
                            "If you continue to download, you will be asked for the file name,\r"
                            "BUT the file will NOT be created!\r"
                            "Your Excel compatible data file will NOT BE SAVED!");
    EXPECT_EQ(warning.buttons, int(Dialogs::OkCancel));
    EXPECT_EQ(warning.icon, int(Dialogs::Critical));
    EXPECT_EQ(port.lettersWritten('e'), 0);
    EXPECT_TRUE(dialogs.fileDialogs().empty());
}

// Download pressed while a newly plugged logger is still being read: the
// read goes on undisturbed and the operator is told to wait.
TEST_F(Download, WhileTheHeaderIsReadDownloadWaits)
{
    logger.unplug();
    settle();
    port.forget();
    port.setWriteObserver([this] {
        if (!port.writtenText().contains("|c0200|"))
            return;
        loop.post([this] { ui().CmdDownload->click(); });
        port.setWriteObserver({});
    });
    dialogs.expect("Logger Busy");
    logger.plugIn();
    settle(40);

    EXPECT_EQ(dialogs.titles(), QStringList{"Logger Busy"});
    EXPECT_TRUE(connection.header.headerValid) << "the header read ended normally";
    EXPECT_EQ(port.lettersWritten('e'), 0);
    EXPECT_TRUE(ui().SSTab1->isEnabled());
}

// The whole test, read at the speed of the wire into the data folder.
TEST_F(Download, CompleteDownloadWritesTheFilesAndRecordsIt)
{
    ASSERT_TRUE(connection.header.lastDownloadTime.contains('x')) << "never downloaded: no alert";
    // The Defaults tab's RAW file and location code.
    ui().chkRAW->click();
    ui().MebLocCode->selectAll();
    QTest::keyClicks(ui().MebLocCode, "K");
    ASSERT_EQ(ui().MebLocCode->text(), "K");
    dialogs.expect("Data Download");
    dialogs.allow("Low Battery Detected");
    dialogs.expectFileName(dataFile("pump7.CSV"));
    typeNotes("Battery swapped after download");
    const QDateTime clicked = loop.now();
    QTest::mouseClick(ui().CmdDownload, Qt::LeftButton);

    const ScriptedDialogs::Box *go = box("Data Download");
    ASSERT_NE(go, nullptr);
    EXPECT_EQ(go->text, "Please wait while data is downloaded from the data logger.\r\n\r\n"
                        "Data download may take a many minutes depending upon\r\n"
                        "the magnitude of stored data.\r\n\r\n"
                        "Acknowledge this message to initiate download.");
    EXPECT_EQ(go->buttons, int(Dialogs::OkCancel));
    EXPECT_EQ(go->icon, int(Dialogs::Information));
    EXPECT_EQ(box("Premature download Termination"), nullptr);

    // While the scans were read: the tabs locked, Cancel Download offered.
    EXPECT_EQ(notesCaption, "Download Notes");
    EXPECT_TRUE(notesWereEmpty);
    EXPECT_FALSE(tabsEnabledMeanwhile);
    EXPECT_FALSE(reloadEnabledMeanwhile);
    EXPECT_TRUE(cancelShownMeanwhile);
    EXPECT_EQ(cancelColourMeanwhile, QColor(255, 0, 0));
    EXPECT_EQ(tabMeanwhile, int(MainTab::DataLogger));

    ASSERT_TRUE(QFile::exists(dataFile("pump7.CSV")));
    EXPECT_FALSE(QFile::exists(dataFile("pump7_Aborted.CSV")));
    const QString csv = fileText("pump7.CSV");
    const qsizetype notesStart = csv.indexOf("Start of Download Notes");
    const qsizetype notesEnd = csv.indexOf("End of Download Notes");
    const qsizetype typed = csv.indexOf("Battery swapped after download");
    EXPECT_TRUE(notesStart >= 0 && notesStart < typed && typed < notesEnd) << csv.right(600).toStdString();
    EXPECT_TRUE(csv.contains("Saved complete as file: " + dataFile("pump7") + ".CSV"));
    EXPECT_TRUE(csv.contains(QRegularExpression(",at LocCode:,\"?K\"?,"))) << "the location code typed";
    const QString raw = fileText("pump7.RAW");
    EXPECT_TRUE(raw.contains("Battery swapped after download")) << "the RAW file was asked for";
    // The tidy export is on unless the Defaults tab says otherwise.
    EXPECT_TRUE(QFile::exists(dataFile("pump7.tidy.csv")));
    EXPECT_TRUE(QFile::exists(dataFile("pump7.events.csv")));
    EXPECT_TRUE(QFile::exists(dataFile("pump7.json")));

    // The logger holds the download, and the status view shows it.
    const QString recorded = QString::fromLatin1(logger.image().header.mid(0x0540, 16));
    const QDateTime when = QDateTime::fromString(recorded, "yyyy/MM/dd hh:mm");
    ASSERT_TRUE(when.isValid()) << recorded.toStdString();
    EXPECT_GE(when, clicked.addSecs(-clicked.time().second()));
    EXPECT_LE(when, loop.now());
    const Ui::LoggerStatusView &view = window->statusView().ui();
    EXPECT_EQ(view.LblRdDownloadTime->text(), recorded);
    EXPECT_TRUE(view.LblRdDownloadStat->text().startsWith("Download Filename:\r\npump7"))
        << view.LblRdDownloadStat->text().toStdString();
    EXPECT_EQ(view.LblRdDownloadStat->palette().color(QPalette::Window), LoggerStatusView::Green);

    // The data progress: the end of the data, and the bar run up to it.
    const quint32 pointer = connection.capture.values().active.pointer.value;
    EXPECT_EQ(ui().lblPointer->text(), QString::number(pointer));
    EXPECT_EQ(ui().lblPointerHex->text(), QString("%1").arg(pointer, 6, 16, QChar('0')).toUpper());
    const QProgressBar *bar = ui().ProgressBarData;
    EXPECT_EQ(bar->maximum(), int(pointer));
    EXPECT_GE(bar->value(), int(pointer) - 16) << "the last line read";
    EXPECT_EQ(ui().lblBytesRemaining->text(), QString::number(bar->maximum() - bar->value()));
    expectWindowRestored();

    // A lost logger zeroes the bar.
    logger.unplug();
    settle();
    EXPECT_EQ(ui().ProgressBarData->value(), 0);
}

// The RAW file of a download rebuilds its files through "Rebuild from
// RAW..." and opens in the viewer like the CSV it was made with.
TEST_F(Download, RawFileRebuildsTheCsvAndOpensInTheViewer)
{
    ui().chkRAW->click();
    dialogs.expect("Data Download");
    dialogs.allow("Low Battery Detected");
    dialogs.expectFileName(dataFile("pump7.CSV"));
    typeNotes(QString());
    ui().CmdDownload->click();
    ASSERT_TRUE(QFile::exists(dataFile("pump7.RAW")));

    ASSERT_TRUE(ui().mnuFileRebuildRaw->isEnabled());
    dialogs.expectFileName(dataFile("pump7.RAW"));
    dialogs.expectFileName(dataFile("again.CSV"));
    dialogs.expect("Rebuild from RAW");
    ui().mnuFileRebuildRaw->trigger();
    EXPECT_EQ(dialogs.shown().back().text, "Written: " + QDir::toNativeSeparators(dataFile("again")) + ".CSV");
    const auto rows = [this](const QString &name) {
        const QString text = fileText(name);
        return text.mid(text.indexOf("Start of Downloaded Data"));
    };
    EXPECT_EQ(rows("again.CSV").section("End of Downloaded Data", 0, 0),
              rows("pump7.CSV").section("End of Downloaded Data", 0, 0));
    EXPECT_EQ(fileText("again.tidy.csv"), fileText("pump7.tidy.csv"));

    dialogs.expectFileName(dataFile("pump7.RAW"));
    ui().mnuFileOpenDownload->trigger();
    const QList<DataViewer *> viewers = window->findChildren<DataViewer *>();
    ASSERT_EQ(viewers.size(), 1);
    dialogs.expectFileName(dataFile("pump7.tidy.csv"));
    ui().mnuFileOpenDownload->trigger();
    const QList<DataViewer *> both = window->findChildren<DataViewer *>();
    ASSERT_EQ(both.size(), 2);
    const DownloadTable &fromRaw = both[0]->table();
    const DownloadTable &fromTidy = both[1]->table();
    ASSERT_GT(fromRaw.rowCount(), 100);
    EXPECT_EQ(fromRaw.rowCount(), fromTidy.rowCount());
    EXPECT_EQ(fromRaw.columns.size(), fromTidy.columns.size());
    EXPECT_EQ(fromRaw.scan(fromRaw.rowCount() - 1), fromTidy.scan(fromTidy.rowCount() - 1));
}

// Cancel Download between two lines, confirmed: the partial files keep
// their working names and the logger is not told it was downloaded.
TEST_F(Download, CancelDownloadDuringTheReadRestoresTheWindow)
{
    // No tidy export wanted on the Defaults tab.
    ui().chkTidy->click();
    ASSERT_FALSE(ui().chkTidy->isChecked());
    dialogs.expect("Data Download");
    dialogs.expect("Cancel Download Alert", Dialogs::Yes);
    dialogs.allow("Premature download Termination");
    dialogs.expectFileName(dataFile("cut short.CSV"));
    typeNotes("Stopped on purpose");
    clickCancelWhenReading("000320");
    ui().CmdDownload->click();

    const ScriptedDialogs::Box *alert = box("Cancel Download Alert");
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->text, "Do you really want to cancel the download?\r\rPress Yes to cancel downloading.\r"
                           "Press No to continue downloading data.");
    EXPECT_EQ(alert->defaultButton, int(Dialogs::DefaultButton2));
    EXPECT_TRUE(port.lettersWritten('e') < 100) << "the read ended soon after the click";
    EXPECT_TRUE(cancelShownMeanwhile);

    EXPECT_TRUE(QFile::exists(dataFile("cut short_Aborted.CSV")));
    EXPECT_FALSE(QFile::exists(dataFile("cut short.CSV")));
    // The working RAW file stays, though RAW is not ticked, so the download
    // can be resumed; no tidy file, events table or metadata.
    EXPECT_EQ(QDir(dataFile("")).entryList({"cut short*"}, QDir::Files),
              (QStringList{"cut short_Aborted.CSV", "cut short_Aborted.RAW"}));
    const QString csv = fileText("cut short_Aborted.CSV");
    EXPECT_TRUE(csv.contains("Download was canceled. This is only a partial data file."));
    EXPECT_TRUE(csv.contains("Stopped on purpose"));
    EXPECT_TRUE(logger.image().header.mid(0x0540, 16).contains('x')) << "the download is not recorded";
    EXPECT_EQ(window->statusView().ui().LblRdDownloadStat->text(), "NOT Downloaded")
        << "no download recorded: the labels show the header again";
    expectWindowRestored();
}

// The cable pulled halfway: the lines read so far stay in the working
// files, and the window comes back for the next logger.
TEST_F(Download, UnpluggedDuringTheReadRestoresTheWindow)
{
    dialogs.expect("Data Download");
    dialogs.allow("Premature download Termination");
    dialogs.expectFileName(dataFile("pulled.CSV"));
    typeNotes("Cable pulled");
    port.setWriteObserver([this] {
        if (!port.writtenText().contains("|e001F40|"))
            return;
        loop.post([this] { logger.unplug(); });
        port.setWriteObserver({});
    });
    QTest::mouseClick(ui().CmdDownload, Qt::LeftButton);
    settle();

    EXPECT_EQ(dialogs.titles(), (QStringList{"Data Download", "Premature download Termination"}));
    EXPECT_TRUE(QFile::exists(dataFile("pulled_Aborted.CSV")));
    EXPECT_FALSE(QFile::exists(dataFile("pulled.CSV")));
    EXPECT_TRUE(fileText("pulled_Aborted.CSV").contains("PREMATURE TERMINATION OF DATA DOWNLOAD"));
    EXPECT_FALSE(state().loggerConnected);
    expectWindowRestored();
}

class DownloadOldHeader : public Download
{
protected:
    DownloadOldHeader()
        : Download(preset(LoggerPreset::OldHeader))
    {
    }
};

// Data laid out by another header version: Cancel, the default, reads nothing.
TEST_F(DownloadOldHeader, HeaderVersionWarningCancelReadsNothing)
{
    dialogs.expect("Critical Warning! Change in Header Version Detected", Dialogs::Cancel);
    port.forget();
    ui().CmdDownload->click();

    ASSERT_EQ(dialogs.titles(), QStringList{"Critical Warning! Change in Header Version Detected"});
    const ScriptedDialogs::Box &warning = dialogs.shown().back();
    EXPECT_EQ(warning.text,
              "Data will download correctly ONLY with the header version \r"
              "   used to initialize the logger.\r"
              "The data currently in the logger was formatted using Header Version: 0751.\r"
              "The Header Version supported by this software is:                    0762.\r\r"
              "If you continue to downloaded, the data may be incorrect.\r"
              "     Do you want to continue the download?\r"
              "     (NO recommended--use the correct software version.)");
    EXPECT_EQ(warning.buttons, int(Dialogs::OkCancel));
    EXPECT_EQ(warning.icon, int(Dialogs::Critical));
    EXPECT_EQ(warning.defaultButton, int(Dialogs::DefaultButton2));
    EXPECT_EQ(port.lettersWritten('e'), 0) << port.writtenText().toStdString();
    EXPECT_TRUE(port.writtenText().startsWith("c0200|")) << "the serial number is confirmed first";
    EXPECT_TRUE(dialogs.fileDialogs().empty());
    EXPECT_TRUE(ui().SSTab1->isEnabled());
}

class DownloadAgain : public Download
{
protected:
    DownloadAgain()
        : Download(preset(LoggerPreset::Downloaded))
    {
    }
};

// Downloaded yesterday: the alert names when and into which file.
TEST_F(DownloadAgain, PreviousDownloadAlertShowsTheStoredTimeAndFile)
{
    dialogs.expect("Previous Download Alert (Sub CmdDownload)", Dialogs::Cancel);
    port.forget();
    ui().CmdDownload->click();

    ASSERT_EQ(dialogs.titles(), QStringList{"Previous Download Alert (Sub CmdDownload)"});
    const ScriptedDialogs::Box &alert = dialogs.shown().back();
    const QDateTime yesterday = Start.addDays(-1);
    const QString file = "00041004-" + yesterday.toString("yyyyMMdd-hhmmss") + " .CSV";
    EXPECT_TRUE(alert.text.startsWith("A previous download has been detected.\r\r"
                                      "The data was downloaded on: "
                                      + yesterday.toString("yyyy/MM/dd hh:mm") + "\r"
                                      + "The download file name is: " + file))
        << alert.text.toStdString();
    EXPECT_TRUE(alert.text.endsWith("     .\r\rDo you want to continue the download?"))
        << alert.text.toStdString();
    EXPECT_EQ(alert.icon, int(Dialogs::Critical));
    EXPECT_EQ(alert.defaultButton, int(Dialogs::DefaultButton2));
    EXPECT_EQ(port.lettersWritten('e'), 0);
}

class DownloadBadMemory : public Download
{
protected:
    DownloadBadMemory()
        : Download(finishedWithBadWord())
    {
    }
};

// Cancel at a memory error ends the download at once; the window comes back.
TEST_F(DownloadBadMemory, SyncErrorCancelRestoresTheWindow)
{
    dialogs.expect("Data Download");
    dialogs.expect("SubReadData Channel Sync Error", Dialogs::Cancel);
    dialogs.expectFileName(dataFile("bad word.CSV"));
    ui().CmdDownload->click();

    EXPECT_TRUE(QFile::exists(dataFile("bad word_Aborted.CSV")));
    EXPECT_FALSE(QFile::exists(dataFile("bad word.CSV")));
    EXPECT_FALSE(fileText("bad word_Aborted.CSV").contains("Start of Download Notes"));
    const QString wire = port.writtenText();
    EXPECT_TRUE(wire.contains("|e000400|")) << "the line with the bad word was read";
    EXPECT_FALSE(wire.contains("|e000410|")) << "and nothing after it";
    expectWindowRestored();
}

// The never-downloaded warning of Initialize offers the Setup tab's own
// Download; it confirms the logger, runs Download and is put away again.
TEST_F(Download, SetupTabDownloadIsOfferedAfterTheNotDownloadedWarning)
{
    ui().SSTab1->setCurrentIndex(MainTab::Setup);
    QTest::mouseClick(ui().TxtScanPeriod, Qt::LeftButton);
    ui().TxtScanPeriod->selectAll();
    QTest::keyClick(ui().TxtScanPeriod, Qt::Key_Delete);
    QTest::keyClicks(ui().TxtScanPeriod, "2");
    QTest::mouseClick(ui().OptMins, Qt::LeftButton, {}, QPoint(6, ui().OptMins->height() / 2));
    dialogs.allow("Monitor Channel Warning--Battery Power");
    dialogs.allow("Up-load message");
    dialogs.expect("Data Not Downloaded Warning", Dialogs::Cancel);
    ui().CmdInitialize->click();
    ASSERT_FALSE(ui().CmdDwnLoadData->isHidden());
    ASSERT_TRUE(ui().CmdDwnLoadData->isEnabled());
    EXPECT_EQ(ui().SSTab1->currentIndex(), int(MainTab::Setup));

    dialogs.expect("Data Download", Dialogs::Cancel);
    port.forget();
    QTest::mouseClick(ui().CmdDwnLoadData, Qt::LeftButton);

    EXPECT_EQ(port.writtenText().count("c0200|"), 2) << "confirmed by the button and by Download";
    EXPECT_EQ(port.lettersWritten('e'), 0);
    EXPECT_EQ(ui().SSTab1->currentIndex(), int(MainTab::DataLogger));
    expectWindowRestored();
}
