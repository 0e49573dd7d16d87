#include <algorithm>

#include "forms/HistoryChart.h"
#include "forms/THistoryForm.h"
#include "forms/Texts.h"
#include "platform/ConnectionFlags.h"
#include "tests/forms/FormsFixture.h"

using namespace formstest;

namespace {

// Spells on the fake clock's today, 9 December 2026, and the days before it.
std::string spellLine(const char* day, const char* from, const char* to, int charged, int online) {
    return std::string(day) + ' ' + from + ';' + day + ' ' + to + ";Modem;" +
           std::to_string(charged) + ';' + std::to_string(online) + "\r\n";
}

int right(const TRect& r) {
    return r.Left + r.Width;
}
int bottom(const TRect& r) {
    return r.Top + r.Height;
}

// A bar stands on the axis, low in the chart; the legend's samples of the same colours stand
// at its top.
bool isBar(const Shape& s, ShapeRole role) {
    return s.kind == Shape::Kind::Box && s.role == role && bottom(s.rect) > 100;
}

std::vector<Shape> ofRole(const std::vector<Shape>& shapes, ShapeRole role) {
    std::vector<Shape> found;
    std::copy_if(shapes.begin(), shapes.end(), std::back_inserter(found),
                 [role](const Shape& s) { return isBar(s, role); });
    return found;
}

class HistoryTest : public FormsTest {
protected:
    void open() {
        form2->Show();
        form2->HistoryButton->userClick();
    }
    const std::vector<Shape>& chart() { return toolkit.painted["Chart"]; }
    // The bar of the role whose middle stands at x, if any.
    const Shape* barAt(ShapeRole role, int x) {
        for (const Shape& s : chart()) {
            if (isBar(s, role) && s.rect.Left <= x && x < right(s.rect)) {
                return &s;
            }
        }
        return nullptr;
    }
};

}  // namespace

// The button sits between "?" and "OK" in the Tab order, as big as they are, and opens the
// window on top; the window closes by its button, by Escape and by its title bar.
TEST_F(HistoryTest, ButtonOpensTheWindowOnTopAndEachWayClosesIt) {
    build();
    const auto controls = form2->Controls();
    const auto at = [&](const TControl* c) {
        return std::find(controls.begin(), controls.end(), c);
    };
    EXPECT_EQ(at(form2->HistoryButton), at(form2->Button3) + 1);
    EXPECT_EQ(at(form2->Button1), at(form2->HistoryButton) + 1);
    EXPECT_EQ(form2->HistoryButton->Top(), form2->Button1->Top());
    EXPECT_EQ(form2->HistoryButton->Height(), form2->Button1->Height());
    EXPECT_EQ(form2->HistoryButton->Font().Bold, form2->Button1->Font().Bold);
    EXPECT_EQ(form2->HistoryButton->Caption(), "History");

    open();
    ASSERT_TRUE(history->Visible());
    EXPECT_EQ(history->Caption(), " History - Surftally");
    EXPECT_EQ(toolkit.counts["HistoryForm"].topmost, 1);
    EXPECT_EQ(toolkit.counts["HistoryForm"].activated, 1);

    history->CloseButton->userClick();
    EXPECT_FALSE(history->Visible());
    open();
    history->userKey(TKey::Escape, nullptr);
    EXPECT_FALSE(history->Visible());
    open();
    history->userKey(TKey::Enter, history->CloseButton);
    EXPECT_FALSE(history->Visible());
    open();
    history->userClose();
    EXPECT_FALSE(history->Visible());
    open();
    form2->HideAll();
    EXPECT_FALSE(history->Visible());
}

// Today's bar stands at the right; the charged part never rises above the on-line part; a
// discounted day and a frozen day show on-line time that was not all charged.
TEST_F(HistoryTest, ChartShowsTodayAtTheRightAndWhatWasNotCharged) {
    data.put("history.dat", spellLine("2026-12-09", "10:00:00", "11:00:00", 3600, 3600) +
                                spellLine("2026-12-07", "20:00:00", "22:00:00", 3600, 7200) +
                                spellLine("2026-12-05", "08:00:00", "10:00:00", 0, 7200) +
                                spellLine("2026-11-01", "08:00:00", "10:00:00", 7200, 7200));
    build();
    open();
    const auto online = ofRole(chart(), ShapeRole::Online);
    const auto charged = ofRole(chart(), ShapeRole::Charged);
    ASSERT_EQ(online.size(), 3u);  // 1 November is older than 30 days
    ASSERT_EQ(charged.size(), 2u);

    const Shape& today = *std::max_element(
        online.begin(), online.end(), [](auto& a, auto& b) { return a.rect.Left < b.rect.Left; });
    EXPECT_GE(right(today.rect), history->Chart->Width() - 10);
    // Equal slots: 7 December two to the left of today, 5 December four.
    const int slot = (today.rect.Left - online[1].rect.Left) / 2;
    EXPECT_GT(slot, 0);
    EXPECT_EQ(today.rect.Left - online.front().rect.Left, 4 * slot);

    for (const Shape& c : charged) {
        const Shape* behind = barAt(ShapeRole::Online, c.rect.Left + c.rect.Width / 2);
        ASSERT_NE(behind, nullptr);
        EXPECT_EQ(bottom(c.rect), bottom(behind->rect));
        EXPECT_LE(c.rect.Height, behind->rect.Height);
    }
    const int todayMiddle = today.rect.Left + today.rect.Width / 2;
    EXPECT_EQ(barAt(ShapeRole::Charged, todayMiddle)->rect.Height, today.rect.Height);
    // 7 December: half charged, at the discount.
    const Shape* discounted = barAt(ShapeRole::Charged, todayMiddle - 2 * slot);
    ASSERT_NE(discounted, nullptr);
    EXPECT_NEAR(discounted->rect.Height * 2,
                barAt(ShapeRole::Online, todayMiddle - 2 * slot)->rect.Height, 2);
    // 5 December: frozen, on-line only.
    EXPECT_NE(barAt(ShapeRole::Online, todayMiddle - 4 * slot), nullptr);
    EXPECT_EQ(barAt(ShapeRole::Charged, todayMiddle - 4 * slot), nullptr);
}

// The spell in progress shows before its first minute has reached the file.
TEST_F(HistoryTest, SpellInProgressShowsOnOpening) {
    data.put("remain.dat", "010:00:00\r\n");
    build();
    flags.setOnline(ConnectionFlags::kModem);
    tick(30);
    open();
    EXPECT_EQ(history->Today->Caption(), "Today: 0:00:30");
    EXPECT_EQ(ofRole(chart(), ShapeRole::Charged).size(), 1u);
}

// The totals count charged time only, today, the last 7 days and this calendar month; the
// forecast runs at the last 7 days' daily charge, the minimum's date first when it comes
// first; both in both languages.
TEST_F(HistoryTest, TotalsAndForecastInBothLanguages) {
    const std::string spells = spellLine("2026-12-09", "10:00:00", "11:00:00", 3600, 3600) +
                               spellLine("2026-12-06", "10:00:00", "13:00:00", 7200, 10800) +
                               spellLine("2026-12-01", "10:00:00", "10:30:00", 1800, 1800) +
                               spellLine("2026-11-19", "10:00:00", "15:00:00", 18000, 18000);
    struct Case {
        bool serbian;
        const char* today;
        const char* week;
        const char* month;
        const char* lasts;
        const char* below;
    };
    // 10800 s a week of 36000 s left: 23 days; 7200 s above the two hours' minimum: 18 days.
    for (const Case& c :
         {Case{false, "Today: 1:00:00", "Last 7 days: 3:00:00", "This month: 3:30:00",
               "At this rate the balance lasts until 01.01.2027",
               "It falls below the minimum on 27.12.2026"},
          Case{true, "Danas: 1:00:00", "Poslednjih 7 dana: 3:00:00", "Ovog meseca: 3:30:00",
               "Ovim tempom stanje traje do 01.01.2027", "Ispod minimuma pada 27.12.2026"}}) {
        SCOPED_TRACE(c.serbian ? "Serbian" : "English");
        FreshStart(data);
        if (c.serbian) {
            data.put("srpski.dat", "");
        }
        data.put("remain.dat", "010:00:00\r\n");
        data.put("history.dat", spells);
        build();
        open();
        EXPECT_EQ(history->Today->Caption(), c.today);
        EXPECT_EQ(history->Week->Caption(), c.week);
        EXPECT_EQ(history->Month->Caption(), c.month);
        EXPECT_EQ(history->LastsUntil->Caption(), c.lasts);
        EXPECT_EQ(history->BelowMinimum->Caption(), c.below);
        TearDown();
    }
}

TEST_F(HistoryTest, ForecastWithNothingUsedOrTheBalanceAlreadyBelowTheMinimum) {
    struct Case {
        bool serbian;
        std::string history;
        const char* lasts;
    };
    // An hour at 1800 s a week lasts 14 days; below the two hours' minimum already.
    for (const Case& c : {Case{false, "", "Nothing used in the last 7 days"},
                          Case{true, spellLine("2026-12-09", "10:00:00", "10:30:00", 1800, 1800),
                               "Ovim tempom stanje traje do 23.12.2026"},
                          Case{true, "\r\n", "Nista potroseno u poslednjih 7 dana"}}) {
        SCOPED_TRACE(c.lasts);
        FreshStart(data);
        if (c.serbian) {
            data.put("srpski.dat", "");
        }
        data.put("remain.dat", "001:00:00\r\n");
        data.put("history.dat", c.history);
        build();
        open();
        EXPECT_EQ(history->LastsUntil->Caption(), c.lasts);
        EXPECT_EQ(history->BelowMinimum->Caption(), "");
        TearDown();
    }
}

// At twice the size every shape doubles and every text still fits its place: inside the chart,
// as wide as its text needs, no two texts on each other.
TEST_F(HistoryTest, ChartIsLegibleAtTwiceTheSize) {
    data.put("history.dat", spellLine("2026-12-09", "00:00:00", "23:59:00", 80000, 86340) +
                                spellLine("2026-11-12", "10:00:00", "11:00:00", 3600, 3600));
    build();
    open();
    for (const bool serbian : {false, true}) {
        SCOPED_TRACE(serbian ? "Serbian" : "English");
        Serbian = serbian;
        std::vector<Shape> sizes[2];
        for (const int scale : {1, 2}) {
            toolkit.scale = scale;
            history->Chart->Invalidate();
            sizes[scale - 1] = chart();
            const TSize box{history->Chart->Width() * scale, history->Chart->Height() * scale};
            std::vector<TRect> texts;
            for (const Shape& s : chart()) {
                EXPECT_GE(s.rect.Left, 0);
                EXPECT_GE(s.rect.Top, 0);
                EXPECT_LE(right(s.rect), box.Width);
                EXPECT_LE(bottom(s.rect), box.Height);
                if (s.kind != Shape::Kind::Text) {
                    continue;
                }
                SCOPED_TRACE(s.text);
                EXPECT_GE(s.pixelSize, 10 * scale);
                EXPECT_GE(s.rect.Width, HistoryChart::TextWidth(s.text.size(), s.pixelSize));
                EXPECT_GE(s.rect.Height, s.pixelSize);
                for (const TRect& other : texts) {
                    const bool apart = right(other) <= s.rect.Left || right(s.rect) <= other.Left ||
                                       bottom(other) <= s.rect.Top || bottom(s.rect) <= other.Top;
                    EXPECT_TRUE(apart);
                }
                texts.push_back(s.rect);
            }
        }
        ASSERT_EQ(sizes[0].size(), sizes[1].size());
        for (std::size_t i = 0; i < sizes[0].size(); ++i) {
            const TRect& a = sizes[0][i].rect;
            const TRect& b = sizes[1][i].rect;
            EXPECT_NEAR(b.Width, 2 * a.Width, 4);
            EXPECT_NEAR(b.Height, 2 * a.Height, 4);
            EXPECT_NEAR(b.Left, 2 * a.Left, 8);
            EXPECT_NEAR(b.Top, 2 * a.Top, 8);
        }
    }
}
