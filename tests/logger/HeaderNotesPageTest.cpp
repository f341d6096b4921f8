#include "logger/HeaderDecoder.h"
#include "logger/HeaderNotesPage.h"
#include "tests/support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace {
const QString Fill(16, u'^');
} // namespace

TEST(HeaderNotesPage, TextIsEndedAndThePageFilled)
{
    const QStringList lines = HeaderNotesPage::lines(QStringLiteral("Cal by JS\r\nBattery 2026"));
    ASSERT_EQ(lines.size(), 16);
    EXPECT_EQ(lines[0], QStringLiteral("Cal by JS@@Batte"));
    EXPECT_EQ(lines[1], QStringLiteral("ry 2026^^^^^^^^^"));
    for (int i = 2; i < 16; ++i)
        EXPECT_EQ(lines[i], Fill) << i;
    EXPECT_EQ(HeaderDecoder::notesText(lines.join(QString())),
              QStringLiteral("Cal by JS\r\nBattery 2026"));
}

TEST(HeaderNotesPage, BreaksOfTheNotesBoxAreStoredAsTheLoggerKeepsThem)
{
    EXPECT_EQ(HeaderNotesPage::lines(QStringLiteral("a\nb"))[0], QStringLiteral("a@@b^^^^^^^^^^^^"));
    EXPECT_EQ(HeaderNotesPage::lines(QStringLiteral("a\rb"))[0], QStringLiteral("a@@b^^^^^^^^^^^^"));
}

TEST(HeaderNotesPage, AFullPageHasNoFillAndLongerTextIsCut)
{
    const QString full(256, u'n');
    QStringList lines = HeaderNotesPage::lines(full);
    ASSERT_EQ(lines.size(), 16);
    EXPECT_EQ(lines.join(QString()), full);

    lines = HeaderNotesPage::lines(full + QStringLiteral("past the page"));
    ASSERT_EQ(lines.size(), 16);
    EXPECT_EQ(lines.join(QString()), full);

    lines = HeaderNotesPage::lines(QString(32, u'x'));
    ASSERT_EQ(lines.size(), 16);
    EXPECT_EQ(lines[1], QString(16, u'x'));
    EXPECT_EQ(lines[2], Fill) << "a note ending on a line's end is still ended";
    EXPECT_EQ(HeaderNotesPage::lines(QString()), QStringList(16, Fill));
}
