#pragma once

#include <QtGlobal>

// A full disk for this process: no file may grow past a size, so the next
// write that would is refused (as the kernel refuses it on a full disk).
// The soak's own files are written only while the disk is not full.
class DiskLimit
{
public:
    // The signal the kernel sends with such a refusal is ignored.
    static void prepare();
    static void fillAt(qint64 bytes);
    static void lift();
};
