#include "system/ShellToken.h"

namespace ShellToken {

Verdict Judge(const Facts& facts) {
    if (!facts.found)
        return Verdict::NoShell;
    if (!facts.elevated || !facts.integrity)
        return Verdict::Unreadable;
    if (*facts.elevated != 0)
        return Verdict::Elevated;
    return *facts.integrity > MediumIntegrity ? Verdict::HighIntegrity : Verdict::Usable;
}

const char* Missing(Verdict verdict) {
    switch (verdict) {
        case Verdict::NoShell: return "no desktop shell was found to take them from";
        case Verdict::Elevated: return "the desktop's shell runs as administrator";
        case Verdict::HighIntegrity: return "the desktop's shell runs at high integrity";
        case Verdict::Unreadable: return "the rights of the desktop's shell could not be read";
        case Verdict::Usable: break;
    }
    return "";
}

}  // namespace ShellToken
