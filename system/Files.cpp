#include "system/Files.h"

#include <utility>

namespace {

// A kernel handle closed by Close when it goes out of scope; null and
// INVALID_HANDLE_VALUE are both "no handle" (the file and search calls differ).
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

struct CloseFile {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct CloseSearch {
    void operator()(HANDLE handle) const { FindClose(handle); }
};
using FileHandle = ScopedHandle<CloseFile>;
using FindHandle = ScopedHandle<CloseSearch>;

// A file deleted when it goes out of scope, unless it has been kept.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!kept_)
            DeleteFileA(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const char* path() const { return path_.c_str(); }
    void keep() { kept_ = true; }

private:
    std::string path_;
    bool kept_ = false;
};

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
    const DWORD attributes = GetFileAttributesA(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    // Windows refuses to replace a read-only file; Wine run as root would not, so the
    // user's word that the file stays as it is gets asked here.
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    TemporaryFile temporary(path + ".new");
    SetFileAttributesA(temporary.path(), FILE_ATTRIBUTE_NORMAL);  // a leftover hidden one
    {
        const FileHandle file(CreateFileA(temporary.path(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !write(file.get(), bytes) || !FlushFileBuffers(file.get()))
            return false;
    }  // closed before it can be moved
    if (exists)
        SetFileAttributesA(temporary.path(), attributes);
    if (!MoveFileExA(temporary.path(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    temporary.keep();
    return true;
}

bool OrdinaryFileExists(const std::string& path) {
    WIN32_FIND_DATAA found;
    const FindHandle search(FindFirstFileA(path.c_str(), &found));
    constexpr DWORD notOrdinary =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
    return search && (found.dwFileAttributes & notOrdinary) == 0;
}
