#pragma once
// Starting a console command with its window hidden, for the commands whose output
// nobody reads (powercfg, devcon enable and disable, hdparm).
#include <cstdint>
#include <string>

// Starts the command line as given, its program found as ResolveCommand finds it
// (CommandStart.h: never in the current directory). With waitMilliseconds 0 it
// returns at once; otherwise it waits until the command ends or that many
// milliseconds have passed. False when the command could not be started.
bool StartHidden(const std::string& commandLine, uint32_t waitMilliseconds);
