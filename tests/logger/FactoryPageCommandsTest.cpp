#include "logger/FactoryPageCommands.h"
#include "sim/LoggerPresets.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/TransportBench.h"

#include <gtest/gtest.h>

namespace {

class FactoryPageCommandsTest : public ::testing::Test, public VirtualLoopOwner, public TransportBench
{
protected:
    FactoryPageCommandsTest()
        : TransportBench(loop, LoggerPresets::build(LoggerPreset::Finished, VirtualEventLoop().now()))
        , commands(transport, state, loop, dialogs)
    {
        connect();
        port.forget();
    }

    QByteArray header(int address, int length) const { return logger.image().header.mid(address, length); }
    QByteArray data(int address, int length) const { return logger.image().data.mid(address, length); }

    FactoryPageCommands commands;
};

} // namespace

TEST_F(FactoryPageCommandsTest, ClearDataZerosTheFirst257Lines)
{
    ASSERT_NE(data(0, 0x1020), QByteArray(0x1020, '\0')) << "the preset holds a test";
    const QByteArray above = data(0x1010, 16);

    EXPECT_EQ(commands.clearData(), 257);
    EXPECT_EQ(port.lettersWritten('f'), 257);
    EXPECT_EQ(data(0, 0x1010), QByteArray(0x1010, '\0'));
    EXPECT_EQ(data(0x1010, 16), above) << "nothing past line 001000";
    EXPECT_FALSE(state.commAbort);
}

TEST_F(FactoryPageCommandsTest, ClearDataStopsAtTheFirstWriteThatFails)
{
    logger.setMemoryChangedHandler([this] {
        if (data(0x0200, 16) == QByteArray(16, '\0'))
            logger.faults().silenceAfterLines(0);
    });
    EXPECT_EQ(commands.clearData(), 0x20);
    EXPECT_TRUE(state.commAbort);
    EXPECT_EQ(port.lettersWritten('f'), 0x21) << "no write after the one that failed";
}

TEST_F(FactoryPageCommandsTest, HeaderNotesFillTheNotesPageOnly)
{
    const QByteArray pastPage = header(0x0F00, 0x100);
    ASSERT_TRUE(commands.writeHeaderNotes(QStringLiteral("Serviced 2026-12\nNew cells")));
    EXPECT_EQ(header(0x0E00, 32), QByteArray("Serviced 2026-12@@New cells^^^^^"));
    EXPECT_EQ(header(0x0E20, 0xE0), QByteArray(0xE0, '^'));
    EXPECT_EQ(port.lettersWritten('d'), 16);

    port.forget();
    const QByteArray full(256, 'N');
    ASSERT_TRUE(commands.writeHeaderNotes(QString::fromLatin1(full)));
    EXPECT_EQ(header(0x0E00, 256), full);
    EXPECT_EQ(port.lettersWritten('d'), 16) << "a full page takes no fill line";
    EXPECT_EQ(header(0x0F00, 0x100), pastPage);
}

TEST_F(FactoryPageCommandsTest, HandWritesReachTheLoggerAsComposed)
{
    ASSERT_TRUE(commands.writeHeaderText(QStringLiteral("700"), QStringLiteral("by hand"),
                                         QStringLiteral("Wrt ASCIId")));
    EXPECT_EQ(header(0x0700, 16), QByteArray("by hand........."));
    ASSERT_TRUE(commands.writeData(QStringLiteral("20"), QStringLiteral("0123456789ABCDEF0123456789ABCDEF"),
                                   QStringLiteral("Write HEX DATA")));
    EXPECT_EQ(data(0x20, 16).toHex().toUpper(), QByteArray("0123456789ABCDEF0123456789ABCDEF"));
    EXPECT_TRUE(port.writtenText().contains(QStringLiteral("d0700#by hand.........1E|c0700|")))
        << port.writtenText().toStdString();
}

TEST_F(FactoryPageCommandsTest, AnAddressThatIsNotHexadecimalSendsNothing)
{
    dialogs.expect(QStringLiteral("Wrt ASCIId"));
    EXPECT_FALSE(commands.writeHeaderText(QStringLiteral("0E0G"), QStringLiteral("x"),
                                          QStringLiteral("Wrt ASCIId")));
    EXPECT_EQ(dialogs.shown().back().text,
              QStringLiteral("The address \"0E0G\" is not a hexadecimal number. Nothing was sent."));
    dialogs.expect(QStringLiteral("Read"));
    EXPECT_TRUE(commands.readData(QStringLiteral("12 4"), QStringLiteral("Read")).isEmpty());
    EXPECT_EQ(dialogs.shown().back().text,
              QStringLiteral("The address \"12 4\" is not a hexadecimal number. Nothing was sent."));
    EXPECT_TRUE(port.written().isEmpty());
}

TEST_F(FactoryPageCommandsTest, ReadsGiveTheLinesAtTheFields)
{
    EXPECT_EQ(commands.readHeaderText(QStringLiteral("250"), QStringLiteral("Read")).mid(6, 16),
              QString::fromLatin1(header(0x0250, 16)));
    EXPECT_EQ(commands.readData(QStringLiteral("10"), QStringLiteral("Read")).mid(8, 32),
              QString::fromLatin1(data(0x10, 16).toHex().toUpper()));
    EXPECT_TRUE(port.writtenText().contains(QStringLiteral("c0250|")));
    EXPECT_TRUE(port.writtenText().contains(QStringLiteral("e000010|")));
}
