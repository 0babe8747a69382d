#pragma once
// Whether files that the program writes for the user (a history saved where the user
// chose) may be written under the token of the desktop's shell: the user's own rights,
// so that a folder the user's unelevated programs control (turned into a junction
// between two steps of the save, say) gains nothing from vantu's administrator rights.
// Decided without OS calls from what was read of that token.
#include <cstdint>
#include <optional>

namespace ShellToken {

struct Facts {
    bool found = false;                 // a shell window, its process and its token were had
    std::optional<uint32_t> elevated;   // TokenElevation's TokenIsElevated; nothing: unread
    std::optional<uint32_t> integrity;  // the integrity level's RID; nothing: unread
};

inline constexpr uint32_t MediumIntegrity = 0x2000;

enum class Verdict { Usable, NoShell, Elevated, HighIntegrity, Unreadable };

// Usable only when neither elevated nor above medium integrity, whoever's account it
// is: a standard user who typed an administrator's password runs vantu as that
// administrator, and the work then gets the desktop user's rights, never more.
Verdict Judge(const Facts& facts);

// What was missing, for the message that nothing was written; "" for Usable.
const char* Missing(Verdict verdict);

}  // namespace ShellToken
