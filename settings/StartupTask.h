#pragma once
// The scheduled task that starts the program at log-on from Windows 6.0 on, where the
// shell skips a Startup-folder shortcut to a program that asks for administrator
// rights. Its definition is Task Scheduler XML, made here without OS calls so that
// every setting is tested natively (Wine's Task Scheduler keeps only some of them).
#include <string>
#include <string_view>

namespace StartupTask {

// The task's definition: started at the log-on of `userId` (DOMAIN\name), with that
// user's interactive token and the highest rights the user has (no elevation prompt at
// each log-on); runs `command` in `workingDirectory`; on battery too, with no time
// limit; a start while one runs is ignored, and a missed start is made up when the
// machine is available. Texts are ANSI; the XML declares UTF-16, as whoever registers
// it converts it to.
std::string Definition(const std::string& name, const std::string& command,
                       const std::string& workingDirectory, const std::string& userId);

// The program a stored task starts: the text of its first Command element, unescaped,
// without blanks or quotes around it; "" when it has none.
std::string Command(std::string_view xml);

}  // namespace StartupTask
