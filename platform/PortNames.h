#pragma once

#include <QString>

namespace PortNames {

// The device behind the operator's port number 1-4: COMn on Windows; on Linux
// /dev/ttyUSB<n-1> when such an adapter is plugged in, else /dev/ttyS<n-1>.
QString deviceForPort(int number);

// The operator-facing data folder default: C:\LoggerData on Windows,
// ~/LoggerData elsewhere.
QString defaultDataFolder();

} // namespace PortNames
