#include "platform/posix/RegHive.h"

#include <optional>

#include "platform/posix/RegNames.h"

namespace quillmere {

namespace {

bool IsStringType(std::uint32_t type) { return type == 1 || type == 2 || type == 7; }

RegHiveValue ToQueryForm(const RegEntry& entry, RegEncoding encoding) {
    RegHiveValue value;
    value.type = entry.type;
    if (entry.quoted) {
        value.data = RegTextToAnsi(entry.data, encoding);
        value.data.push_back('\0');
    } else if (entry.version >= 5 && IsStringType(entry.type)) {
        // Version 5 files give string types in hex as the wide characters the registry keeps.
        value.data = RegUtf16ToAnsi(entry.data);
    } else {
        value.data = entry.data;
    }
    return value;
}

}  // namespace

RegHive RegHive::FromDocument(const RegDocument& doc, RegEncoding encoding) {
    RegHive hive;
    const LeadBytes lead = LocaleLeadBytes();
    RegHiveKey* current = nullptr;
    for (const auto& entry : doc.entries) {
        switch (entry.kind) {
            case RegEntryKind::Section: {
                current = nullptr;
                auto path = FoldRegKeyPath(RegTextToAnsi(entry.keyPath, encoding), lead);
                if (!path) break;
                if (entry.deletes) {
                    for (auto it = hive.keys_.lower_bound(*path); it != hive.keys_.end();) {
                        if (!it->first.starts_with(*path)) break;
                        it = RegKeyIsWithin(it->first, *path) ? hive.keys_.erase(it) : ++it;
                    }
                    break;
                }
                for (std::string& above : RegKeyAncestors(*path, lead)) {
                    hive.keys_.try_emplace(std::move(above));
                }
                current = &hive.keys_[*path];
                break;
            }
            case RegEntryKind::Value: {
                if (!current) break;
                std::string name = FoldRegName(RegTextToAnsi(entry.name, encoding), lead);
                if (entry.deletes) {
                    current->erase(name);
                } else {
                    (*current)[name] = ToQueryForm(entry, encoding);
                }
                break;
            }
            case RegEntryKind::Garbled:
            case RegEntryKind::Header:
            case RegEntryKind::Other:
                break;
        }
    }
    return hive;
}

const RegHiveKey* RegHive::FindKey(std::string_view path) const {
    auto folded = FoldRegKeyPath(path, LocaleLeadBytes());
    if (!folded) return nullptr;
    auto it = keys_.find(*folded);
    return it == keys_.end() ? nullptr : &it->second;
}

}  // namespace quillmere
