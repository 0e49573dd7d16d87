#pragma once

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "forms/TControl.h"
#include "forms/TForm.h"
#include "forms/TPaintBox.h"
#include "forms/TTimer.h"
#include "forms/Toolkit.h"

namespace surftally {

// A toolkit without a window system: it records what the controls tell it; tests give input
// through the controls' user...() calls, as a toolkit does.
class FakeToolkit final : public Toolkit {
public:
    struct Counts {
        int topmost = 0;
        int activated = 0;
        int focusTaken = 0;
        std::map<Property, int> changes;
        std::string topmostFailure;  // when set, the window refuses to come on top with it
    };

    class Peer final : public WindowPeer {
    public:
        explicit Peer(Counts& counts) : counts_(counts) {}
        void changed(Property property) override { ++counts_.changes[property]; }
        void takeFocus() override { ++counts_.focusTaken; }
        void makeTopmost() override {
            ++counts_.topmost;
            if (!counts_.topmostFailure.empty()) {
                throw std::runtime_error(counts_.topmostFailure);
            }
        }
        void activate() override { ++counts_.activated; }

    private:
        Counts& counts_;
    };

    // A paint box's peer paints at the kit's scale whenever the picture or the size changes.
    class PaintPeer final : public ControlPeer {
    public:
        PaintPeer(FakeToolkit& kit, TPaintBox& box) : kit_(kit), box_(box) {}
        void changed(Property property) override {
            ++kit_.counts[box_.Name()].changes[property];
            if (property == Property::Picture || property == Property::Bounds) {
                const double k = kit_.scale;
                kit_.painted[box_.Name()] = box_.Paint(
                    {static_cast<int>(box_.Width() * k), static_cast<int>(box_.Height() * k)}, k);
            }
        }

    private:
        FakeToolkit& kit_;
        TPaintBox& box_;
    };

    class Timer final : public TimerPeer {
    public:
        explicit Timer(int& running) : running_(running) {}
        void start(int intervalMs) override { running_ = intervalMs; }
        void stop() override { running_ = 0; }

    private:
        int& running_;
    };

    class Box final : public MessageBoxPeer {
    public:
        Box(FakeToolkit& kit, std::function<void()> closed)
            : kit_(kit), closed_(std::move(closed)) {}
        void show(const std::string& title, const std::string& text) override {
            kit_.boxTitle = title;
            kit_.boxText = text;
            kit_.boxOpen = true;
            ++kit_.boxesShown;
        }
        void close() override {
            if (kit_.boxOpen) {
                kit_.boxOpen = false;
                kit_.boxText.clear();
                closed_();
            }
        }
        // The user clicks OK.
        void clickOk() { close(); }

    private:
        FakeToolkit& kit_;
        std::function<void()> closed_;
    };

    std::unique_ptr<WindowPeer> createWindow(TForm& form) override {
        return std::make_unique<Peer>(counts[form.Name()]);
    }
    std::unique_ptr<ControlPeer> createControl(TControl& control) override {
        if (control.Kind() == ControlKind::PaintBox) {
            return std::make_unique<PaintPeer>(*this, static_cast<TPaintBox&>(control));
        }
        return std::make_unique<Peer>(counts[control.Name()]);
    }
    std::unique_ptr<TimerPeer> createTimer(TTimer& timer) override {
        return std::make_unique<Timer>(timers[timer.Name()]);
    }
    std::unique_ptr<MessageBoxPeer> createMessageBox(std::function<void()> closed) override {
        auto box = std::make_unique<Box>(*this, std::move(closed));
        lastBox = box.get();
        return box;
    }
    TSize screenSize() const override { return screen; }
    void beep() override { ++beeps; }
    void quit() override { ++quits; }

    // The user closes the open message box.
    void closeBox() {
        if (lastBox != nullptr) {
            lastBox->clickOk();
        }
    }

    TSize screen{1024, 768};
    double scale = 1;                                   // of the paint boxes' pixels
    std::map<std::string, std::vector<Shape>> painted;  // each paint box's last picture
    std::map<std::string, Counts> counts;  // by control name (names repeat across windows)
    std::map<std::string, int> timers;     // interval while running, 0 while stopped
    Box* lastBox = nullptr;
    bool boxOpen = false;
    std::string boxTitle;
    std::string boxText;
    int boxesShown = 0;
    int beeps = 0;
    int quits = 0;
};

}  // namespace surftally
