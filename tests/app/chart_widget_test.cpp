// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/chart_widget.h"

#include "app/app_look.h"

#include <QImage>
#include <QPainter>
#include <QVBoxLayout>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <set>

namespace zenbalo {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(ChartTicks, StepOfOneTwoOrFiveEnclosesTheRange) {
    struct Case {
        const char *name;
        double low, high;
        int maxCount;
        double minStep;
        std::vector<double> want;
    };
    const Case cases[] = {
        {"five steps of two", 0, 10, 6, 0, {0, 2, 4, 6, 8, 10}},
        {"room for every unit", 0, 10, 11, 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {"rounded outward", 0.3, 9.7, 6, 0, {0, 2, 4, 6, 8, 10}},
        {"ends swapped", 10, 0, 6, 0, {0, 2, 4, 6, 8, 10}},
        {"a day in yen", -14400, 80000, 6, 1, {-20000, 0, 20000, 40000, 60000, 80000}},
        {"all below zero", -95, -5, 5, 0, {-100, -50, 0}},
        {"tenths print as tenths", 0.1, 0.3, 3, 0, {0.1, 0.2, 0.3}},
        {"tenths that divide badly", 0.7, 1.1, 5, 0, {0.7, 0.8, 0.9, 1.0, 1.1}},
        {"whole numbers only", 0, 3, 100, 1, {0, 1, 2, 3}},
        {"fewer than two asked", 0, 10, 1, 0, {0, 10}},
        {"two asked across zero", -3e7, 3.8e7, 2, 1, {-5e7, 0, 5e7}},
        {"one visit", 1, 1, 10, 1, {0, 1, 2}},
        {"all zero", 0, 0, 5, 0, {-1, -0.5, 0, 0.5, 1}},
        {"all the same yen", 12345, 12345, 5, 1, {11000, 12000, 13000, 14000}},
        {"a quadrillion either way", -1e15, 1e15, 5, 1, {-1e15, -5e14, 0, 5e14, 1e15}},
        {"one quadrillion", 1e15, 1e15, 3, 1, {9e14, 1e15, 1.1e15}},
        {"a yen apart at a quadrillion", 1e15, 1e15 + 1, 10, 1, {1e15, 1e15 + 1000}},
        {"not a number", kNaN, 1, 5, 0, {}},
        {"no end", 0, kInf, 5, 0, {}},
        {"span beyond doubles", -1.7e308, 1.7e308, 5, 0, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Ticks ticks = niceTicks(c.low, c.high, c.maxCount, c.minStep);
        EXPECT_EQ(ticks.values, c.want);
        for (double value : ticks.values)
            EXPECT_FALSE(std::signbit(value) && value == 0) << "a zero tick would print as -0";
    }
}

// Whatever the range, the ticks keep every promise; checked against the
// definition over ranges of every size and sign.
TEST(ChartTicks, KeepTheirPromisesOverManyRanges) {
    unsigned long long seed = 12345;
    auto next = [&seed] {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(seed >> 11) / 9007199254740992.0;
    };
    for (int i = 0; i < 3000; ++i) {
        const double scale = std::pow(10.0, std::floor(next() * 30) - 12);
        const double low = (next() * 2 - 1) * scale;
        const double high = i % 10 == 0 ? low : low + next() * scale;
        const int maxCount = 2 + static_cast<int>(next() * 20);
        const double minStep = i % 3 == 0 ? 1 : 0;
        SCOPED_TRACE(testing::Message() << low << " .. " << high << " in " << maxCount << " min " << minStep);
        const Ticks ticks = niceTicks(low, high, maxCount, minStep);
        const auto &v = ticks.values;
        ASSERT_GE(v.size(), 2u);
        EXPECT_LE(v.size(), static_cast<size_t>(std::max(maxCount, v.front() < 0 && v.back() > 0 ? 3 : 2)));
        EXPECT_GE(ticks.step, minStep);
        const double mantissa = ticks.step / std::pow(10.0, std::floor(std::log10(ticks.step) + 1e-9));
        EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-9 || std::fabs(mantissa - 2) < 1e-9 || std::fabs(mantissa - 5) < 1e-9)
            << ticks.step;
        const double slack = ticks.step * 1e-6;
        EXPECT_LE(v.front(), low + slack);
        EXPECT_GE(v.back(), high - slack);
        for (size_t k = 1; k < v.size(); ++k)
            EXPECT_NEAR(v[k] - v[k - 1], ticks.step, slack);
        // The next smaller step of the sequence would need too many ticks.
        const double smaller = mantissa > 4 ? ticks.step * 0.4 : ticks.step * 0.5;
        auto whole = [](double q) { return std::fabs(q - std::round(q)) <= 1e-14 * std::fabs(q) ? std::round(q) : q; };
        const double needed = std::ceil(whole(high / smaller)) - std::floor(whole(low / smaller)) + 1;
        if (smaller >= minStep && smaller >= std::max(std::fabs(low), std::fabs(high)) * 1e-12 && low != high) {
            EXPECT_GT(needed, maxCount) << "a step of " << smaller << " would do";
        }
        if (minStep == 1) {
            std::set<QString> texts;
            for (double value : v)
                texts.insert(ChartAxis::yen("").format(value, ticks.step));
            EXPECT_EQ(texts.size(), v.size()) << "two ticks read alike";
        }
    }
}

TEST(ChartAxis, FormatsTicksForItsUnit) {
    struct Case {
        const char *name;
        ChartAxis axis;
        double value, step;
        QString want;
    };
    const Case cases[] = {
        {"yen below zero", ChartAxis::yen(""), -14400, 200, "¥-14400"},
        {"yen of a quadrillion", ChartAxis::yen(""), 1e15, 1e14, "¥1000000000000000"},
        {"negative zero yen", ChartAxis::yen(""), -0.0, 1, "¥0"},
        {"visit", ChartAxis::integer(""), 50, 5, "50"},
        {"whole percent", ChartAxis::percent(""), 0.07, 0.01, "7%"},
        {"half percent", ChartAxis::percent(""), 0.065, 0.005, "6.5%"},
        {"twentieth of a percent", ChartAxis::percent(""), 0.0005, 0.0005, "0.05%"},
        {"zero among tenths", ChartAxis::percent(""), 0, 0.001, "0.0%"},
        {"tens of percent", ChartAxis::percent(""), 0.3, 0.1, "30%"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.axis.format(c.value, c.step), c.want);
    }
}

// ---------------------------------------------------------------- pictures

ChartData journalChart(int visits) {
    ChartData data{ChartAxis::integer("来店"), ChartAxis::yen("累積金額"), {}, {}, {}, {}, {}};
    ChartSeries balance{"累積収支", ChartRole::Primary, {}}, work{"累積仕事量", ChartRole::Secondary, {}};
    ChartBand twoSigma{"±2σ", ChartRole::Secondary, {}}, oneSigma{"±1σ", ChartRole::Secondary, {}};
    double sumBalance = 0, sumWork = 0;
    for (int i = 1; i <= visits; ++i) {
        sumWork += 3000;
        sumBalance += (i % 7) * 9000.0 - 30000;
        const double sigma = 40000 * std::sqrt(i);
        balance.points.push_back({double(i), sumBalance});
        work.points.push_back({double(i), sumWork});
        twoSigma.points.push_back({double(i), sumWork - 2 * sigma, sumWork + 2 * sigma});
        oneSigma.points.push_back({double(i), sumWork - sigma, sumWork + sigma});
    }
    data.series = {balance, work};
    data.bands = {twoSigma, oneSigma};
    return data;
}

// Bars of 4000 yen from `from`, a line at zero and at the mean, plus days shaded.
ChartData histogramChart(double from, const std::vector<double> &heights, double scale = 1) {
    ChartData data{ChartAxis::yen("1日の収支"), ChartAxis::percent("確率"), {}, {}, {}, {}, {}};
    data.bars.name = "確率";
    for (size_t i = 0; i < heights.size(); ++i)
        data.bars.bars.push_back(
            {(from + 4000.0 * double(i)) * scale, (from + 4000.0 * double(i + 1)) * scale, heights[i]});
    data.markers = {{0, "¥0", ChartRole::Neutral}, {-14400 * scale, "平均収支", ChartRole::Secondary}};
    data.shade = ChartShade{0, kInf, "プラス", ChartRole::Accent};
    return data;
}

std::vector<double> skewedHeights(int count) {
    std::vector<double> heights;
    for (int i = 0; i < count; ++i)
        heights.push_back(std::pow(i + 0.5, 1.5) * std::exp(-(i + 0.5) / 5) / 60);
    return heights;
}

QImage renderChart(const ChartData &data, QSize size, double scale) {
    QImage image(size * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    QPainter painter(&image);
    paintChart(painter, QRectF(QPointF(0, 0), size), data, uiFont());
    return image;
}

QRgb pixelAt(const QImage &image, QPointF logical) {
    const double scale = image.devicePixelRatio();
    return image.pixel(static_cast<int>(logical.x() * scale), static_cast<int>(logical.y() * scale));
}

// A wash of `colour` at `opacity`, `layers` times over white paper.
QRgb washed(QRgb colour, double opacity, int layers = 1) {
    const double ink = 1 - std::pow(1 - opacity, layers);
    auto channel = [ink](int c) { return static_cast<int>(std::lround(255 * (1 - ink) + c * ink)); };
    return qRgb(channel(qRed(colour)), channel(qGreen(colour)), channel(qBlue(colour)));
}

bool looksLike(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 3 && std::abs(qGreen(a) - qGreen(b)) <= 3 &&
           std::abs(qBlue(a) - qBlue(b)) <= 3;
}

const QRgb kPrimary = qRgb(0x00, 0x72, 0xB2);
const QRgb kSecondary = qRgb(0xD5, 0x5E, 0x00);
const QRgb kAccent = qRgb(0x00, 0x9E, 0x73);

struct PictureCase {
    const char *name;
    ChartData data;
};

std::vector<PictureCase> awkwardCharts() {
    ChartData oneVisit = journalChart(1);
    ChartData level = journalChart(20);
    for (ChartSeries &series : level.series)
        for (ChartPoint &point : series.points)
            point.y = -5000;
    level.bands.clear();
    ChartData broken = journalChart(30);
    broken.series[0].points[10].y = kNaN;
    broken.bands[0].points[20].upper = kInf;
    ChartData onlyLosses = histogramChart(-90000, skewedHeights(20));
    onlyLosses.markers[1].x = -70000;
    return {
        {"fifty visits", journalChart(50)},
        {"ten thousand visits", journalChart(10000)},
        {"one visit", oneVisit},
        {"every value the same", level},
        {"gaps in the data", broken},
        {"a day's distribution", histogramChart(-60000, skewedHeights(40))},
        {"balances of a quadrillion", histogramChart(-60000, skewedHeights(40), 1e10 / 4)},
        {"only losses", onlyLosses},
        {"one bar", histogramChart(-2000, {1})},
    };
}

bool touch(const QRectF &a, const QRectF &b) {
    return a.intersected(b).width() > 0.5 && a.intersected(b).height() > 0.5;
}

// Labels must be read: none on another, none on the plot, none cut by the edge.
TEST(ChartLayout, LabelsNeverTouchAtAnySize) {
    // The smallest size may have room for only one label of a quadrillion yen.
    const QSizeF sizes[] = {{240, 160}, {480, 320}, {1400, 800}, {480, 700}};
    for (const PictureCase &c : awkwardCharts()) {
        for (const QSizeF &size : sizes) {
            SCOPED_TRACE(testing::Message() << c.name << " at " << size.width() << "x" << size.height());
            const ChartLayout layout = layOutChart(c.data, size, uiFont());
            ASSERT_FALSE(layout.plot.isEmpty());
            EXPECT_GE(layout.xLabels.size(), size.width() < 480 ? 1u : 2u);
            EXPECT_GE(layout.yLabels.size(), 2u);
            std::vector<QRectF> rects = {layout.xTitle.rect, layout.yTitle.rect};
            for (const auto *labels : {&layout.xLabels, &layout.yLabels})
                for (const ChartLabel &label : *labels)
                    rects.push_back(label.rect);
            for (const ChartLegendEntry &entry : layout.legend)
                rects.insert(rects.end(), {entry.sample, entry.label.rect});
            const QRectF widget(QPointF(0, 0), size);
            for (size_t i = 0; i < rects.size(); ++i) {
                EXPECT_TRUE(widget.contains(rects[i])) << i;
                EXPECT_FALSE(touch(rects[i], layout.plot)) << i;
                for (size_t j = i + 1; j < rects.size(); ++j)
                    EXPECT_FALSE(touch(rects[i], rects[j])) << i << " and " << j;
            }
            for (const ChartSeries &series : c.data.series)
                for (const ChartPoint &point : series.points)
                    if (std::isfinite(point.y)) {
                        EXPECT_TRUE(
                            layout.plot.adjusted(-0.01, -0.01, 0.01, 0.01).contains(layout.map(point.x, point.y)));
                    }
            for (const ChartBar &bar : c.data.bars.bars) {
                EXPECT_GE(bar.left, layout.xLow);
                EXPECT_LE(bar.right, layout.xHigh);
            }
        }
    }
}

TEST(ChartLayout, HalfABarBeyondARoundBalanceAddsNoEmptyStep) {
    // The day's worst balance sits on a round number; its bar hangs half a bar below it.
    const ChartData data = histogramChart(-102000, skewedHeights(60));
    for (const QSizeF &size : {QSizeF(480, 320), QSizeF(700, 300), QSizeF(1400, 800)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        const ChartLayout layout = layOutChart(data, size, uiFont());
        ASSERT_GE(layout.xTicks.size(), 2u);
        EXPECT_EQ(layout.xTicks.front(), -100000);
        EXPECT_EQ(layout.xLow, -102000);
        EXPECT_LT(layout.map(-100000, 0).x() - layout.plot.left(), layout.plot.width() / 20);
    }
}

TEST(ChartRender, BandsWashTheirRangeAndNothingElse) {
    ChartData data = journalChart(0);
    for (int visit = 1; visit <= 10; ++visit) {
        data.series[0].points.push_back({double(visit), -300});
        data.series[1].points.push_back({double(visit), 0});
        data.bands[0].points.push_back({double(visit), -200, 200});
        data.bands[1].points.push_back({double(visit), -100, 100});
    }
    for (double scale : {1.0, 2.0}) {
        SCOPED_TRACE(scale);
        const QSize size(480, 320);
        const QImage image = renderChart(data, size, scale);
        const ChartLayout layout = layOutChart(data, size, uiFont());
        const double x = layout.map(5.5, 0).x();
        int oneLayer = 0, twoLayers = 0;
        // Rows clear of the lines and of the bands' edges, between the balance and the work line.
        for (double y = layout.map(0, -300).y() - 4; y > layout.map(0, 0).y() + 4; y -= 0.5) {
            const double value =
                layout.yLow + (layout.plot.bottom() - y) / layout.plot.height() * (layout.yHigh - layout.yLow);
            if (std::fabs(value + 200) < 10 || std::fabs(value + 100) < 10 ||
                std::find_if(layout.yTicks.begin(), layout.yTicks.end(), [&](double tick) {
                    return std::fabs(layout.map(0, tick).y() - y) < 2;
                }) != layout.yTicks.end())
                continue;
            const QRgb pixel = pixelAt(image, {x, y});
            SCOPED_TRACE(value);
            if (value < -200) {
                EXPECT_EQ(pixel, qRgb(255, 255, 255));
            } else if (value < -100) {
                EXPECT_TRUE(looksLike(pixel, washed(kSecondary, 0.16))) << std::hex << pixel;
                ++oneLayer;
            } else {
                EXPECT_TRUE(looksLike(pixel, washed(kSecondary, 0.16, 2))) << std::hex << pixel;
                ++twoLayers;
            }
        }
        EXPECT_GT(oneLayer, 5);
        EXPECT_GT(twoLayers, 5);
    }
}

TEST(ChartRender, PlusDaysShadedRightOfZeroOnly) {
    std::vector<double> heights = skewedHeights(30);
    for (size_t i = 15; i < heights.size(); ++i)
        heights[i] /= 100; // bars right of ¥0 low, so the shade shows above them
    const ChartData data = histogramChart(-60000, heights);
    for (double scale : {1.0, 2.0}) {
        SCOPED_TRACE(scale);
        const QSize size(600, 360);
        const QImage image = renderChart(data, size, scale);
        const ChartLayout layout = layOutChart(data, size, uiFont());
        ASSERT_GE(layout.yTicks.size(), 2u);
        // Halfway between the two top grid lines: nothing there but bars and the shade.
        const double y = layout.map(0, (layout.yTicks.rbegin()[0] + layout.yTicks.rbegin()[1]) / 2).y();
        const double zero = layout.map(0, 0).x();
        int shaded = 0;
        for (double x = layout.plot.left() + 2; x < layout.plot.right() - 2; x += 0.5) {
            if (std::fabs(x - zero) < 3)
                continue;
            const bool shade = looksLike(pixelAt(image, {x, y}), washed(kAccent, 0.14));
            EXPECT_EQ(shade, x > zero) << "at x " << x << ", ¥0 at " << zero;
            shaded += shade;
        }
        EXPECT_GT(shaded, 100);
    }
}

// Shading to infinity, lines and bands stay inside the frame; outside it
// only the ticks, the labels, the titles and the legend.
TEST(ChartRender, NothingOutsideThePlotButItsLabels) {
    for (const PictureCase &c : awkwardCharts()) {
        for (double scale : {1.0, 2.0}) {
            SCOPED_TRACE(testing::Message() << c.name << " at scale " << scale);
            ChartData data = c.data;
            data.shade = ChartShade{-kInf, kInf, "", ChartRole::Accent};
            const QSize size(420, 300);
            const QImage image = renderChart(data, size, scale);
            const ChartLayout layout = layOutChart(data, size, uiFont());
            std::vector<QRectF> allowed = {layout.plot.adjusted(-5, -1, 1, 5), layout.xTitle.rect, layout.yTitle.rect};
            for (const auto *labels : {&layout.xLabels, &layout.yLabels})
                for (const ChartLabel &label : *labels)
                    allowed.push_back(label.rect);
            for (const ChartLegendEntry &entry : layout.legend)
                allowed.insert(allowed.end(), {entry.sample, entry.label.rect});
            int stray = 0;
            for (int py = 0; py < image.height(); ++py)
                for (int px = 0; px < image.width(); ++px) {
                    if (image.pixel(px, py) == qRgb(255, 255, 255))
                        continue;
                    const QRectF pixel(px / scale, py / scale, 1 / scale, 1 / scale);
                    stray += std::none_of(allowed.begin(), allowed.end(), [&](const QRectF &rect) {
                        return rect.adjusted(-1, -1, 1, 1).contains(pixel);
                    });
                }
            EXPECT_EQ(stray, 0);
        }
    }
}

// Ten thousand visits are thinned to pixel columns; a single wild visit must
// still reach its height.
TEST(ChartRender, ThinnedLineKeepsItsPeaks) {
    ChartData data{ChartAxis::integer(""), ChartAxis::yen(""), {}, {}, {}, {}, {}};
    ChartSeries series{"", ChartRole::Primary, {}};
    for (int i = 0; i < 10000; ++i)
        series.points.push_back({double(i), i == 5003 ? 1000.0 : i % 2 * 10.0});
    data.series = {series};
    const QSize size(500, 300);
    const QImage image = renderChart(data, size, 1);
    const ChartLayout layout = layOutChart(data, size, uiFont());
    const QPointF peak = layout.map(5003, 1000);
    bool inked = false;
    for (double dx = -1; dx <= 1; ++dx)
        inked = inked || looksLike(pixelAt(image, peak + QPointF(dx, 2)), kPrimary);
    EXPECT_TRUE(inked);
}

TEST(ChartRender, SaysSoWhenThereIsNoData) {
    ChartData markersOnly{ChartAxis::yen(""), ChartAxis::percent(""), {}, {}, {}, {{0, "¥0", ChartRole::Neutral}}, {}};
    ChartData notANumber = journalChart(3);
    for (ChartSeries &series : notANumber.series)
        for (ChartPoint &point : series.points)
            point.y = kNaN;
    notANumber.bands.clear();
    const PictureCase cases[] = {{"nothing", {}}, {"only a marker", markersOnly}, {"no finite value", notANumber}};
    for (const PictureCase &c : cases) {
        SCOPED_TRACE(c.name);
        const QSize size(400, 240);
        EXPECT_TRUE(layOutChart(c.data, size, uiFont()).noData);
        const QImage image = renderChart(c.data, size, 2);
        QRect inked;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255))
                    inked |= QRect(x, y, 1, 1);
        ASSERT_FALSE(inked.isEmpty());
        EXPECT_NEAR(inked.center().x(), image.width() / 2, 4);
        EXPECT_NEAR(inked.center().y(), image.height() / 2, 4);
        EXPECT_LT(inked.width(), image.width() / 2) << "a short text, not a frame";
    }
}

// The widget takes what its layout gives and draws its chart at that size.
TEST(ChartWidget, FillsItsWindowAndRendersAtThatSize) {
    QWidget window;
    auto *chart = new ChartWidget;
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chart);
    chart->setData(journalChart(50));
    for (QSize size : {QSize(500, 300), QSize(900, 600)}) {
        window.resize(size);
        window.show();
        layout->activate();
        EXPECT_EQ(chart->size(), size);
        QImage image(chart->size(), QImage::Format_RGB32);
        image.fill(Qt::black);
        chart->render(&image);
        EXPECT_EQ(image, renderChart(journalChart(50), size, 1));
    }
}

} // namespace
} // namespace zenbalo
