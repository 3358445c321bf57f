#pragma once

#include <string_view>

namespace quillmere {

// The advert box; its placeholders are RVX_QSADVERT_TITLE, _TEXT, _LINK and _IMAGE.
extern const std::string_view kAdvertTemplate;

// The update notice; RVX_BUTTON stands where the update form goes.
extern const std::string_view kUpdateNoticeTemplate;

inline constexpr std::string_view kAdvertPictureFragment = "<BR><IMG SRC='advertimg.jpg'>";
inline constexpr std::string_view kUpdateAdvertSeparator = "<BR><BR><BR>";

}  // namespace quillmere
