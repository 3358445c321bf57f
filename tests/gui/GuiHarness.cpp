#include "gui/GuiHarness.h"

#include <gdk/gdkx.h>

#include <algorithm>

namespace quillmere::testing {

namespace {

gboolean Wake(gpointer) { return G_SOURCE_CONTINUE; }

gboolean OnMapped(GtkWidget*, GdkEvent*, gpointer flag) {
    *static_cast<bool*>(flag) = true;
    return FALSE;
}

}  // namespace

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    // A steady tick so that a blocking iteration comes back to look at the condition.
    const guint tick = g_timeout_add(10, Wake, nullptr);
    while (!done() && std::chrono::steady_clock::now() < end) {
        g_main_context_iteration(nullptr, TRUE);
    }
    g_source_remove(tick);
    return done();
}

void PumpFor(std::chrono::milliseconds duration) {
    PumpUntil([] { return false; }, duration);
}

GtkServices* SharedServices() {
    static FakeSystem system;
    static std::unique_ptr<GtkServices> services = [] {
        // xdotool speaks X11.
        g_setenv("GDK_BACKEND", "x11", FALSE);
        return GtkServices::Start(system);
    }();
    return services.get();
}

void RecordingEvents::OnBeforeNavigate2(const std::string& url, const std::string& targetFrame,
                                        bool& cancel) {
    navigations.push_back({url, targetFrame});
    if (cancelIf(url)) cancel = true;
}

int RecordingEvents::Count(const std::string& url) const {
    return static_cast<int>(std::count_if(navigations.begin(), navigations.end(),
                                          [&](const Navigation& n) { return n.url == url; }));
}

namespace {

struct ScriptResult {
    bool done = false;
    std::string value;
};

void OnScriptDone(GObject* source, GAsyncResult* result, gpointer data) {
    // Owns one reference to the result, so a test that gave up waiting leaves nothing dangling.
    auto* owner = static_cast<std::shared_ptr<ScriptResult>*>(data);
    JSCValue* value =
        webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, nullptr);
    if (value != nullptr) {
        gchar* text = jsc_value_to_string(value);
        (*owner)->value = text ? text : "";
        g_free(text);
        g_object_unref(value);
    }
    (*owner)->done = true;
    delete owner;
}

}  // namespace

std::string RunScript(WebKitWebView* view, const std::string& script) {
    auto result = std::make_shared<ScriptResult>();
    webkit_web_view_evaluate_javascript(view, script.c_str(), -1, nullptr, nullptr, nullptr,
                                        OnScriptDone, new std::shared_ptr<ScriptResult>(result));
    PumpUntil([&] { return result->done; });
    return result->value;
}

std::string FileUri(const std::string& path) {
    gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    std::string out = uri ? uri : "";
    g_free(uri);
    return out;
}

std::optional<std::string> RunTool(const std::vector<std::string>& argv) {
    std::vector<gchar*> args;
    for (const auto& a : argv) args.push_back(const_cast<gchar*>(a.c_str()));
    args.push_back(nullptr);
    gchar* out = nullptr;
    gint status = 0;
    const gboolean ran = g_spawn_sync(nullptr, args.data(), nullptr, G_SPAWN_SEARCH_PATH, nullptr,
                                      nullptr, &out, nullptr, &status, nullptr);
    std::string text = out ? out : "";
    g_free(out);
    if (!ran || !g_spawn_check_wait_status(status, nullptr)) return std::nullopt;
    return text;
}

std::string WindowId(GtkWindow* window) {
    GdkWindow* gdkWindow = gtk_widget_get_window(GTK_WIDGET(window));
    return gdkWindow ? std::to_string(gdk_x11_window_get_xid(gdkWindow)) : "";
}

bool IsOnScreen(GtkWindow* window) {
    if (!gtk_widget_get_mapped(GTK_WIDGET(window))) return false;
    // With no window manager the server maps a window as soon as it reads the request; once the
    // round trip is over, it has.
    gdk_display_sync(gtk_widget_get_display(GTK_WIDGET(window)));
    return true;
}

void ScreenCentre(GtkWidget* widget, int& x, int& y) {
    GtkWidget* top = gtk_widget_get_toplevel(widget);
    int inTopX = 0;
    int inTopY = 0;
    GtkAllocation box;
    gtk_widget_get_allocation(widget, &box);
    gtk_widget_translate_coordinates(widget, top, box.width / 2, box.height / 2, &inTopX, &inTopY);
    int originX = 0;
    int originY = 0;
    gdk_window_get_origin(gtk_widget_get_window(top), &originX, &originY);
    x = originX + inTopX;
    y = originY + inTopY;
}

void MaybeScreenshot(const std::string& name) {
    const char* folder = g_getenv("QUILLMERE_SCREENSHOT_DIR");
    if (folder == nullptr || *folder == '\0') return;
    // Let windows and pages finish drawing first.
    PumpFor(5000ms);
    gdk_display_sync(gdk_display_get_default());
    RunTool({"import", "-window", "root", std::string(folder) + "/" + name + ".png"});
}

ScriptedReader::ScriptedReader(std::string typeName, std::string name, WindowAction look,
                               WindowAction answer)
    : typeName_(std::move(typeName)),
      name_(std::move(name)),
      look_(std::move(look)),
      answer_(std::move(answer)) {
    poll_ = g_timeout_add(50, Poll, this);
    giveUp_ = g_timeout_add_seconds(60, GiveUp, this);
}

ScriptedReader::~ScriptedReader() {
    if (poll_ != 0) g_source_remove(poll_);
    if (giveUp_ != 0) g_source_remove(giveUp_);
}

GtkWindow* ScriptedReader::Shown() const {
    GtkWindow* found = nullptr;
    GList* windows = gtk_window_list_toplevels();
    for (GList* w = windows; w != nullptr; w = w->next) {
        if (typeName_ == G_OBJECT_TYPE_NAME(w->data) && IsOnScreen(GTK_WINDOW(w->data))) {
            found = GTK_WINDOW(w->data);
        }
    }
    g_list_free(windows);
    return found;
}

gboolean ScriptedReader::Poll(gpointer self) {
    auto* reader = static_cast<ScriptedReader*>(self);
    GtkWindow* dialog = reader->Shown();
    if (dialog == nullptr) return G_SOURCE_CONTINUE;
    reader->poll_ = 0;
    reader->found_ = true;
    reader->look_(dialog);
    MaybeScreenshot(reader->name_);
    reader->answer_(dialog);
    return G_SOURCE_REMOVE;
}

gboolean ScriptedReader::GiveUp(gpointer self) {
    auto* reader = static_cast<ScriptedReader*>(self);
    reader->giveUp_ = 0;
    if (GtkWindow* dialog = reader->Shown()) gtk_window_close(dialog);
    return G_SOURCE_REMOVE;
}

WindowAction PressKey(const std::string& key) {
    return [key](GtkWindow* dialog) {
        RunTool({"xdotool", "windowfocus", "--sync", WindowId(dialog), "key", key});
    };
}

WindowAction ClickButton(int response) {
    return [response](GtkWindow* dialog) {
        GtkWidget* button = gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), response);
        if (button == nullptr) return;
        int x = 0;
        int y = 0;
        ScreenCentre(button, x, y);
        RunTool(
            {"xdotool", "mousemove", "--sync", std::to_string(x), std::to_string(y), "click", "1"});
    };
}

void CloseDialog(GtkWindow* dialog) { gtk_window_close(dialog); }

void WindowTest::SetUp() {
    GtkServices* services = SharedServices();
    if (services == nullptr) GTEST_SKIP() << "no display";
    window = services->windowing().CreateMainWindow(
        {"Quillmere", "Print Instructions", kCommandPrint}, events);
    ASSERT_NE(window, nullptr);
    gtk = static_cast<GtkMainWindow*>(window.get());
    // Mapped on the X server, not only asked to be: xdotool cannot focus it before.
    g_signal_connect(gtk->Window(), "map-event", G_CALLBACK(OnMapped), &mapped_);
    window->Show();
    ASSERT_TRUE(PumpUntil([&] { return mapped_; }));
}

bool WindowTest::Open(const std::string& target, const std::string& title) {
    window->Navigate(target);
    return PumpUntil(
        [&] { return Title() == title && !webkit_web_view_is_loading(gtk->WebView()); });
}

std::string WindowTest::Title() const {
    const char* title = webkit_web_view_get_title(gtk->WebView());
    return title ? title : "";
}

std::string WindowTest::Uri() const {
    const char* uri = webkit_web_view_get_uri(gtk->WebView());
    return uri ? uri : "";
}

}  // namespace quillmere::testing
