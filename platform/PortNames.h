#pragma once

#include <QString>

namespace PortNames {

// The device behind the operator's port number 1-4: COMn on Windows; on Linux
// /dev/ttyUSB<n-1> when such an adapter is plugged in, else /dev/ttyS<n-1>.
QString deviceForPort(int number);

// The operator-facing data folder default: C:\LoggerData on Windows,
// ~/LoggerData elsewhere.
QString defaultDataFolder();

// The data folder of demo mode: inside the default one, so that files from
// the simulated logger never mix with those of real loggers.
QString demoDataFolder();

} // namespace PortNames
