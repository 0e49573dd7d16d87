#pragma once

#include <set>
#include <string>
#include <vector>

#include "accounting/TickView.h"
#include "store/StoreErrors.h"

namespace surftally {

// The windows as the tick sees them, recorded for tests.
class FakeTickView final : public TickView {
public:
    std::string displayText() const override { return display; }
    void setDisplayText(const std::string& text) override { display = text; }
    Colour displayBackground() const override { return displayBack; }
    void setDisplayColours(Colour background, Colour text) override {
        displayBack = background;
        displayFront = text;
    }

    std::string statusText() const override { return status; }
    void setStatusText(const std::string& text) override { status = text; }
    void setStatusColours(Colour background, Colour text) override {
        statusBack = background;
        statusFront = text;
    }

    bool freezeChecked() const override { return freeze; }
    bool settingsHidden() const override { return settingsAreHidden; }
    bool windowVisible() const override { return visible; }

    void showIcon(StateIcon icon) override {
        if (missingIcons.count(icon) != 0) {
            throw StoreError("Cannot open file " + IconFile(icon));
        }
        shownIcon = icon;
        ++iconLoads;
    }
    void makeTopmost() override { ++topmostCalls; }
    void closeWindow() override { closed = true; }
    void reportError(const std::string& text) override { errors.push_back(text); }

    static std::string IconFile(StateIcon icon) {
        switch (icon) {
            case StateIcon::OffLine:
                return "Off-Line.ico";
            case StateIcon::Lan:
                return "LAN.ico";
            case StateIcon::Modem:
                return "MODEM.ico";
        }
        return {};
    }

    std::string display = "000:00:00";
    Colour displayBack = clBlack;
    Colour displayFront = clYellow;
    std::string status = "Off - Line";
    Colour statusBack = clNavy;
    Colour statusFront = clYellow;
    bool freeze = false;
    bool settingsAreHidden = true;
    bool visible = true;

    std::set<StateIcon> missingIcons;
    StateIcon shownIcon = StateIcon::OffLine;
    int iconLoads = 0;
    int topmostCalls = 0;
    bool closed = false;
    std::vector<std::string> errors;
};

}  // namespace surftally
