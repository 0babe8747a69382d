#include "settings/StartupTask.h"

#include <utility>

namespace StartupTask {

namespace {

// Element text: paths and user names may hold &, < or > (a folder "Tom & Jerry").
std::string Escaped(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '&': escaped += "&amp;"; break;
            case '<': escaped += "&lt;"; break;
            case '>': escaped += "&gt;"; break;
            default: escaped += c;
        }
    }
    return escaped;
}

// The five entities XML predefines; anything else after "&" stays as it stands.
std::string Unescaped(std::string_view text) {
    constexpr std::pair<std::string_view, char> entities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string plain;
    for (size_t at = 0; at < text.size();) {
        bool replaced = false;
        for (const auto& [entity, c] : entities)
            if (!replaced && text.substr(at, entity.size()) == entity) {
                plain += c;
                at += entity.size();
                replaced = true;
            }
        if (!replaced)
            plain += text[at++];
    }
    return plain;
}

}  // namespace

std::string Command(std::string_view xml) {
    constexpr std::string_view open = "<Command>", close = "</Command>";
    const size_t start = xml.find(open);
    const size_t end = start == std::string_view::npos ? start : xml.find(close, start);
    if (end == std::string_view::npos)
        return "";
    std::string command = Unescaped(xml.substr(start + open.size(), end - start - open.size()));
    const size_t first = command.find_first_not_of(" \t\r\n\""), last = command.find_last_not_of(" \t\r\n\"");
    return first == std::string::npos ? "" : command.substr(first, last - first + 1);
}

std::string Definition(const std::string& name, const std::string& command,
                       const std::string& workingDirectory, const std::string& userId) {
    const std::string user = Escaped(userId);
    // Element order as Windows itself writes a task; priority 5 is the normal process
    // and thread priority of a program started by hand (the scheduler's default, 7,
    // is below normal).
    return "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
           "<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
           "  <RegistrationInfo>\r\n"
           "    <Description>" + Escaped(name) + "</Description>\r\n"
           "  </RegistrationInfo>\r\n"
           "  <Triggers>\r\n"
           "    <LogonTrigger>\r\n"
           "      <Enabled>true</Enabled>\r\n"
           "      <UserId>" + user + "</UserId>\r\n"
           "    </LogonTrigger>\r\n"
           "  </Triggers>\r\n"
           "  <Principals>\r\n"
           "    <Principal id=\"Author\">\r\n"
           "      <UserId>" + user + "</UserId>\r\n"
           "      <LogonType>InteractiveToken</LogonType>\r\n"
           "      <RunLevel>HighestAvailable</RunLevel>\r\n"
           "    </Principal>\r\n"
           "  </Principals>\r\n"
           "  <Settings>\r\n"
           "    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>\r\n"
           "    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>\r\n"
           "    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>\r\n"
           "    <StartWhenAvailable>true</StartWhenAvailable>\r\n"
           "    <ExecutionTimeLimit>PT0S</ExecutionTimeLimit>\r\n"
           "    <Priority>5</Priority>\r\n"
           "  </Settings>\r\n"
           "  <Actions Context=\"Author\">\r\n"
           "    <Exec>\r\n"
           "      <Command>" + Escaped(command) + "</Command>\r\n"
           "      <WorkingDirectory>" + Escaped(workingDirectory) + "</WorkingDirectory>\r\n"
           "    </Exec>\r\n"
           "  </Actions>\r\n"
           "</Task>\r\n";
}

}  // namespace StartupTask
