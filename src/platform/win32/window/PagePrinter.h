#pragma once

#include <functional>

#include "platform/win32/window/Win32Headers.h"

namespace quillmere {

// Prints the current page with the print dialog, a blank header and footer and an empty header
// document. The control may read the argument after the request returns, so it is kept until the
// next request or until the printer goes.
class PagePrinter {
  public:
    // The control's ExecWB.
    using ExecWb = std::function<HRESULT(OLECMDID command, OLECMDEXECOPT option, VARIANT* in)>;

    PagePrinter() = default;
    ~PagePrinter();
    PagePrinter(const PagePrinter&) = delete;
    PagePrinter& operator=(const PagePrinter&) = delete;

    // Nothing is printed and nothing shown when the argument cannot be made.
    void Print(const ExecWb& execWb);

  private:
    void Release();

    SAFEARRAY* array_ = nullptr;
    VARIANT argument_{};
};

// Header, footer and header document, at these indexes of the argument's array.
inline constexpr LONG kPrintHeaderIndex = 0;
inline constexpr LONG kPrintFooterIndex = 1;
inline constexpr LONG kPrintHeaderDocumentIndex = 2;

}  // namespace quillmere
