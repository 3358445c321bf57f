#pragma once

#include <cstdint>
#include <string>

namespace quillmere {

// What the update form posts, field by field in the order the maker's server reads them.
struct UpdateFormValues {
    std::int32_t m = 0;  // advert number
    std::int32_t b = 0;  // request code
    std::string f;
    std::string x;
    std::string webname;
    std::string weburl;
    std::string qswebname;
    std::string qsweburl;
    std::string swname;
};

// The form that posts to the maker's update address. Text values are written as HTML attribute
// text, so the browser posts them exactly as given, quotes and ampersands included.
std::string FillUpdateForm(const UpdateFormValues& values);

}  // namespace quillmere
