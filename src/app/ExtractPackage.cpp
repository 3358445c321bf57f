#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "app/PackageDirectoryCheck.h"
#include "app/QuillmereApp.h"
#include "package/BlowfishCipher.h"
#include "package/FileHelpers.h"
#include "package/PackageKey.h"
#include "package/ParallelDecipher.h"
#include "package/PathHelpers.h"
#include "package/PlainFileName.h"
#include "pages/AdvertStore.h"
#include "pages/RewritePage.h"

namespace quillmere {

namespace {

constexpr const char* kAdvertImageName = "advertimg.jpg";

void ShowStop(AppContext& ctx, const char* text) {
    ctx.platform.dialogs.ShowMessageBox(text, ctx.appName, kStopBox);
}

void DecipherPackage(std::uint8_t* package, std::uint32_t size) {
    const std::string key = BuildPackageKey();
    CBlowfishCipher cipher(key.c_str());
    // Only whole blocks: a trailing partial block cannot have come from the builder.
    const std::uint32_t whole = size & ~std::uint32_t{7};
    DecryptInParallel(cipher, package, whole);
}

// Byte for byte, straight from the deciphered image.
bool WriteRawFile(FileSystem& files, const std::string& target, const std::uint8_t* data,
                  std::uint32_t size) {
    files.RemoveFile(target);
    auto out = files.CreateForWriting(target, FileKind::Document);
    if (!out) return false;
    const bool written = out->Write(data, size);
    const bool closed = out->Close();
    return written && closed;
}

}  // namespace

bool CQuillmereApp::ExtractPackage() {
    if (!directory_.IsMerged()) {
        ShowStop(Context, "Stub not merged with any HTML/image files");
        return false;
    }
    if (directory_.FileCount() == 0) {
        ShowStop(Context, "There are no HTML/image files in the package");
        return false;
    }
    if (!SelfImage || !IsPackageDirectorySound(directory_, SelfImageSize)) {
        ShowStop(Context, "The ebook's package is damaged (software corrupted)");
        return false;
    }

    DecipherPackage(SelfImage.get() + directory_.PackageOffset(), directory_.PackageSize());

    PageRewriteContext rewrite{BrandingSettings, Context.platform.registry, AdvertImage,
                               Context.rules.leadBytes};
    const std::uint32_t count = directory_.FileCount();
    std::string text;  // one buffer for every page, as the rewriting keeps its own
    for (std::uint32_t i = 0; i < count; ++i) {
        const PackageEntry entry = directory_.Entry(i);
        const std::string ext = GetExtensionPart(entry.Name, Context.rules);
        const bool isPage = ext == ".htm" || ext == ".html";
        if (!isPage && ext == ".exe") continue;  // written when a page starts it

        // A name with a folder part, or none at all, would land outside the Workspace.
        if (!IsPlainFileName(entry.Name, Context.rules.leadBytes)) {
            ShowStop(Context, "Unable to create temp files needed");
            return false;
        }
        const std::string target = Workspace + entry.Name;
        const std::uint8_t* bytes = SelfImage.get() + entry.Offset;

        if (!isPage) {
            if (!WriteRawFile(Context.platform.files, target, bytes, entry.Size)) {
                ShowStop(Context, "Unable to create temp files needed");
                return false;
            }
            continue;
        }

        try {
            // A page ends at its first zero byte.
            const void* zero = std::memchr(bytes, 0, entry.Size);
            const std::size_t length =
                zero ? static_cast<const std::uint8_t*>(zero) - bytes : entry.Size;
            text.assign(reinterpret_cast<const char*>(bytes), length);
            RewritePage(text, rewrite);
        } catch (const std::bad_alloc&) {
            ShowStop(Context, "Insufficient memory");
            return false;
        }
        if (text.size() > UINT32_MAX) {
            ShowStop(Context, "Insufficient memory");
            return false;
        }
        if (!WriteWholeFile(Context, target, text.data(),
                            static_cast<std::uint32_t>(text.size()))) {
            return false;
        }
        if (entry.Name == "index.html" || entry.Name == "index.htm" || StartPage.empty()) {
            StartPage = target;
        }
    }

    if (AdvertImage.size > 0) {
        const std::uint32_t size = std::min(AdvertImage.size, kAdvertImageCapacity);
        if (!WriteWholeFile(Context, Workspace + kAdvertImageName, AdvertImage.bytes, size)) {
            return false;
        }
    }
    return true;
}

}  // namespace quillmere
