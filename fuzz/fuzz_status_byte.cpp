// The status byte as the logger sends it ("S#xx" answer digits). Input: the
// prior alert text and the digits, separated by a NUL, then two scan numbers
// from the last bytes. Properties: every flag is its bit of the value, the
// flag names list exactly the set bits in order, the alert text keeps what
// the previous read left first, and the value is what the digits say.
#include "fuzz/FuzzCheck.h"
#include "link/StatusByteState.h"
#include "logger/FunctionsSubs.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const qint64 currentScan = qint64(data[0]) - 2;
    const qint64 eventScan = qint64(data[1]) - 2;
    const QByteArray rest = FuzzCheck::bytes(data + 2, size - 2);
    const qsizetype split = rest.indexOf('\0');
    const QString prior = QString::fromLatin1(split < 0 ? QByteArray() : rest.left(split));
    const QString text = QString::fromLatin1(split < 0 ? rest : rest.mid(split + 1));

    const StatusByteState s = StatusByteState::decode(text, prior, currentScan, eventScan);
    FuzzCheck::require(s.value == quint8(fnHexToLong(text) & 0xFF), "value of the digits", text);
    FuzzCheck::require(s.text == text, "digits kept as sent", text);
    const bool flags[8] = {s.supplyLow, s.batteryLow, s.stopOrTimeBase, s.eepromInvalid,
                           s.loggingActive, s.memoryFull, s.loggingDone, s.dumpOn};
    const char *names[8] = {"_VrawLO", "_VBatLO", nullptr, "_EEInvalid",
                            "_LogEN", "_MemFull", "_LogDone", "_DumpEN"};
    QString expectedNames;
    for (int bit = 0; bit < 8; ++bit) {
        const bool set = (s.value >> bit) & 1;
        FuzzCheck::require(flags[bit] == set, "flag is its bit", text);
        if (!set)
            continue;
        if (bit == 2)
            expectedNames += currentScan > eventScan ? QStringLiteral("_TimeErr")
                                                     : QStringLiteral("_Stop/Pause");
        else
            expectedNames += QString::fromLatin1(names[bit]);
    }
    FuzzCheck::require(s.flagNames == expectedNames, "flag names of the set bits",
                       s.flagNames + u'/' + expectedNames);
    FuzzCheck::require(s.alertText.startsWith(prior), "prior alert kept first", text);
    FuzzCheck::require(s.alertShown == ((s.value & 7) != 0), "alert shown for bits 0-2", text);
    FuzzCheck::require(s.stoppedOrPaused == (s.stopOrTimeBase && currentScan <= eventScan),
                       "stop or time-base fault by the scan numbers", text);
    return 0;
}
