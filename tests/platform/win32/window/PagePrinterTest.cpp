// The print request: the control is asked to print with its dialog, given a blank header and
// footer and an empty header document, and the argument is released once it is no longer needed.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/window/PagePrinter.h"

namespace quillmere::test {
namespace {

// What the control's command target saw of one request; read during the call, as the control
// would.
struct SeenRequest {
    int calls = 0;
    OLECMDID command{};
    OLECMDEXECOPT option{};
    VARTYPE argumentType = VT_EMPTY;
    LONG lower = -1, upper = -1;
    UINT dimensions = 0;
    VARTYPE elementTypes[3] = {};
    std::wstring header, footer;
    std::string headerDocument;
    IStream* stream = nullptr;  // one reference of the test's own
};

std::string ReadAll(IStream* stream) {
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    std::string bytes(static_cast<std::size_t>(stat.cbSize.QuadPart), '\0');
    ULONG read = 0;
    stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
    bytes.resize(read);
    return bytes;
}

PagePrinter::ExecWb Recorder(SeenRequest& seen) {
    return [&seen](OLECMDID command, OLECMDEXECOPT option, VARIANT* in) -> HRESULT {
        ++seen.calls;
        seen.command = command;
        seen.option = option;
        seen.argumentType = in->vt;
        SAFEARRAY* array = *in->pparray;
        seen.dimensions = SafeArrayGetDim(array);
        SafeArrayGetLBound(array, 1, &seen.lower);
        SafeArrayGetUBound(array, 1, &seen.upper);
        for (LONG index = 0; index < 3; ++index) {
            VARIANT element;
            VariantInit(&element);
            SafeArrayGetElement(array, &index, &element);
            seen.elementTypes[index] = element.vt;
            if (element.vt == VT_BSTR) {
                (index == kPrintHeaderIndex ? seen.header : seen.footer) = element.bstrVal;
            } else if (element.vt == VT_UNKNOWN && element.punkVal) {
                // The control reads the document from where the stream stands.
                element.punkVal->QueryInterface(IID_PPV_ARGS(&seen.stream));
                seen.headerDocument = ReadAll(seen.stream);
            }
            VariantClear(&element);
        }
        return E_UNEXPECTED;  // what the control under Wine answers
    };
}

TEST(PagePrinterTest, AsksForThePrintDialogWithBlankHeaderFooterAndEmptyHeaderDocument) {
    SeenRequest seen;
    {
        PagePrinter printer;
        printer.Print(Recorder(seen));
        ASSERT_EQ(seen.calls, 1);
        EXPECT_EQ(seen.command, OLECMDID_PRINT);
        EXPECT_EQ(seen.option, OLECMDEXECOPT_PROMPTUSER);
        EXPECT_EQ(seen.argumentType, VT_ARRAY | VT_BYREF);
        EXPECT_EQ(seen.dimensions, 1u);
        EXPECT_EQ(seen.lower, 0);
        EXPECT_EQ(seen.upper, 2);
        EXPECT_EQ(seen.elementTypes[kPrintHeaderIndex], VT_BSTR);
        EXPECT_EQ(seen.elementTypes[kPrintFooterIndex], VT_BSTR);
        EXPECT_EQ(seen.elementTypes[kPrintHeaderDocumentIndex], VT_UNKNOWN);
        EXPECT_EQ(seen.header, L"  ");
        EXPECT_EQ(seen.footer, L"  ");
        EXPECT_EQ(seen.headerDocument, "<html><body></body></html>");
        ASSERT_NE(seen.stream, nullptr);
        // The printer still holds the argument after the request: the control may read it later.
        seen.stream->AddRef();
        EXPECT_GT(seen.stream->Release(), 1u);
    }
    // The printer has gone, and with it its hold on the stream.
    EXPECT_EQ(seen.stream->Release(), 0u);
}

TEST(PagePrinterTest, PrintingAgainReleasesTheEarlierArgumentAndAsksTheSameWay) {
    PagePrinter printer;
    SeenRequest first, second;
    printer.Print(Recorder(first));
    printer.Print(Recorder(second));
    ASSERT_NE(first.stream, nullptr);
    ASSERT_NE(second.stream, nullptr);
    EXPECT_EQ(first.stream->Release(), 0u);
    EXPECT_EQ(second.calls, 1);
    EXPECT_EQ(second.headerDocument, first.headerDocument);
    EXPECT_EQ(second.header, L"  ");
    second.stream->Release();
}

}  // namespace
}  // namespace quillmere::test
