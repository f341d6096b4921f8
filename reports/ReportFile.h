#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Writes a report's text file whole, or not at all; on failure, what to
// tell the operator: "File not found." when the folder does not exist,
// "File is open." when the file exists and may be written but another
// program holds it, otherwise the error's number and text.
class ReportFile
{
public:
    static std::optional<QString> write(const QString &path, const QByteArray &bytes);
};
