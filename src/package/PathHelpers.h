#pragma once

#include <string>
#include <string_view>

#include "platform/TextRules.h"

namespace quillmere {

std::string GetDirectoryPart(std::string_view path, const TextRules& rules);
std::string GetFileNamePart(std::string_view path, const TextRules& rules);
std::string GetExtensionPart(std::string_view path, const TextRules& rules);
std::string StripQuery(std::string_view url, const TextRules& rules);
std::string GetQueryValue(std::string_view url, std::string_view key, const TextRules& rules);

}  // namespace quillmere
