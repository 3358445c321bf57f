#pragma once

#include <cstdint>
#include <string>

#include "platform/AppContext.h"
#include "platform/HeapBuffer.h"

namespace quillmere {

// The whole file followed by four zero bytes; `size` is the file's length. Null after showing
// "Unable to read file: %s".
HeapBuffer ReadWholeFile(AppContext& ctx, const std::string& path, std::uint32_t& size);

// Creates or truncates `path` and writes `size` bytes. False after showing "Failed to write file
// %s".
bool WriteWholeFile(AppContext& ctx, const std::string& path, const void* data, std::uint32_t size,
                    FileKind kind = FileKind::Document);

// `format` holds one %s, replaced by `argument`. OK box with the stop icon, captioned with the
// application name.
void ShowErrorBox(AppContext& ctx, const char* format, const std::string& argument);

// The running module's path with its extension replaced by ".HLP", as the framework forms it.
std::string HelpFilePath(AppContext& ctx);

// Folder of the running executable with a trailing separator; empty after showing its message.
std::string GetModuleDirectory(AppContext& ctx);

// The file the stub reads itself from: the running executable, or (where the module folder is
// lower-cased) that folder + the executable's name without extension + ".exe". Empty, after
// GetModuleDirectory's message, when the running executable's path is unknown.
std::string SelfImagePathFor(AppContext& ctx);

}  // namespace quillmere
