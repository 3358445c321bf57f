#include "platform/posix/CodePages.h"

#include <array>
#include <cctype>
#include <string>

namespace quillmere {

namespace {

struct CodePageName {
    const char* key;  // charset name reduced by Reduce()
    unsigned codePage;
};

// Locale charset names, reduced, and the code page each stands for.
constexpr std::array kCharsets{
    CodePageName{"utf8", kCodePageUtf8},
    CodePageName{"shiftjis", 932},
    CodePageName{"sjis", 932},
    CodePageName{"cp932", 932},
    CodePageName{"windows31j", 932},
    CodePageName{"gbk", 936},
    CodePageName{"gb2312", 936},
    CodePageName{"gb18030", 936},
    CodePageName{"cp936", 936},
    CodePageName{"euccn", 936},
    CodePageName{"euckr", 949},
    CodePageName{"cp949", 949},
    CodePageName{"uhc", 949},
    CodePageName{"big5", 950},
    CodePageName{"big5hkscs", 950},
    CodePageName{"cp950", 950},
    CodePageName{"eucjp", 51932},
    CodePageName{"cp1250", 1250},
    CodePageName{"windows1250", 1250},
    CodePageName{"cp1251", 1251},
    CodePageName{"windows1251", 1251},
    CodePageName{"cp1252", 1252},
    CodePageName{"windows1252", 1252},
    CodePageName{"cp1253", 1253},
    CodePageName{"windows1253", 1253},
    CodePageName{"cp1254", 1254},
    CodePageName{"windows1254", 1254},
    CodePageName{"cp1255", 1255},
    CodePageName{"windows1255", 1255},
    CodePageName{"cp1256", 1256},
    CodePageName{"windows1256", 1256},
    CodePageName{"cp1257", 1257},
    CodePageName{"windows1257", 1257},
    CodePageName{"cp1258", 1258},
    CodePageName{"windows1258", 1258},
    CodePageName{"iso88592", 28592},
    CodePageName{"iso88593", 28593},
    CodePageName{"iso88594", 28594},
    CodePageName{"iso88595", 28595},
    CodePageName{"iso88596", 28596},
    CodePageName{"iso88597", 28597},
    CodePageName{"iso88598", 28598},
    CodePageName{"iso88599", 28599},
    CodePageName{"iso885910", 28600},
    CodePageName{"iso885911", 28601},
    CodePageName{"iso885913", 28603},
    CodePageName{"iso885914", 28604},
    CodePageName{"iso885915", 28605},
    CodePageName{"iso885916", 28606},
    CodePageName{"koi8r", 20866},
    CodePageName{"koi8u", 21866},
    CodePageName{"tis620", 874},
    CodePageName{"windows874", 874},
};

struct CharsetName {
    unsigned codePage;
    const char* name;
};

constexpr std::array kNames{
    CharsetName{kCodePageUtf8, "UTF-8"},
    CharsetName{932, "Shift_JIS"},
    CharsetName{936, "GBK"},
    CharsetName{949, "EUC-KR"},
    CharsetName{950, "Big5"},
    CharsetName{51932, "EUC-JP"},
    CharsetName{874, "windows-874"},
    CharsetName{1250, "windows-1250"},
    CharsetName{1251, "windows-1251"},
    CharsetName{1252, "windows-1252"},
    CharsetName{1253, "windows-1253"},
    CharsetName{1254, "windows-1254"},
    CharsetName{1255, "windows-1255"},
    CharsetName{1256, "windows-1256"},
    CharsetName{1257, "windows-1257"},
    CharsetName{1258, "windows-1258"},
    CharsetName{28592, "ISO-8859-2"},
    CharsetName{28593, "ISO-8859-3"},
    CharsetName{28594, "ISO-8859-4"},
    CharsetName{28595, "ISO-8859-5"},
    CharsetName{28596, "ISO-8859-6"},
    CharsetName{28597, "ISO-8859-7"},
    CharsetName{28598, "ISO-8859-8"},
    CharsetName{28599, "ISO-8859-9"},
    CharsetName{28600, "ISO-8859-10"},
    CharsetName{28601, "ISO-8859-11"},
    CharsetName{28603, "ISO-8859-13"},
    CharsetName{28604, "ISO-8859-14"},
    CharsetName{28605, "ISO-8859-15"},
    CharsetName{28606, "ISO-8859-16"},
    CharsetName{20866, "KOI8-R"},
    CharsetName{21866, "KOI8-U"},
};

// Lower case without '-' and '_', so "UTF-8", "utf8" and "Shift_JIS" meet their keys.
std::string Reduce(std::string_view name) {
    std::string reduced;
    for (char c : name) {
        if (c == '-' || c == '_') continue;
        reduced += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return reduced;
}

}  // namespace

unsigned CodePageForCharset(std::string_view charset) {
    const std::string key = Reduce(charset);
    for (const auto& entry : kCharsets) {
        if (key == entry.key) return entry.codePage;
    }
    return kCodePageWestern;
}

const char* CharsetNameForCodePage(unsigned codePage) {
    for (const auto& entry : kNames) {
        if (entry.codePage == codePage) return entry.name;
    }
    return "windows-1252";
}

}  // namespace quillmere
