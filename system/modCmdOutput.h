#pragma once
// Running a console command hidden and taking what it writes to its standard output
// (or standard error, or both) as one text, once every writer has closed the pipe.
#include <cstdint>
#include <string>

namespace modCmdOutput {

// Returned as if it were the output when the program cannot be started; it holds
// none of the words callers search for.
inline constexpr const char* FailedToCreateProcess =
    "Failed to create process, check the path of the command line.";

// The tray's thread waits in the read: a devcon that never ends would freeze it. After
// this long the command and every process it started are ended, and what they wrote
// so far is the result. devcon answers in a second or two; 30 s leaves room for a
// slow machine while keeping a hang short.
inline constexpr uint32_t RunCommandTimeoutMs = 30000;

// The program is found as ResolveCommand finds it (never in the current directory).
// Throws std::invalid_argument when neither stream is wanted. The text is converted
// from the OEM to the ANSI code page when convertFromOem is set.
std::string RunCommand(const std::string& commandLine, bool wantStdout, bool wantStderr,
                       bool convertFromOem, uint32_t timeoutMs = RunCommandTimeoutMs);

}  // namespace modCmdOutput
