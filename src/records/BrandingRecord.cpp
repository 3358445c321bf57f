#include "records/BrandingRecord.h"

#include <cstring>

#include "records/LittleEndian.h"
#include "records/RecordFields.h"
#include "records/RecordText.h"
#include "records/SiteAddresses.h"

namespace quillmere {

namespace {

constexpr std::int32_t kClubResellerId = 100001;
constexpr std::int32_t kClubUpdateCodeSeed = 306417;

BrandingValues DefaultBranding() {
    BrandingValues values;
    values.ResellerId = kClubResellerId;
    values.UpdateCodeSeed = kClubUpdateCodeSeed;
    values.HideBonusSections = 0;
    values.ResellerName = kClubName;
    values.ResellerSite = ClubSiteAddress;
    return values;
}

std::int32_t ReadInt32(const std::uint8_t* bytes) {
    return static_cast<std::int32_t>(ReadLe32(bytes));
}

// The fallback title counts only once a builder has replaced the "12345..." it is built with.
std::string FallbackTitle(const std::uint8_t* record) {
    std::string text = ReadFieldText(record + kFallbackTitleOffset, kFallbackTitleWidth);
    if (text.compare(0, std::strlen(kUnfilledTitleMark), kUnfilledTitleMark) == 0) return {};
    return text;
}

}  // namespace

bool LoadBrandingSettings(const std::uint8_t* record, BrandingValues& settings, AppContext& ctx) {
    if (ReadLe32(record + kDefaultsFlagOffset) != 0) {
        settings = DefaultBranding();
        return true;
    }
    if (!VerifyRecordChecksum(record + kChecksummedAreaOffset)) {
        ctx.platform.dialogs.ShowMessageBox("Branding check failure (software corrupted)",
                                            ctx.appName, kStopBox);
        ctx.platform.lifetime.EndProcess(1);
    }

    BrandingValues values;
    values.ResellerId = ReadInt32(record + kResellerIdOffset);
    values.UpdateCodeSeed = ReadInt32(record + kUpdateCodeSeedOffset);
    if (values.ResellerId == 0 && values.UpdateCodeSeed == 0) {
        values.ResellerId = kClubResellerId;
        values.UpdateCodeSeed = kClubUpdateCodeSeed;
    }
    values.HideBonusSections = ReadInt32(record + kHideBonusSectionsOffset);
    values.ResellerName = ReadFieldText(record + kResellerNameOffset, kResellerTextWidth);
    values.ResellerSite = ReadFieldText(record + kResellerSiteOffset, kResellerTextWidth);
    values.ResellerUrl = ReadFieldText(record + kResellerUrlOffset, kResellerTextWidth);
    values.EbookTitle = ReadFieldText(record + kEbookTitleOffset, kEbookTitleWidth);
    values.EbookDescription =
        ReadFieldText(record + kEbookDescriptionOffset, kEbookDescriptionWidth);
    if (values.EbookTitle.empty()) values.EbookTitle = FallbackTitle(record);
    settings = std::move(values);
    return true;
}

bool VerifyRecordChecksum(const std::uint8_t* area) {
    const std::uint32_t stored = ReadLe32(area + kChecksummedByteCount);
    return WordChecksum(area) == stored || ByteChecksum(area) == stored;
}

std::uint32_t WordChecksum(const std::uint8_t* area) {
    std::uint32_t a = 432787155u;
    for (std::uint32_t i = 0; i < kChecksummedWordCount; ++i) {
        a += (i + 17u) * ReadLe32(area + std::size_t{4} * i);
    }
    return (a / 9717u) * 8123u + (a % 9717u) * 51u + 289397u;
}

std::uint32_t ByteChecksum(const std::uint8_t* area) {
    std::uint32_t b = 43278715u;
    for (std::uint32_t j = 0; j < kChecksummedByteCount; ++j) {
        b += (j + 117u) * static_cast<std::uint32_t>(area[j]);
    }
    return b;
}

}  // namespace quillmere
