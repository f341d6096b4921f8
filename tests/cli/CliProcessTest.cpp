// datalogger-cli as a script runs it, against its built-in demo logger.
#include "tests/cli/CliRun.h"
#include "tests/logger/DownloadBench.h"
#include "tests/logger/RecordedTest.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <csignal>
#include <gtest/gtest.h>

namespace {

QStringList fileLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    if (text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    return text.split(QStringLiteral("\r\n"));
}

QJsonObject jsonOf(const CliRun::Result &result)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(result.out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << result.out.toStdString() << result.err.toStdString();
    return document.object();
}

// A cell the time of the download (or its file name, made of that time)
// fills: the same text once its digits are set aside.
bool presentTimeCell(QString a, QString b)
{
    static const QRegularExpression digits(QStringLiteral("\\d"));
    return a.replace(digits, QStringLiteral("9")) == b.replace(digits, QStringLiteral("9"));
}

// Each file named by its own path; the paths are set aside.
void expectSameCsv(QStringList actual, QStringList expected, const QString &actualBase,
                   const QString &expectedBase)
{
    ASSERT_EQ(actual.size(), expected.size());
    actual.replaceInStrings(actualBase, QStringLiteral("BASE"));
    expected.replaceInStrings(expectedBase, QStringLiteral("BASE"));
    int differing = 0;
    for (int i = 0; i < actual.size(); ++i) {
        if (actual[i] == expected[i])
            continue;
        const QStringList a = actual[i].split(u',');
        const QStringList e = expected[i].split(u',');
        ASSERT_EQ(a.size(), e.size()) << "line " << i + 1 << ": " << actual[i].toStdString();
        for (int c = 0; c < a.size(); ++c)
            EXPECT_TRUE(a[c] == e[c] || presentTimeCell(a[c], e[c]))
                << "line " << i + 1 << ": " << actual[i].toStdString() << " vs " << expected[i].toStdString();
        ++differing;
    }
    // "Header Downloaded:", "Downloaded on:" and "End of Downloaded Data".
    EXPECT_LE(differing, 3) << "only the lines holding the download's time may differ";
}

RecordedTest smallTest()
{
    RecordedTest test = RecordedTest::ramp(4, 0, 120);
    test.description = QStringLiteral("Command line test");
    test.initializedBy = QStringLiteral("SCRIPT");
    test.initTime = QDateTime(QDate(2026, 3, 2), QTime(8, 0));
    return test;
}

} // namespace

// The known logger of the "finished" preset, field by field.
TEST(CliDemo, StatusJsonDescribesTheLogger)
{
    CliRun cli;
    const CliRun::Result r = cli.run({"status", "--demo", "--preset", "finished", "--json", "--quiet"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject s = jsonOf(r);
    EXPECT_EQ(s["device"].toString(), "demo");
    const QJsonObject logger = s["logger"].toObject();
    EXPECT_EQ(logger["serialNumber"].toString(), "00041002");
    EXPECT_EQ(logger["model"].toString(), "T410-8MC");
    EXPECT_EQ(logger["firmwareVersion"].toString(), "Z823");
    EXPECT_EQ(logger["headerVersion"].toString(), "0762");
    EXPECT_EQ(logger["installedChannels"].toInt(), 8);
    EXPECT_EQ(logger["memoryBytes"].toInteger(), 131072);
    const QJsonObject test = s["test"].toObject();
    EXPECT_FALSE(test["logging"].toBool());
    // The header keeps 64 characters of it.
    EXPECT_EQ(test["description"].toString(),
              QString("Pump station 7: line pressure, pipe temperature, humidity, battery").left(64));
    EXPECT_EQ(test["initializedBy"].toString(), "TECH01");
    EXPECT_EQ(test["periodSeconds"].toInteger(), 60);
    EXPECT_EQ(test["waitSeconds"].toInteger(), 120);
    EXPECT_EQ(test["scanCount"].toInteger(), 3000);
    EXPECT_EQ(test["channels"].toArray(), QJsonArray({1, 2, 3, 4}));
    EXPECT_EQ(test["monitorChannel"].toInt(), 1);
    // The wake-up scan and the 3000 counted ones, six words each, and the
    // battery-low status word.
    EXPECT_EQ(s["memory"].toObject()["usedBytes"].toInteger(), ((3000 + 1) * 6 + 1) * 2);
    EXPECT_EQ(s["battery"].toObject()["initializationsSince"].toInteger(), 3);
    EXPECT_FALSE(s["download"].toObject()["downloaded"].toBool());
}

// The same CSV as the library's own download of the same logger, and the
// download recorded in the logger.
TEST(CliDemo, DownloadWritesTheLibrarysCsv)
{
    const RecordedTest recorded = smallTest();
    CliRun cli;
    cli.saveImage(recorded.image());
    const CliRun::Result r = cli.run({"download", "--demo", "--json", "--quiet"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject result = jsonOf(r);
    EXPECT_EQ(result["ending"].toString(), "complete");
    EXPECT_TRUE(result["recorded"].toBool());
    const QString csv = result["csv"].toString();
    ASSERT_TRUE(csv.startsWith(cli.demoDataFolder() + "/")) << csv.toStdString();

    // The library's download as the windows wire it: the capture told the
    // status byte and the channels the logger holds.
    DownloadBench bench(recorded.image(), 4);
    LoggerConnection &c = bench.connection;
    EventCapture::Hooks hooks;
    hooks.status = [&c] { return EventCapture::StatusInputs{c.statusByte.statusValue(), c.statusByte.statusText()}; };
    hooks.setup.wordsPerScan = [] { return 4; };
    c.capture.setHooks(hooks);
    c.link.sequences().runCommand([&c] { c.capture.subReadPic(); });
    bench.chooseName("library");
    bench.download();
    expectSameCsv(fileLines(csv), bench.lines("library.CSV"), csv.chopped(4), bench.folder() + "/library");

    const CliRun::Result again = cli.run({"status", "--demo", "--json", "--quiet"});
    EXPECT_TRUE(jsonOf(again)["download"].toObject()["downloaded"].toBool());
}

// Ctrl+C ends the download as Cancel Download does: files kept, notes written.
TEST(CliDemo, InterruptEndsTheDownloadWithItsNotes)
{
    const RecordedTest recorded = RecordedTest::ramp(4, 0, 3000);
    CliRun cli;
    cli.saveImage(recorded.image());
    const CliRun::Result r = cli.run({"download", "--demo", "--notes", "Interrupted at the station"},
                                     "Downloading", [](QProcess &p) { ::kill(p.processId(), SIGINT); });
    ASSERT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 5) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("[Cancel Download Alert]")) << r.err.toStdString();
    const QStringList files = QDir(cli.demoDataFolder()).entryList({"*.CSV"}, QDir::Files | QDir::CaseSensitive);
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files[0].endsWith("_Aborted.CSV")) << files[0].toStdString();
    // The tidy files and the metadata keep the working names too.
    const QString base = files[0].chopped(4);
    for (const QString extension : {".tidy.csv", ".events.csv", ".json"})
        EXPECT_TRUE(QFile::exists(cli.demoDataFolder() + "/" + base + extension)) << extension.toStdString();
    const QStringList lines = fileLines(cli.demoDataFolder() + "/" + files[0]);
    EXPECT_TRUE(lines.join('\n').contains("Interrupted at the station"));
}

// The tidy file is written unless --no-tidy says otherwise; the last lines
// name the CSV and the tidy file.
TEST(CliDemo, DownloadWritesTheTidyFileUnlessNoTidy)
{
    for (const bool tidy : {true, false}) {
        CliRun cli;
        cli.saveImage(smallTest().image());
        QStringList arguments{"download", "--demo", "--quiet"};
        if (!tidy)
            arguments << "--no-tidy";
        const CliRun::Result r = cli.run(arguments);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QStringList files = QDir(cli.demoDataFolder()).entryList({"BENCH001*"}, QDir::Files);
        ASSERT_FALSE(files.isEmpty());
        const QString base = cli.demoDataFolder() + "/" + files[0].left(files[0].indexOf('.'));
        const QStringList expected = tidy ? QStringList{".CSV", ".events.csv", ".json", ".tidy.csv"}
                                          : QStringList{".CSV"};
        EXPECT_EQ(files.size(), expected.size()) << files.join(", ").toStdString();
        for (const QString &extension : expected)
            EXPECT_TRUE(QFile::exists(base + extension)) << extension.toStdString();
        const QString output = "complete: " + base + ".CSV\n" + (tidy ? "tidy: " + base + ".tidy.csv\n" : "");
        EXPECT_EQ(r.out, output);
    }
}

// Three readings, one JSON line each, every installed channel in counts.
TEST(CliDemo, RealtimeCountPrintsJsonLines)
{
    CliRun cli;
    const CliRun::Result r = cli.run({"realtime", "--demo", "--preset", "finished", "--count", "3",
                                      "--interval", "0.5", "--units", "counts", "--json", "--quiet"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3) << r.out.toStdString();
    for (const QString &line : lines) {
        const QJsonObject reading = QJsonDocument::fromJson(line.toUtf8()).object();
        EXPECT_EQ(reading["mode"].toString(), "counts");
        const QJsonArray channels = reading["channels"].toArray();
        ASSERT_EQ(channels.size(), 8) << line.toStdString();
        for (int i = 0; i < channels.size(); ++i) {
            const QJsonObject channel = channels[i].toObject();
            EXPECT_EQ(channel["channel"].toInt(), i + 1);
            EXPECT_EQ(channel["value"].toDouble(), channel["count"].toInt());
            EXPECT_GE(channel["count"].toInt(), 0);
            EXPECT_LE(channel["count"].toInt(), 4095);
        }
    }
}

// A logger already downloaded is not downloaded again without --yes: the
// question's safe answer refuses, nothing is written.
TEST(CliDemo, SafeAnswerRefusesASecondDownload)
{
    CliRun cli;
    const CliRun::Result r = cli.run({"download", "--demo", "--preset", "downloaded", "--quiet"});
    EXPECT_EQ(r.exitCode, 4) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("[Previous Download Alert (Sub CmdDownload)]")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("  -> Cancel"));
    EXPECT_TRUE(QDir(cli.demoDataFolder()).entryList({"*.CSV"}).isEmpty());
}

// The header saved to a file; a file that is not one, a file that exists,
// and the question before a load each refuse with nothing written.
TEST(CliDemo, HeaderFileSaveAndItsRefusals)
{
    CliRun cli;
    const QString saved = cli.home() + "/logger header.txt";
    const QStringList demo{"--demo", "--preset", "finished", "--quiet"};
    const CliRun::Result save = cli.run(QStringList{"header", "save", saved} + demo);
    ASSERT_EQ(save.exitCode, 0) << save.err.toStdString();
    EXPECT_TRUE(fileLines(saved).value(0).contains("Logger Header Data"));

    const QString notHeader = cli.home() + "/notes.txt";
    QFile file(notHeader);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("just some notes\r\n");
    file.close();
    const struct {
        QStringList arguments;
        int exitCode;
        QString says;
    } cases[] = {
        {{"header", "load", notHeader, "--demo"}, 4, notHeader + " is not a Logger Header  Data file."},
        {{"header", "load", saved, "--demo"}, 4, "Load New Header Data to Logger memory from " + saved + "?\n  -> No"},
        {{"header", "save", saved, "--demo"}, 4, saved + " exists; --yes replaces it"},
        {{"header", "load", cli.home() + "/missing.txt", "--demo"}, 1, "cannot read the header file"},
    };
    for (const auto &c : cases) {
        const CliRun::Result r = cli.run(c.arguments + QStringList{"--quiet"});
        const std::string name = c.arguments.join(' ').toStdString();
        EXPECT_EQ(r.exitCode, c.exitCode) << name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.says)) << name << ": " << r.err.toStdString();
    }
    EXPECT_TRUE(QDir(cli.demoDataFolder()).entryList({"*HEADER BACKUP*"}).isEmpty())
        << "a refused load keeps no backup either";
}

// A test from the options, confirmed with --yes, then read back by status;
// without --yes the confirmation keeps the logger as it was.
TEST(CliDemo, InitThenStatusShowsTheNewTest)
{
    CliRun cli;
    const QStringList test{"init", "--demo", "--period", "5m", "--channels", "1-3", "--monitor", "1",
                           "--wait", "20", "--description", "Set up by a script", "--quiet"};
    const CliRun::Result refused = cli.run(test + QStringList{"--preset", "downloaded"});
    EXPECT_EQ(refused.exitCode, 4) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains("[Monitor Channel Warning--Battery Power]\n  The MONITOR function is enabled.\n"))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains("  -> Cancel"));
    const QJsonObject before = jsonOf(cli.run({"status", "--demo", "--json", "--quiet"}))["test"].toObject();
    EXPECT_EQ(before["periodSeconds"].toInteger(), 60);

    const CliRun::Result done = cli.run(test + QStringList{"--yes"});
    ASSERT_EQ(done.exitCode, 0) << done.err.toStdString();
    EXPECT_TRUE(done.err.contains("[Up-load message]\n  Scan period: 00:05:00\n  Number of channels: 3\n"
                                  "  Monitor Channel: 1\n  Channel List: 1, 2, 3, \n"))
        << done.err.toStdString();
    const QJsonObject after = jsonOf(cli.run({"status", "--demo", "--json", "--quiet"}))["test"].toObject();
    EXPECT_TRUE(after["logging"].toBool());
    EXPECT_EQ(after["description"].toString(), "Set up by a script");
    EXPECT_EQ(after["periodSeconds"].toInteger(), 300);
    EXPECT_EQ(after["waitSeconds"].toInteger(), 20);
    EXPECT_EQ(after["channels"].toArray(), QJsonArray({1, 2, 3}));
    EXPECT_EQ(after["monitorChannel"].toInt(), 1);
    EXPECT_GT(after["scanCount"].toInteger(), 0);
}

// The force stop warns that data may be lost: only --yes stops the test.
TEST(CliDemo, StopNeedsYes)
{
    CliRun cli;
    const CliRun::Result refused = cli.run({"stop", "--demo", "--preset", "logging", "--quiet"});
    EXPECT_EQ(refused.exitCode, 4) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains("[Stop Logging message]\n  LAST RESORT METHOD TO STOP LOGGING!"))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains("  -> Cancel"));
    EXPECT_TRUE(jsonOf(cli.run({"status", "--demo", "--json", "--quiet"}))["test"].toObject()["logging"].toBool());

    const CliRun::Result stopped = cli.run({"stop", "--demo", "--yes", "--quiet"});
    EXPECT_EQ(stopped.exitCode, 0) << stopped.err.toStdString();
    EXPECT_FALSE(jsonOf(cli.run({"status", "--demo", "--json", "--quiet"}))["test"].toObject()["logging"].toBool());
}

// Every refusal of a bad command line is one line and its exit code, before
// any port is touched.
TEST(CliBadInput, OneLineErrorAndTheExitCode)
{
    const struct {
        QStringList arguments;
        int exitCode;
        const char *says;
    } cases[] = {
        {{}, 1, "no command given"},
        {{"frobnicate"}, 1, "unknown command 'frobnicate'"},
        {{"status", "--frobnicate"}, 1, "Unknown option 'frobnicate'"},
        {{"status", "--port"}, 1, "Missing value after '--port'"},
        {{"status", "--notes", "x"}, 1, "option --notes does not apply to status"},
        {{"init", "--channels", "0-9"}, 1, "--channels '0-9'"},
        {{"init", "--period", "-5s"}, 1, "--period '-5s'"},
        {{"init", "--period", "1e9h"}, 1, "--period '1e9h'"},
        {{"init", "--period", "5m", "--channels", "1", "--wait", "0"}, 1, "--wait must be 1 to 254 seconds"},
        {{"init", "--period", "4000s", "--channels", "1"}, 1, "outside the Setup tab's range for its unit"},
        {{"init", "--channels", "1-4"}, 1, "init needs --period and --channels"},
        {{"status", "--baud", "4800"}, 1, "--baud must be 9600, 115200 or auto"},
        {{"header", "save"}, 1, "header needs 'save FILE' or 'load FILE'"},
        {{"status", "--port", "/dev/no-such-logger-port"}, 2, "cannot open /dev/no-such-logger-port"},
    };
    CliRun cli;
    for (const auto &c : cases) {
        const CliRun::Result r = cli.run(c.arguments);
        const std::string name = c.arguments.join(' ').toStdString();
        EXPECT_FALSE(r.crashed) << name;
        EXPECT_EQ(r.exitCode, c.exitCode) << name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.says)) << name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << name;
    }
    EXPECT_TRUE(QDir(cli.home()).entryList({"*.CSV"}, QDir::Files).isEmpty());
}
