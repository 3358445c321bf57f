// Every navigation the control is about to make reaches the view first, in the ANSI code page;
// requests for new windows come as "_blank" and never open one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "WindowTestSupport.h"
#include "platform/win32/window/AnsiText.h"

namespace quillmere::test {
namespace {

// A character outside ASCII in the running code page: Shift-JIS 表 ends in the byte of '\'.
std::string NonAsciiText() {
    switch (GetACP()) {
        case 932:
            return "\x95\x5c";
        case 950:
            return "\xa5\x5c";
        default:
            return "\xe9";
    }
}

std::string LocationOf(Win32MainWindow& window) {
    BSTR location = nullptr;
    window.Browser().Control()->get_LocationURL(&location);
    std::string text = AnsiFromBstr(location);
    SysFreeString(location);
    return text;
}

// The arguments of NewWindow3, last first, as the control passes them.
struct NewWindowRequest {
    explicit NewWindowRequest(const std::string& url) {
        for (VARIANT& argument : arguments) VariantInit(&argument);
        arguments[0].vt = VT_BSTR;
        arguments[0].bstrVal = SysAllocString(WideFromAnsi(url).c_str());
        arguments[1].vt = VT_BSTR;
        arguments[1].bstrVal = SysAllocString(L"file:///Z:/book/index.htm");
        arguments[2].vt = VT_I4;
        arguments[2].lVal = 0x4;  // NWMF_USERINITED
        arguments[3].vt = VT_BYREF | VT_BOOL;
        arguments[3].pboolVal = &cancel;
        arguments[4].vt = VT_BYREF | VT_DISPATCH;
        arguments[4].ppdispVal = &newWindow;
    }
    ~NewWindowRequest() {
        VariantClear(&arguments[0]);
        VariantClear(&arguments[1]);
    }
    HRESULT RaiseOn(IDispatch* sink) {
        DISPPARAMS params{arguments, nullptr, 5, 0};
        return sink->Invoke(DISPID_NEWWINDOW3, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                            &params, nullptr, nullptr, nullptr);
    }

    VARIANT arguments[5];
    VARIANT_BOOL cancel = VARIANT_FALSE;
    IDispatch* newWindow = nullptr;
};

class NavigationTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(fixture.main);
        fixture.main->Show();
    }
    Win32MainWindow& window() { return fixture.window(); }

    RecordingEvents events;
    WindowFixture fixture{events};
};

TEST_F(NavigationTest, LocalPagesAndAddressesReachTheViewInTheAnsiCodePage) {
    // Runs made for a code page say which, so a locale that did not take fails here.
    if (const char* expected = std::getenv("QUILLMERE_EXPECT_ACP")) {
        ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected)));
    }
    const std::string text = NonAsciiText();
    const std::string targets[] = {
        "Z:\\tmp\\book" + text + "\\index.htm",
        "http://example.com/page" + text + ".htm",
    };
    for (const std::string& target : targets) {
        events.navigations.clear();
        fixture.main->Navigate(target);
        PumpMessages();
        ASSERT_EQ(events.navigations.size(), 1u) << target;
        EXPECT_EQ(events.navigations[0].url, target);
        EXPECT_EQ(events.navigations[0].targetFrame, "");
    }
}

TEST_F(NavigationTest, CancelStopsTheNavigationAndLettingItGoBrowsesIt) {
    events.cancelAll = true;
    fixture.main->Navigate("http://example.com/stopped");
    PumpMessages();
    ASSERT_EQ(events.navigations.size(), 1u);
    EXPECT_EQ(LocationOf(window()), "");

    events.cancelAll = false;
    fixture.main->Navigate("http://example.com/allowed");
    PumpMessages();
    EXPECT_EQ(LocationOf(window()), "http://example.com/allowed");
}

TEST_F(NavigationTest, NewWindowIsReportedAsBlankAndAlwaysCancelled) {
    struct Case {
        bool routingCancels;
        const char* location;
    } cases[] = {
        {true, ""},                                // handed elsewhere: nothing browsed here
        {false, "http://example.com/new-window"},  // let through: browsed in the one window
    };
    for (const Case& c : cases) {
        events.navigations.clear();
        events.cancelAll = c.routingCancels;
        NewWindowRequest request("http://example.com/new-window");
        EXPECT_EQ(request.RaiseOn(window().Browser().EventSink()), S_OK);
        PumpMessages();
        EXPECT_EQ(request.cancel, VARIANT_TRUE);
        EXPECT_EQ(request.newWindow, nullptr);
        // Reported once, including when it comes back as this control's own navigation.
        ASSERT_EQ(events.navigations.size(), 1u);
        EXPECT_EQ(events.navigations[0].url, "http://example.com/new-window");
        EXPECT_EQ(events.navigations[0].targetFrame, "_blank");
        EXPECT_EQ(LocationOf(window()), c.location);
    }
}

TEST_F(NavigationTest, MalformedEventArgumentsAreRefusedWithoutReport) {
    VARIANT arguments[2];
    VariantInit(&arguments[0]);
    VariantInit(&arguments[1]);
    DISPPARAMS params{arguments, nullptr, 2, 0};
    for (const DISPID id : {DISPID_BEFORENAVIGATE2, DISPID_NEWWINDOW3}) {
        EXPECT_EQ(window().Browser().EventSink()->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params,
                                                         nullptr, nullptr, nullptr),
                  E_INVALIDARG);
    }
    EXPECT_TRUE(events.navigations.empty());
}

class FailingRouting : public ViewEvents {
  public:
    void OnBeforeNavigate2(const std::string&, const std::string&, bool&) override {
        throw std::bad_alloc();
    }
    void OnCommand(int) override {}
    void OnDownloadRefused() override {}
};

TEST(NavigationFailureTest, NavigationWhoseRoutingFailsIsNotBrowsed) {
    FailingRouting events;
    WindowFixture fixture(events);
    ASSERT_TRUE(fixture.main);
    fixture.main->Navigate("http://example.com/unrouted");
    PumpMessages();
    NewWindowRequest request("http://example.com/unrouted-window");
    EXPECT_EQ(request.RaiseOn(fixture.window().Browser().EventSink()), S_OK);
    EXPECT_EQ(request.cancel, VARIANT_TRUE);
    EXPECT_EQ(LocationOf(fixture.window()), "");
}

}  // namespace
}  // namespace quillmere::test
