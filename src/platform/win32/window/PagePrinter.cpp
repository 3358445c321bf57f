#include "platform/win32/window/PagePrinter.h"

#include <cstring>

namespace quillmere {

namespace {

constexpr char kHeaderDocument[] = "<html><body></body></html>";
constexpr std::size_t kTextBufferSize = 512;

// Frees on every path out of building the argument.
struct PrintParts {
    VARIANT header{};
    VARIANT footer{};
    VARIANT headerDocument{};
    void* textBuffer = nullptr;
    HGLOBAL memory = nullptr;  // owned by `stream` once the stream exists
    IStream* stream = nullptr;

    PrintParts() {
        VariantInit(&header);
        VariantInit(&footer);
        VariantInit(&headerDocument);
    }
    ~PrintParts() {
        VariantClear(&header);
        VariantClear(&footer);
        VariantClear(&headerDocument);
        if (textBuffer) CoTaskMemFree(textBuffer);
        if (stream) {
            stream->Release();
        } else if (memory) {
            GlobalFree(memory);
        }
    }
};

bool SetBlank(VARIANT& variant) {
    variant.bstrVal = SysAllocString(L"  ");
    if (variant.bstrVal == nullptr) return false;
    variant.vt = VT_BSTR;
    return true;
}

}  // namespace

PagePrinter::~PagePrinter() { Release(); }

void PagePrinter::Release() {
    if (array_) SafeArrayDestroy(array_);  // clears each variant: strings freed, stream released
    array_ = nullptr;
    VariantInit(&argument_);
}

void PagePrinter::Print(const ExecWb& execWb) {
    Release();

    SAFEARRAYBOUND bound{3, 0};
    SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 1, &bound);
    if (array == nullptr) return;

    PrintParts parts;
    const std::size_t length = std::strlen(kHeaderDocument);
    bool made = SetBlank(parts.header) && SetBlank(parts.footer);
    if (made) parts.textBuffer = CoTaskMemAlloc(kTextBufferSize);
    made = made && parts.textBuffer != nullptr;
    if (made) {
        std::memcpy(parts.textBuffer, kHeaderDocument, length + 1);
        parts.memory = GlobalAlloc(GPTR, length);
        made = parts.memory != nullptr;
    }
    made = made && SUCCEEDED(CreateStreamOnHGlobal(parts.memory, TRUE, &parts.stream));
    if (!made) {
        SafeArrayDestroy(array);
        return;
    }

    ULONG written = 0;
    if (SUCCEEDED(parts.stream->Write(parts.textBuffer, static_cast<ULONG>(length), &written)) &&
        written == length) {
        LARGE_INTEGER start{};
        parts.stream->Seek(start, STREAM_SEEK_SET, nullptr);
        parts.headerDocument.vt = VT_UNKNOWN;
        parts.headerDocument.punkVal = parts.stream;
        parts.stream->AddRef();
    }

    // The array takes copies; `parts` lets go of the originals.
    LONG index = kPrintHeaderIndex;
    SafeArrayPutElement(array, &index, &parts.header);
    index = kPrintFooterIndex;
    SafeArrayPutElement(array, &index, &parts.footer);
    index = kPrintHeaderDocumentIndex;
    SafeArrayPutElement(array, &index, &parts.headerDocument);

    array_ = array;
    argument_.vt = VT_ARRAY | VT_BYREF;
    argument_.pparray = &array_;
    execWb(OLECMDID_PRINT, OLECMDEXECOPT_PROMPTUSER, &argument_);
}

}  // namespace quillmere
