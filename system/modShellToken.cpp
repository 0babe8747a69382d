#include "system/modShellToken.h"

#include <optional>

namespace modShellToken {

namespace {

// Token classes of Windows 6.0 and later, which a build for XP does not name; only a
// split token, which XP does not have, leads here.
constexpr auto kTokenElevation = static_cast<TOKEN_INFORMATION_CLASS>(20);
constexpr auto kTokenIntegrityLevel = static_cast<TOKEN_INFORMATION_CLASS>(25);
constexpr DWORD kQueryLimitedInformation = 0x1000;

std::optional<uint32_t> Elevated(HANDLE token) {
    DWORD elevated = 0, size = 0;
    if (!GetTokenInformation(token, kTokenElevation, &elevated, sizeof elevated, &size))
        return std::nullopt;
    return elevated;
}

std::optional<uint32_t> Integrity(HANDLE token) {
    DWORD size = 0;
    GetTokenInformation(token, kTokenIntegrityLevel, nullptr, 0, &size);
    std::string label(size, '\0');
    if (size < sizeof(SID_AND_ATTRIBUTES) || !GetTokenInformation(token, kTokenIntegrityLevel, label.data(), size, &size))
        return std::nullopt;
    const PSID sid = reinterpret_cast<const SID_AND_ATTRIBUTES*>(label.data())->Sid;
    if (!IsValidSid(sid) || *GetSidSubAuthorityCount(sid) == 0)
        return std::nullopt;
    return *GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1u);
}

Token TheDesktopShellsToken() {
    Token token;
    DWORD pid = 0;
    const HWND shell = GetShellWindow();
    if (!shell || !GetWindowThreadProcessId(shell, &pid))
        return token;
    const Handle process(OpenProcess(kQueryLimitedInformation, FALSE, pid));
    HANDLE raw = nullptr;
    if (!process || !OpenProcessToken(process.get(), TOKEN_DUPLICATE | TOKEN_QUERY, &raw))
        return token;
    const Handle primary(raw);
    if (!DuplicateTokenEx(primary.get(), TOKEN_IMPERSONATE | TOKEN_QUERY, nullptr, SecurityImpersonation,
                          TokenImpersonation, &raw))
        return token;
    token.handle = Handle(raw);
    token.facts = {true, Elevated(token.handle.get()), Integrity(token.handle.get())};
    return token;
}

// The thread runs under the token for its scope, and as the program again after it.
class Impersonation {
public:
    explicit Impersonation(HANDLE token) : on_(SetThreadToken(nullptr, token) != FALSE) {}
    ~Impersonation() {
        if (on_)
            RevertToSelf();
    }
    Impersonation(const Impersonation&) = delete;
    Impersonation& operator=(const Impersonation&) = delete;
    bool on() const { return on_; }

private:
    bool on_;
};

}  // namespace

Token (*DesktopShell)() = TheDesktopShellsToken;

Result ReplaceAsUser(const std::wstring& path, std::string_view bytes, bool splitToken, ByteWriter write) {
    if (!splitToken)
        return {ShellToken::Verdict::Usable, ReplaceFileContents(path, bytes, write)};
    const Token token = DesktopShell();
    const ShellToken::Verdict verdict = ShellToken::Judge(token.facts);
    if (verdict != ShellToken::Verdict::Usable)
        return {verdict, false};
    const Impersonation asUser(token.handle.get());
    if (!asUser.on())
        return {ShellToken::Verdict::Unreadable, false};
    return {verdict, ReplaceFileContents(path, bytes, write)};
}

}  // namespace modShellToken
