#include "package/PackageKey.h"

namespace quillmere {

namespace {

// Kept apart and shuffled back together at run time, so the key never appears whole in the stub.
// Every book ever built depends on these exact bytes: changing one makes old books unreadable.
constexpr char kKeyPiece1[] = "{FG>',J7eQ5x@i2!TeelL'A,.q";
constexpr char kKeyPiece2[] = "AHM)6n={m9D~3oq}KShh9p^89lkQCk~M&x3";
constexpr char kKeyPiece3[] = ",Ra}KAu3ky1i1qoK-s8`_sfq)]y{9<z^";
constexpr char kKeyPiece4[] = "3e6sYLM0;D[rBxB-AwZ&+[Z1`prtD,e49%G+&";
constexpr char kKeyPiece5[] = "N3JWCov4Kl!Z2ie5O_M9lmc}E:wn>G!LO{fo";
constexpr char kKeyPiece6[] =
    "f;J-2^aAW4Ajiu+`TS!^A)x-;1it]|PH-TQ8eM!KoiMxIUf@bV@IjUeHBP[DYlqA}GC)%RoXMX/2A&";

static_assert(sizeof kKeyPiece1 - 1 == 26 && sizeof kKeyPiece2 - 1 == 35 &&
              sizeof kKeyPiece3 - 1 == 32 && sizeof kKeyPiece4 - 1 == 37 &&
              sizeof kKeyPiece5 - 1 == 36 && sizeof kKeyPiece6 - 1 == 78);

}  // namespace

std::string AssemblePackageKey(const std::array<std::string_view, 6>& pieces) {
    std::string first(pieces[0]);
    std::string second(pieces[1]);
    first += pieces[2];
    second += pieces[3];
    first += pieces[4];
    second += pieces[5];
    std::string key = first + second;
    for (std::size_t i = 0; i < key.size(); ++i) {
        key[i] = static_cast<char>(static_cast<unsigned char>(key[i]) + i % 17);
    }
    return key;
}

std::string BuildPackageKey() {
    return AssemblePackageKey(
        {kKeyPiece1, kKeyPiece2, kKeyPiece3, kKeyPiece4, kKeyPiece5, kKeyPiece6});
}

}  // namespace quillmere
