#include "system/Files.h"

#include <utility>

#include "system/Handle.h"
#include "system/WidePath.h"

namespace {

// A search handle closed when it goes out of scope; null and INVALID_HANDLE_VALUE are
// both "no handle".
template <typename Close>
class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
    ~ScopedHandle() {
        if (*this)
            Close{}(handle_);
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    HANDLE get() const { return handle_; }
    explicit operator bool() const {
        return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

struct CloseSearch {
    void operator()(HANDLE handle) const { FindClose(handle); }
};
using FileHandle = Handle;
using FindHandle = ScopedHandle<CloseSearch>;

// A file deleted when it goes out of scope, unless it has been kept.
class TemporaryFile {
public:
    explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!kept_)
            DeleteFileW(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const wchar_t* path() const { return path_.c_str(); }
    void keep() { kept_ = true; }

private:
    std::wstring path_;
    bool kept_ = false;
};

std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(size_t(MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), int(wide.size()))));
    return wide;
}

// Writes the bytes to the temporary file, opened already, and moves it over the
// target. Windows refuses to replace a read-only file; Wine run as root would not, so
// the user's word that the file stays as it is gets asked here.
bool WriteAndReplace(FileHandle file, TemporaryFile& temporary, const std::wstring& path, std::string_view bytes,
                     ByteWriter write) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    const bool written = file && write(file.get(), bytes) && FlushFileBuffers(file.get());
    file.Close();  // before it can be moved
    if (!written)
        return false;
    if (exists)
        SetFileAttributesW(temporary.path(), attributes);
    if (!MoveFileExW(temporary.path(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    temporary.keep();
    return true;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path, uint32_t maxSize) {
    const FileHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    DWORD high = 0;
    const DWORD size = GetFileSize(file.get(), &high);
    if (size == INVALID_FILE_SIZE || high != 0 || size > maxSize)
        return std::nullopt;
    std::string bytes(size, '\0');
    for (DWORD done = 0; done < size;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + done, size - done, &got, nullptr) || got == 0)
            return std::nullopt;
        done += got;
    }
    return bytes;
}

bool WriteAllBytes(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes, ByteWriter write) {
    return ReplaceFileContents(Wide(path), bytes, write);
}

bool ReplaceFileContents(const std::wstring& path, std::string_view bytes, ByteWriter write) {
    const std::wstring target = WidePath::Extended(path);
    // A name nobody has taken: made anew, so no file of anyone's is ever written
    // through, and it carries the folder's inherited permissions into the target.
    const uint32_t seed = GetTickCount() ^ (GetCurrentProcessId() << 16);
    for (uint32_t attempt = 0; attempt < 16; ++attempt) {
        const std::wstring name = WidePath::Extended(WidePath::TemporaryBeside(path, seed + attempt));
        FileHandle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file && GetLastError() == ERROR_FILE_EXISTS)
            continue;
        if (!file)
            return false;
        TemporaryFile temporary(name);
        return WriteAndReplace(std::move(file), temporary, target, bytes, write);
    }
    return false;
}

bool OrdinaryFileExists(const std::string& path) {
    WIN32_FIND_DATAA found;
    const FindHandle search(FindFirstFileA(path.c_str(), &found));
    constexpr DWORD notOrdinary =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
    return search && (found.dwFileAttributes & notOrdinary) == 0;
}
