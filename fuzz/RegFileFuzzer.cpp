// The registry file as another program or a person may leave it, and one value written into it
// the way the viewer writes one. The input is zero-terminated fields: the ebook's title (the one
// part of the key path that comes from the book), the value name, the number, then the file's
// bytes to the end. After the edit the
// written value reads back and every other value reads as it did before.
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzInput.h"
#include "platform/posix/RegEncoding.h"
#include "platform/posix/RegFileEditor.h"
#include "platform/posix/RegFileParser.h"
#include "platform/posix/RegHive.h"
#include "platform/posix/RegNames.h"

namespace {

using namespace quillmere;

bool OnOneLine(const std::string& text) {
    return text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

RegHive HiveOf(const RegText& text) {
    return RegHive::FromDocument(ParseRegText(text.text), text.encoding);
}

std::string DwordData(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "dword:%08x", static_cast<unsigned>(value));
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Files without a byte-order mark are read in the locale's character set.
    std::setlocale(LC_ALL, "C.UTF-8");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::FuzzFields fields(data, size);
    const std::string subkey = "Software\\Tallowbrook\\" + fields.Next() + "\\LU";
    const std::string name = fields.Next();
    const std::uint32_t value = fuzzing::ParseNumber(fields.Next());
    const auto text = DecodeRegFile(fields.Rest());
    if (!text) return 0;
    const RegHive before = HiveOf(*text);

    // What the viewer refuses to write before it touches the file.
    if (!OnOneLine(subkey) || !OnOneLine(name)) return 0;
    const std::string keyPath = CurrentUserKeyPath(subkey);
    const auto folded = FoldRegKeyPath(keyPath);
    if (!folded) return 0;
    const auto keyText = AnsiToRegText(keyPath, text->encoding);
    const auto nameText = AnsiToRegText(name, text->encoding);
    if (!keyText || !nameText) return 0;

    RegDocument doc = ParseRegText(text->text);
    FUZZ_CHECK(SetRegValueLine(doc, *keyText, *nameText, DwordData(value)));
    const RegText edited{text->encoding, RenderRegLines(doc.lines)};
    const auto bytes = EncodeRegFile(edited);
    FUZZ_CHECK(bytes);
    const auto reread = DecodeRegFile(*bytes);
    FUZZ_CHECK(reread && reread->encoding == text->encoding);
    const RegHive after = HiveOf(*reread);

    const std::string foldedName = FoldRegName(name);
    const auto written = after.Keys().find(*folded);
    FUZZ_CHECK(written != after.Keys().end());
    const auto writtenValue = written->second.find(foldedName);
    FUZZ_CHECK(writtenValue != written->second.end());
    FUZZ_CHECK(writtenValue->second.type == 4);
    std::string expected;
    for (int i = 0; i < 4; ++i) expected.push_back(static_cast<char>(value >> (8 * i)));
    FUZZ_CHECK(writtenValue->second.data == expected);

    // Every other value as before, and nothing new but the written key's path.
    for (const auto& [path, values] : before.Keys()) {
        const auto now = after.Keys().find(path);
        FUZZ_CHECK(now != after.Keys().end());
        for (const auto& [valueName, old] : values) {
            if (path == *folded && valueName == foldedName) continue;
            const auto same = now->second.find(valueName);
            FUZZ_CHECK(same != now->second.end());
            FUZZ_CHECK(same->second.type == old.type && same->second.data == old.data);
        }
    }
    for (const auto& [path, values] : after.Keys()) {
        const auto old = before.Keys().find(path);
        if (old == before.Keys().end()) {
            FUZZ_CHECK(RegKeyIsWithin(*folded, path));
            FUZZ_CHECK(values.empty() || (path == *folded && values.size() == 1));
            continue;
        }
        for (const auto& [valueName, v] : values) {
            FUZZ_CHECK((path == *folded && valueName == foldedName) ||
                       old->second.count(valueName) == 1);
        }
    }
    return 0;
}
