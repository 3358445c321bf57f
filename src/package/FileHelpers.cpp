#include "package/FileHelpers.h"

#include <cstdlib>
#include <cstring>
#include <exception>
#include <limits>

#include "package/MultibyteText.h"
#include "package/PathHelpers.h"

namespace quillmere {

namespace {

constexpr const char* kReadFailure = "Unable to read file: %s";
constexpr const char* kWriteFailure = "Failed to write file %s";
constexpr const char* kNoModuleFolder =
    "Windows Error - cannot determine file path \n\nHelp path is: %s";

// The buffer, or null when any step fails. `size` receives the length as soon as it is known.
HeapBuffer ReadAll(FileSystem& files, const std::string& path, std::uint32_t& size) {
    std::unique_ptr<InputFile> file = files.OpenForReading(path);
    if (!file) return nullptr;
    const std::optional<std::uint64_t> length = file->Size();
    if (!length || *length > std::numeric_limits<std::uint32_t>::max()) return nullptr;
    size = static_cast<std::uint32_t>(*length);
    if (std::uint64_t{size} + 4 > std::numeric_limits<std::size_t>::max()) return nullptr;

    // Not zero-filled: the file's bytes overwrite it at once. Only what the file did not
    // deliver, and the four bytes after its end, are zeroed.
    HeapBuffer buffer = files.AllocateFileBuffer(std::size_t{size} + 4);
    if (!buffer) return nullptr;
    std::size_t total = 0;
    while (total < size) {
        std::size_t got = 0;
        if (!file->Read(buffer.get() + total, size - total, got)) return nullptr;
        if (got == 0) break;
        if (got > size - total) return nullptr;  // more than asked for: not to be trusted
        total += got;
    }
    std::memset(buffer.get() + total, 0, std::size_t{size} + 4 - total);
    if (!file->Close()) return nullptr;
    return buffer;
}

bool WriteAll(FileSystem& files, const std::string& path, const void* data, std::uint32_t size,
              FileKind kind) {
    std::unique_ptr<OutputFile> file = files.CreateForWriting(path, kind);
    if (!file) return false;
    const bool written = size == 0 || file->Write(data, size);
    const bool closed = file->Close();
    return written && closed;
}

// Where the extension of the path's file name begins: its last '.', or the end when it has none.
// A dot in a folder name does not count.
std::size_t ExtensionStart(const std::string& path, const TextRules& rules) {
    const std::size_t nameStart = GetDirectoryPart(path, rules).size();
    const std::size_t dot =
        FindLastChar(std::string_view(path).substr(nameStart), '.', rules.leadBytes);
    return dot == kNotFound ? path.size() : nameStart + dot;
}

}  // namespace

HeapBuffer ReadWholeFile(AppContext& ctx, const std::string& path, std::uint32_t& size) {
    HeapBuffer buffer;
    try {
        buffer = ReadAll(ctx.platform.files, path, size);
    } catch (const std::exception&) {
        buffer.reset();
    }
    if (!buffer) ShowErrorBox(ctx, kReadFailure, path);
    return buffer;
}

bool WriteWholeFile(AppContext& ctx, const std::string& path, const void* data, std::uint32_t size,
                    FileKind kind) {
    bool ok = false;
    try {
        ok = WriteAll(ctx.platform.files, path, data, size, kind);
    } catch (const std::exception&) {
        ok = false;
    }
    if (!ok) ShowErrorBox(ctx, kWriteFailure, path);
    return ok;
}

// Only the first "%s" takes the argument and "%%" stands for '%'; anything else is copied as it
// is. The argument is inserted verbatim, so a '%' in a path or address is never read as a format.
void ShowErrorBox(AppContext& ctx, const char* format, const std::string& argument) {
    std::string text;
    bool substituted = false;
    for (const char* p = format; *p != '\0'; ++p) {
        if (p[0] == '%' && p[1] == '%') {
            text += '%';
            ++p;
        } else if (p[0] == '%' && p[1] == 's' && !substituted) {
            text += argument;
            substituted = true;
            ++p;
        } else {
            text += *p;
        }
    }
    ctx.platform.dialogs.ShowMessageBox(text, ctx.appName, kStopBox);
}

std::string HelpFilePath(AppContext& ctx) {
    const std::optional<std::string> module = ctx.platform.system.ModuleFilePath();
    if (!module) return std::string();
    return module->substr(0, ExtensionStart(*module, ctx.rules)) + ".HLP";
}

std::string GetModuleDirectory(AppContext& ctx) {
    const std::string helpPath = HelpFilePath(ctx);
    std::string folder = GetDirectoryPart(helpPath, ctx.rules);
    if (folder.empty()) {
        ShowErrorBox(ctx, kNoModuleFolder, helpPath);
        return std::string();
    }
    if (!ctx.platform.system.Conventions().lowerCaseModuleFolder) return folder;
    return LowerAnsi(folder, ctx.rules.leadBytes);
}

std::string SelfImagePathFor(AppContext& ctx) {
    const std::optional<std::string> module = ctx.platform.system.ModuleFilePath();
    if (ctx.platform.system.Conventions().selfImageIsModuleFile && module) return *module;
    const std::string folder = GetModuleDirectory(ctx);
    // Without the folder there is no name either: an empty path fails to open instead of
    // reading whatever ".exe" the current directory holds.
    if (folder.empty() || !module) return std::string();
    const std::size_t nameStart = GetDirectoryPart(*module, ctx.rules).size();
    const std::size_t stemEnd = ExtensionStart(*module, ctx.rules);
    return folder + module->substr(nameStart, stemEnd - nameStart) + ".exe";
}

}  // namespace quillmere
