#pragma once

#include <QString>

// The whole operations the soak runs, as an operator starts them.
enum class OperationKind { Connect, Download, Initialize, Calibrate, RealTime, HeaderSave, HeaderLoad };

inline constexpr OperationKind AllOperationKinds[] = {
    OperationKind::Connect,  OperationKind::Download,   OperationKind::Initialize, OperationKind::Calibrate,
    OperationKind::RealTime, OperationKind::HeaderSave, OperationKind::HeaderLoad,
};

inline QString operationName(OperationKind kind)
{
    switch (kind) {
    case OperationKind::Connect: return QStringLiteral("connect");
    case OperationKind::Download: return QStringLiteral("download");
    case OperationKind::Initialize: return QStringLiteral("initialize");
    case OperationKind::Calibrate: return QStringLiteral("calibrate");
    case OperationKind::RealTime: return QStringLiteral("real-time");
    case OperationKind::HeaderSave: return QStringLiteral("header-save");
    case OperationKind::HeaderLoad: return QStringLiteral("header-load");
    }
    return QString();
}
