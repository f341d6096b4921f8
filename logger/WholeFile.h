#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Small text files the program keeps (calibration sets, header images):
// read up to a limit, written whole or not at all, with the reason for the
// operator when either fails.
class WholeFile
{
public:
    // The first maxBytes of the file, or nothing with the reason ("File not
    // found." or the system's description).
    static std::optional<QByteArray> read(const QString &path, qint64 maxBytes, QString *error);
    // Replaces the file atomically: a failed write leaves no half file.
    static bool write(const QString &path, const QByteArray &bytes, QString *error);
};
