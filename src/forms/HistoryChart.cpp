#include "forms/HistoryChart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "forms/Texts.h"

namespace surftally::HistoryChart {

namespace {

constexpr std::int64_t kHour = 3600;

// The hour steps the axis may take, finest first.
constexpr int kSteps[] = {1, 2, 3, 4, 6, 8, 12, 24};

// "09.12."
std::string dayMark(LocalDay day) {
    const std::chrono::year_month_day date{day};
    char text[16];
    std::snprintf(text, sizeof text, "%02u.%02u.", static_cast<unsigned>(date.day()),
                  static_cast<unsigned>(date.month()));
    return text;
}

Shape box(ShapeRole role, TRect rect) {
    return {Shape::Kind::Box, role, rect, {}, TAlignment::Left, 0, 1};
}

Shape line(int x1, int y1, int x2, int y2, int width) {
    return {Shape::Kind::Line,
            ShapeRole::Axis,
            {x1, y1, x2 - x1, y2 - y1},
            {},
            TAlignment::Left,
            0,
            width};
}

Shape text(std::string s, TRect rect, TAlignment alignment, int pixelSize) {
    return {Shape::Kind::Text, ShapeRole::Text, rect, std::move(s), alignment, pixelSize, 1};
}

// Height of seconds on an axis where top seconds take full pixels; anything above nothing
// shows as one pixel at least.
int barHeight(std::int64_t seconds, std::int64_t top, int full) {
    if (seconds <= 0) {
        return 0;
    }
    const auto h = static_cast<int>(static_cast<double>(seconds) * full / static_cast<double>(top));
    return std::clamp(h, 1, full);
}

}  // namespace

int TextWidth(std::size_t count, int pixelSize) {
    // Sans-serif digits and lower-case letters average well under two thirds of the size.
    return static_cast<int>(std::ceil(static_cast<double>(count) * pixelSize * 0.65));
}

std::string Duration(std::int64_t seconds) {
    seconds = std::max<std::int64_t>(seconds, 0);
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02d:%02d", static_cast<long long>(seconds / kHour),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return text;
}

std::vector<Shape> Shapes(const std::vector<DayUse>& days, TSize size, double scale, bool serbian) {
    const auto px = [scale](int design) {
        return std::max(1, static_cast<int>(std::lround(design * scale)));
    };
    const int font = px(10);
    const int thin = px(1);
    std::vector<Shape> shapes;
    shapes.push_back(box(ShapeRole::Background, {0, 0, size.Width, size.Height}));

    // The plot: the hour marks at its left, the legend above it, the dates below it.
    const int left = TextWidth(3, font) + px(8);
    const int right = size.Width - px(6);
    const int top = font + px(8);
    const int axis = size.Height - font - px(6);
    const int plotHeight = axis - top;
    if (days.empty() || right - left < static_cast<int>(days.size()) || plotHeight < font) {
        return shapes;
    }

    // The legend.
    int x = left;
    for (const auto& [role, caption] :
         {std::pair{ShapeRole::Online, Texts::ChartOnline.pick(serbian)},
          std::pair{ShapeRole::Charged, Texts::ChartCharged.pick(serbian)}}) {
        const std::string label = caption;
        shapes.push_back(box(role, {x, px(3) + (font - px(8)) / 2, px(10), px(8)}));
        x += px(14);
        const int width = TextWidth(label.size(), font);
        shapes.push_back(text(label, {x, px(3), width, font}, TAlignment::Left, font));
        x += width + px(12);
    }

    // The hour axis: the coarsest step that is still fine enough, up to the longest day.
    std::int64_t longest = 0;
    for (const DayUse& day : days) {
        longest = std::max({longest, day.online, day.charged});
    }
    // Counted in the design's pixels, so that every scale marks the same hours.
    const int room = std::max(1, static_cast<int>(plotHeight / scale) / 14);
    int step = kSteps[std::size(kSteps) - 1];
    for (int s : kSteps) {
        const std::int64_t marks = (longest + s * kHour - 1) / (s * kHour);
        if (marks <= room) {
            step = s;
            break;
        }
    }
    const std::int64_t marks =
        std::max<std::int64_t>(1, (longest + step * kHour - 1) / (step * kHour));
    const std::int64_t topSeconds = marks * step * kHour;
    for (std::int64_t m = 0; m <= marks; ++m) {
        const int y = axis - static_cast<int>(m * plotHeight / marks);
        shapes.push_back(line(left - px(3), y, left, y, thin));
        shapes.push_back(text(std::to_string(m * step) + "h", {0, y - font / 2, left - px(5), font},
                              TAlignment::Right, font));
    }

    // The bars, today's last.
    const int count = static_cast<int>(days.size());
    int slot = px(std::max(1, static_cast<int>((right - left) / scale) / count));
    if (slot * count > right - left) {
        slot = (right - left) / count;
    }
    const int gap = std::max(thin, slot / 4);
    const int plotLeft = right - slot * count;  // the bars end at the right edge
    for (int i = 0; i < count; ++i) {
        const DayUse& day = days[static_cast<std::size_t>(i)];
        const int barLeft = plotLeft + i * slot + gap / 2;
        const int barWidth = std::max(1, slot - gap);
        const int online = barHeight(day.online, topSeconds, plotHeight);
        const int charged = std::min(online, barHeight(day.charged, topSeconds, plotHeight));
        if (online > 0) {
            shapes.push_back(box(ShapeRole::Online, {barLeft, axis - online, barWidth, online}));
        }
        if (charged > 0) {
            shapes.push_back(box(ShapeRole::Charged, {barLeft, axis - charged, barWidth, charged}));
        }
        // Every seventh day back from today gets its date, kept inside the box.
        if ((count - 1 - i) % 7 == 0) {
            const std::string mark = dayMark(day.day);
            const int width = TextWidth(mark.size(), font);
            const int centre = barLeft + barWidth / 2;
            const int markLeft = std::clamp(centre - width / 2, 0, size.Width - width);
            shapes.push_back(line(centre, axis, centre, axis + px(3), thin));
            shapes.push_back(
                text(mark, {markLeft, axis + px(4), width, font}, TAlignment::Center, font));
        }
    }
    shapes.push_back(line(left, top, left, axis, thin));
    shapes.push_back(line(left, axis, right, axis, thin));
    return shapes;
}

}  // namespace surftally::HistoryChart
