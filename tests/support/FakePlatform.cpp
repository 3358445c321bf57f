#include "support/FakePlatform.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace quillmere::testing {

MessageBoxAnswer FakeDialogs::ShowMessageBox(std::string_view text, std::string_view caption,
                                             MessageBoxStyle style) {
    shown.push_back({std::string(text), std::string(caption), style});
    if (whileShown) whileShown();
    if (!answers.empty()) {
        MessageBoxAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return style.buttons == MessageBoxButtons::YesNo ? MessageBoxAnswer::No : MessageBoxAnswer::Ok;
}

void FakeLifetime::EndProcess(int exitCode) {
    endedWith = exitCode;
    throw ProcessEnded(exitCode);
}

void FakeLifetime::Stop() {
    if (!stopHandler) EndProcess(128 + 15);  // SIGTERM's default
    stopHandler();
    throw std::logic_error("the stop handler returned");
}

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

class MemoryKey : public RegistryKey {
  public:
    explicit MemoryKey(const std::map<std::string, MemoryRegistry::Value>& values)
        : values_(values) {}

    RegistryStatus QueryValue(std::string_view name, RegistryValueType& type, void* data,
                              std::uint32_t& size) override {
        auto it = values_.find(Lower(name));
        if (it == values_.end()) return kRegistryNotFound;
        type = it->second.type;
        const auto& bytes = it->second.data;
        std::uint32_t capacity = size;
        size = static_cast<std::uint32_t>(bytes.size());
        if (data == nullptr) return kRegistrySuccess;  // a query for the size alone
        if (bytes.size() > capacity) return kRegistryMoreData;
        if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
        return kRegistrySuccess;
    }

  private:
    std::map<std::string, MemoryRegistry::Value> values_;
};

}  // namespace

std::unique_ptr<RegistryKey> MemoryRegistry::OpenKeyForQuery(std::string_view subkey) {
    auto it = keys.find(Lower(subkey));
    if (it == keys.end()) return nullptr;
    return std::make_unique<MemoryKey>(it->second);
}

bool MemoryRegistry::WriteDword(std::string_view subkey, std::string_view name,
                                std::uint32_t value) {
    if (failWrites) return false;
    SetDword(subkey, name, value);
    return true;
}

void MemoryRegistry::Set(std::string_view subkey, std::string_view name, RegistryValueType type,
                         std::vector<std::uint8_t> data) {
    keys[Lower(subkey)][Lower(name)] = Value{type, std::move(data)};
}

void MemoryRegistry::SetString(std::string_view subkey, std::string_view name,
                               std::string_view text) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    Set(subkey, name, RegistryValueType::String, std::move(data));
}

void MemoryRegistry::SetDword(std::string_view subkey, std::string_view name, std::uint32_t value) {
    std::vector<std::uint8_t> data(4);
    for (int i = 0; i < 4; ++i) data[i] = static_cast<std::uint8_t>(value >> (8 * i));
    Set(subkey, name, RegistryValueType::Dword, std::move(data));
}

class FakeMainWindow : public MainWindow {
  public:
    explicit FakeMainWindow(FakeWindowing& owner) : owner_(owner) { owner_.windowAlive = true; }
    ~FakeMainWindow() override {
        owner_.log.push_back("destroy");
        owner_.windowAlive = false;
        owner_.events = nullptr;
    }
    bool GetShowState(ShowState& state) override {
        state = state_;
        return true;
    }
    void SetShowState(ShowState state) override {
        state_ = state;
        owner_.log.push_back("showstate:" + std::to_string(static_cast<int>(state)));
    }
    void Show() override { owner_.log.push_back("show"); }
    void Update() override { owner_.log.push_back("update"); }
    void SetCaption(const std::string& caption) override {
        owner_.log.push_back("caption:" + caption);
    }
    void BringToForeground() override { owner_.log.push_back("foreground"); }
    void Navigate(const std::string& target) override {
        owner_.log.push_back("navigate:" + target);
    }
    void GoBack() override { owner_.log.push_back("back"); }
    void GoForward() override { owner_.log.push_back("forward"); }
    void PrintCurrentPage() override { owner_.log.push_back("print"); }
    void ShowOwnPage(const std::string& html) override {
        owner_.log.push_back("own-page");
        owner_.ownPages.push_back(html);
    }
    void SetZoom(int percent) override { owner_.log.push_back("zoom:" + std::to_string(percent)); }

  private:
    FakeWindowing& owner_;
    ShowState state_ = owner_.initialShowState;
};

std::unique_ptr<MainWindow> FakeWindowing::CreateMainWindow(const FrameDescription& frameIn,
                                                            ViewEvents& viewEvents) {
    if (failCreate) return nullptr;
    frame = frameIn;
    events = &viewEvents;
    log.push_back("create");
    return std::make_unique<FakeMainWindow>(*this);
}

}  // namespace quillmere::testing
