#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/TIcon.h"
#include "platform/TrayApplication.h"
#include "store/StoreErrors.h"

namespace surftally {

// A picture for tests, told apart by its handle.
class FakeIconImage : public IconImage {
public:
    explicit FakeIconImage(std::uintptr_t handle) : handle_(handle) {}
    std::uintptr_t handle() const override { return handle_; }

private:
    std::uintptr_t handle_;
};

inline TIcon fakeIcon(std::uintptr_t handle) {
    return TIcon(std::make_shared<FakeIconImage>(handle));
}

// An application object for tests: its window's visibility, the ShowWindow calls it got and
// the minimise and restore hooks it holds.
class FakeTrayApplication : public TrayApplication {
public:
    const TIcon& Icon() const override { return icon; }
    std::string Title() const override { return title; }
    bool IsWindowVisible() const override { return windowVisible; }
    void ShowWindow(bool restore) override {
        showCalls.push_back(restore);
        windowVisible = restore;
    }
    void setOnMinimize(std::function<void()> handler) override { onMinimize = std::move(handler); }
    void setOnRestore(std::function<void()> handler) override { onRestore = std::move(handler); }

    void minimize() {
        if (onMinimize) {
            onMinimize();
        }
    }
    void restore() {
        if (onRestore) {
            onRestore();
        }
    }

    // The program's icon loader: an existing file's picture becomes the icon, told apart by
    // the number of loads; a missing one raises the loader's failure.
    void load(const std::filesystem::path& file) {
        if (!std::filesystem::exists(file)) {
            throw StoreError("Cannot open file " + file.string());
        }
        loaded.push_back(file.filename().string());
        icon = fakeIcon(loaded.size());
    }

    TIcon icon = fakeIcon(0x11);
    std::string title = "Surftally";
    bool windowVisible = true;
    std::vector<bool> showCalls;
    std::vector<std::string> loaded;  // the files' names, in the order loaded
    std::function<void()> onMinimize;
    std::function<void()> onRestore;
};

}  // namespace surftally
