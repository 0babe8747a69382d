#include "system/CommandStart.h"

#include "system/CommandSearch.h"
#include "system/KnownFolders.h"
#include "system/modSystemEnvironment.h"

namespace {

bool IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Resolve(const std::string& commandLine, const SystemEnvironment::Facts& facts) {
    const auto folders = CommandSearch::SearchFolders(KnownFolders::AppFolder(), facts.system, facts.windows);
    for (const auto& path : CommandSearch::CandidatePaths(CommandSearch::ProgramName(commandLine), folders))
        if (IsFile(path))
            return path;
    return "";
}

}  // namespace

std::string ResolveCommand(const std::string& commandLine) {
    return Resolve(commandLine, modSystemEnvironment::ReadFacts());
}

std::optional<StartedProcess> StartCommand(const std::string& commandLine, STARTUPINFOA& startup,
                                           bool inheritHandles, DWORD creationFlags) {
    const SystemEnvironment::Facts facts = modSystemEnvironment::ReadFacts();
    const std::string program = Resolve(commandLine, facts);
    if (program.empty() || facts.system.empty())
        return std::nullopt;
    // CreateProcessA may write into the command line it is given. The system folder as
    // the current one: nothing is looked for in a folder of the caller's.
    std::string line = commandLine;
    std::string environment = SystemEnvironment::CommandBlock(facts);
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, inheritHandles, creationFlags,
                        environment.data(), facts.system.c_str(), &startup, &info))
        return std::nullopt;
    return StartedProcess{Handle(info.hProcess), Handle(info.hThread)};
}
