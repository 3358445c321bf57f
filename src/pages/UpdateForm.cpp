#include "pages/UpdateForm.h"

#include <string_view>

#include "package/HtmlEscape.h"
#include "records/SiteAddresses.h"

namespace quillmere {

namespace {

// The form's values go between single quotes.
std::string AttributeText(std::string_view value) {
    return EscapeForHtmlAttribute(value, AttributeQuotes::Single);
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
