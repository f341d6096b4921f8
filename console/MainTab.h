#pragma once

// The main window's tabs, by number.
namespace MainTab {
enum : int { LogOn, Waiting, DataLogger, Setup, CalData, Defaults, RealTime, Passwords, About, Help };
} // namespace MainTab
