#include "system/SystemEnvironment.h"

namespace SystemEnvironment {

namespace {

std::string Drive(const std::string& windows) { return windows.substr(0, windows.find('\\')); }

}  // namespace

std::string CommandBlock(const Facts& facts) {
    // Already in the order Windows wants: by name, without regard to case.
    Variables variables{{"ComSpec", facts.system + "\\cmd.exe"},
                        {"NUMBER_OF_PROCESSORS", std::to_string(facts.processors)},
                        {"OS", "Windows_NT"},
                        {"PATH", facts.system + ";" + facts.windows},
                        {"PROCESSOR_ARCHITECTURE", "x86"}};
    if (!facts.nativeArchitecture.empty())
        variables.push_back({"PROCESSOR_ARCHITEW6432", facts.nativeArchitecture});
    variables.insert(variables.end(), {{"SystemDrive", Drive(facts.windows)},
                                       {"SystemRoot", facts.windows},
                                       {"windir", facts.windows}});
    std::string block;
    for (const auto& [name, value] : variables)
        block.append(name).append("=").append(value).push_back('\0');
    block.push_back('\0');
    return block;
}

Variables OwnVariables(const Facts& facts) {
    return {{"PATH", facts.system + ";" + facts.windows},
            {"SystemRoot", facts.windows},
            {"windir", facts.windows},
            {"SystemDrive", Drive(facts.windows)},
            {"ComSpec", facts.system + "\\cmd.exe"},
            {"ProgramFiles", facts.programFiles},
            {"CommonProgramFiles", facts.commonFiles},
            {"__COMPAT_LAYER", ""}};
}

}  // namespace SystemEnvironment
