#pragma once

#include <QStringList>

// The header notes as written to the notes page: line breaks stored as "@@",
// 16 characters a line from the page's first address, the text ended by "^"
// fill and every later line of the page filled with "^". Text that does not
// fit the page is cut, so nothing is ever written past it.
class HeaderNotesPage
{
public:
    static constexpr int LineChars = 16;

    // The page's lines in address order; fewer than the page holds only when
    // the text fills it exactly.
    static QStringList lines(const QString &notes);
};
