#pragma once
// Whole-file reads and replacing writes for the driver patch, and the existence test
// that the settings file and the autostart shortcut share.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The file's bytes; nothing when it cannot be opened or read whole, or is larger than
// maxSize.
std::optional<std::string> ReadWholeFile(const std::string& path, uint32_t maxSize = UINT32_MAX);

// Writes all the bytes at the file's current position; false when a write fails.
bool WriteAllBytes(HANDLE file, std::string_view bytes);
using ByteWriter = bool (*)(HANDLE file, std::string_view bytes);

// Makes the file at path hold exactly these bytes, or leaves it as it was: they go to a
// file of the program's own made anew beside it (WidePath::TemporaryBeside, never one
// that was there, such as a "NAME.new" of someone else's), which is flushed and then
// moved over path in one step, taking over the old file's attributes and keeping the
// folder's inherited permissions. On any failure the new file is deleted again. A
// read-only file is not replaced. `write` is the call that puts the bytes in the new
// file; tests hand in one that fails part-way, as a full disk does. The path may be of
// any length and hold any characters in its wide form.
bool ReplaceFileContents(const std::wstring& path, std::string_view bytes, ByteWriter write = WriteAllBytes);
bool ReplaceFileContents(const std::string& path, std::string_view bytes, ByteWriter write = WriteAllBytes);

// A file is there when a listing finds it as an ordinary file: a hidden or system
// file, or a directory, counts as missing.
bool OrdinaryFileExists(const std::string& path);
