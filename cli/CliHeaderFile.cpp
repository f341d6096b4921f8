#include "cli/CliHeaderFile.h"

#include "cli/CliDialogs.h"
#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/ExitCode.h"
#include "logger/HeaderFileCommands.h"
#include "logger/LoggerConnection.h"
#include "platform/qt/QtEventLoop.h"

#include <QFileInfo>
#include <cstdio>

namespace {

bool saving(const CliOptions &options)
{
    return options.arguments.value(0) == u"save";
}

} // namespace

int CliHeaderFile::checkFile(const CliOptions &options)
{
    const QFileInfo file(options.arguments.value(1));
    if (saving(options)) {
        if (file.exists() && !options.yes) {
            std::fprintf(stderr, "datalogger-cli: %s exists; --yes replaces it\n", qPrintable(file.filePath()));
            return ExitCode::Refused;
        }
        return -1;
    }
    if (!file.isFile() || !file.isReadable()) {
        std::fprintf(stderr, "datalogger-cli: cannot read the header file %s\n", qPrintable(file.filePath()));
        return ExitCode::Usage;
    }
    return -1;
}

int CliHeaderFile::run(CliSession &session, const CliOptions &options, CliDialogs &dialogs)
{
    LoggerConnection &c = session.connection();
    HeaderFileCommands commands({c, dialogs, [&session] { return session.dataFolder(); },
                                 [&session] { return session.loop().now(); }});
    dialogs.setFilePath(QFileInfo(options.arguments.value(1)).absoluteFilePath());
    bool done = false;
    c.state.commAbort = false;
    session.run([&] { done = saving(options) ? commands.saveHeaderFile() : commands.loadHeaderFile(); });
    if (done)
        return ExitCode::Done;
    if (c.state.commAbort)
        return ExitCode::LinkFailure;
    std::fprintf(stderr, "datalogger-cli: header %s %s: nothing was %s\n", qPrintable(options.arguments.value(0)),
                 qPrintable(options.arguments.value(1)), saving(options) ? "saved" : "written to the logger");
    return ExitCode::Refused;
}
