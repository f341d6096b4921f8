#pragma once

#include "logger/HeaderBackup.h"
#include "logger/MemoryTestParts.h"

#include <QString>
#include <functional>
#include <optional>

class HeaderLineWriter;

// subChkHdrMem: every text line of the header (pages 02-0E, 0EF0 down to
// 0200) is written with three patterns and then with what it held, each
// write verified by the transport's read-back. Pages 00-01 are left alone:
// they hold the live block of the running firmware, not text. The logger's
// header is kept in a backup file first, so a test cut short can be undone
// by loading that file.
class HeaderMemoryTest
{
public:
    static constexpr int FirstLine = 0x0200;
    static constexpr int LastLine = 0x0EF0;
    // After a failed verify the test goes on from here, downward.
    static constexpr int JumpAfterFailure = 0x03F0;
    // After a cancel the test would go on from here; it lies below
    // FirstLine, so a cancel ends the test.
    static constexpr int JumpAfterCancel = 0x00F0;

    HeaderMemoryTest(const MemoryTestParts &parts, std::function<QString()> dataFolder);

    // Runs the whole test; true when every line was written and verified.
    bool subChkHdrMem();
    // The operator's cancel: the test stops after the line it is working on.
    void requestCancel() { m_cancel = true; }

private:
    enum class Line { Good, Failed, Aborted };

    bool ready();
    Line testLine(HeaderLineWriter &writer, int address, int digit);
    bool linkLost() const;
    int nextAddress(int address, bool failed);
    void finish(bool aborted, bool failed, const QString &backup);
    void reportAbort(const QString &backup);

    MemoryTestParts m_p;
    HeaderBackup m_backup;
    bool m_cancel = false;
    // The line that holds a pattern until its own text is back, or -1.
    int m_patternLine = -1;
    int m_lastAddress = -1;
};
