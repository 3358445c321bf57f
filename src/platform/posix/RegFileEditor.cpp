#include "platform/posix/RegFileEditor.h"

#include <optional>
#include <string>

#include "platform/posix/RegNames.h"

namespace quillmere {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";

std::string LineEndingOf(const RegDocument& doc) {
    for (const auto& line : doc.lines) {
        if (!line.ending.empty()) return line.ending;
    }
    return "\n";
}

void EndLastLine(RegDocument& doc, std::size_t before, const std::string& ending) {
    if (before > 0 && doc.lines[before - 1].ending.empty()) doc.lines[before - 1].ending = ending;
}

}  // namespace

bool SetRegValueLine(RegDocument& doc, std::string_view keyPath, std::string_view name,
                     std::string_view dataText, const LeadBytes& lead) {
    auto target = FoldRegKeyPath(keyPath, lead);
    if (!target) return false;
    const std::string foldedName = FoldRegName(name, lead);
    const std::string ending = LineEndingOf(doc);
    const std::string valueLine =
        (name.empty() ? std::string("@") : QuoteRegName(name)) + "=" + std::string(dataText);

    const RegEntry* lastSection = nullptr;
    const RegEntry* lastContent = nullptr;  // last value or garbled line of lastSection
    const RegEntry* lastMention = nullptr;
    bool inTarget = false;
    bool hasHeader = false;
    for (const auto& entry : doc.entries) {
        switch (entry.kind) {
            case RegEntryKind::Section: {
                auto path = FoldRegKeyPath(entry.keyPath, lead);
                inTarget = false;
                if (!path) break;
                if (entry.deletes && RegKeyIsWithin(*target, *path)) {
                    lastSection = lastContent = lastMention = nullptr;
                } else if (!entry.deletes && *path == *target) {
                    inTarget = true;
                    lastSection = &entry;
                    lastContent = nullptr;
                }
                break;
            }
            case RegEntryKind::Value:
                if (!inTarget) break;
                lastContent = &entry;
                if (FoldRegName(entry.name, lead) == foldedName) lastMention = &entry;
                break;
            case RegEntryKind::Garbled:
                if (inTarget) lastContent = &entry;
                break;
            case RegEntryKind::Header:
                hasHeader = true;
                break;
            case RegEntryKind::Other:
                break;
        }
    }

    auto& lines = doc.lines;
    if (lastMention) {
        std::size_t first = lastMention->firstLine;
        std::string lineEnding = lines[lastMention->endLine - 1].ending;
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(first),
                    lines.begin() + static_cast<std::ptrdiff_t>(lastMention->endLine));
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(first), {valueLine, lineEnding});
    } else if (lastSection) {
        std::size_t at = lastContent ? lastContent->endLine : lastSection->endLine;
        EndLastLine(doc, at, ending);
        // A list cut short with a trailing backslash would swallow the new line; a blank line
        // ends it instead.
        if (at > 0 && ContinuesOnNextLine(lines[at - 1].text)) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at++), {"", ending});
        }
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), {valueLine, ending});
    } else {
        EndLastLine(doc, lines.size(), ending);
        if (!lines.empty() && !lines.back().text.empty()) lines.push_back({"", ending});
        lines.push_back({"[" + std::string(keyPath) + "]", ending});
        lines.push_back({valueLine, ending});
    }

    if (!hasHeader) {
        lines.insert(lines.begin(), {{std::string(kHeader), ending}, {"", ending}});
    }
    return true;
}

}  // namespace quillmere
