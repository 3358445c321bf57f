#include "pages/UpdateForm.h"

#include <string_view>

#include "pages/SiteAddresses.h"

namespace quillmere {

namespace {

// Entity-encodes the bytes that could end a single-quoted attribute or start markup. None of them
// is ever a trail byte of a double-byte code page, so a byte-wise pass is safe.
std::string AttributeText(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '\'':
                out += "&#39;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += c;
                break;
        }
    }
    return out;
}

void AddHiddenField(std::string& form, std::string_view name, std::string_view value) {
    form += "<input type=hidden NAME='";
    form += name;
    form += "' VALUE='";
    form += value;
    form += "'>";
}

}  // namespace

std::string FillUpdateForm(const UpdateFormValues& values) {
    std::string form = "<FORM target=_blank action='";
    form += UpdateFormAddress;
    form += "' METHOD=POST>";
    AddHiddenField(form, "m", std::to_string(values.m));
    AddHiddenField(form, "b", std::to_string(values.b));
    AddHiddenField(form, "f", AttributeText(values.f));
    AddHiddenField(form, "x", AttributeText(values.x));
    AddHiddenField(form, "webname", AttributeText(values.webname));
    AddHiddenField(form, "weburl", AttributeText(values.weburl));
    AddHiddenField(form, "qswebname", AttributeText(values.qswebname));
    AddHiddenField(form, "qsweburl", AttributeText(values.qsweburl));
    AddHiddenField(form, "swname", AttributeText(values.swname));
    form += "<INPUT TYPE=Submit Value='Click Here To Download The New Version'></FORM>";
    return form;
}

}  // namespace quillmere
