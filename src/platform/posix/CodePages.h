#pragma once

#include <string_view>

namespace quillmere {

inline constexpr unsigned kCodePageUtf8 = 65001;
inline constexpr unsigned kCodePageWestern = 1252;

// The Windows code page that stands for a locale's character set (nl_langinfo(CODESET)).
//
//   UTF-8                                        65001
//   Shift_JIS, SJIS, CP932, Windows-31J          932    double-byte
//   GBK, GB2312, GB18030, CP936, EUC-CN          936    double-byte
//   EUC-KR, CP949, UHC                           949    double-byte
//   Big5, Big5-HKSCS, CP950                      950    double-byte
//   EUC-JP                                       51932
//   CP1250 ... CP1258 (or windows-1250 ...)      1250 ... 1258
//   ISO-8859-2 ... ISO-8859-16 (not -1)          28592 ... 28606
//   KOI8-R, KOI8-U                               20866, 21866
//   TIS-620, windows-874                         874
//   ISO-8859-1, ANSI_X3.4-1968 (the C locale),   1252
//   and anything else
//
// Names compare without regard to letter case, '-' or '_'. Only the four double-byte pages have
// lead bytes; every other page reads each byte as one character, as 1252 does.
unsigned CodePageForCharset(std::string_view charset);

// The character set name a web view understands for a code page ("windows-1252" for any page it
// does not know).
const char* CharsetNameForCodePage(unsigned codePage);

}  // namespace quillmere
