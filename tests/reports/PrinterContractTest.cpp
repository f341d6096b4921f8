#include "tests/reports/ReportLines.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/RecordingPrinter.h"

#include <gtest/gtest.h>

namespace {

struct Item
{
    int column;
    const char *text;
    bool newLineAfter;
};

struct Case
{
    const char *name;
    std::vector<Item> items;
    QStringList lines;
};

} // namespace

// Columns count from 1 like tab stops; a column the line's text has already
// passed continues on the next line, never over the text.
TEST(PrinterContract, ItemsAtTheirColumns)
{
    const Case cases[] = {
        {"column 1 is the edge", {{1, "A", true}}, {"A"}},
        {"column 8 after seven blanks", {{8, "A", true}}, {"       A"}},
        {"two items on a line", {{2, "ab", false}, {6, "cd", true}}, {" ab  cd"}},
        {"an item right after another", {{1, "abc", false}, {4, "d", true}}, {"abcd"}},
        {"a column passed goes below", {{1, "abcdef", false}, {4, "X", true}}, {"abcdef", "   X"}},
        {"empty lines stay", {{1, "", true}, {3, "x", true}, {1, "", true}}, {"", "  x", ""}},
        {"an open line ends with the document", {{5, "end", false}}, {"    end"}},
    };
    for (const Case &c : cases) {
        RecordingPrinter printer;
        for (const Item &item : c.items) {
            printer.printAt(item.column, QString::fromLatin1(item.text));
            if (item.newLineAfter)
                printer.newLine();
        }
        printer.endDoc();
        EXPECT_EQ(printer.lines().join(u'|'), c.lines.join(u'|')) << c.name;
    }
}
