// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/chart_widget.h"

#include "app/app_look.h"
#include "common/format.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace zenbalo {

namespace {

constexpr int kMostTicks = 1000;

double tickValue(double index, double mantissa, int exponent) {
    // Dividing by an exact power of ten keeps 0.3 from printing as 0.30000000000000004.
    const double value =
        exponent >= 0 ? index * mantissa * std::pow(10.0, exponent) : index * mantissa / std::pow(10.0, -exponent);
    return value == 0 ? 0.0 : value;
}

// A quotient a few units in the last place off a whole number is that number,
// or 0.3 / 0.1 would add a tick.
double snapped(double quotient) {
    const double whole = std::round(quotient);
    return std::fabs(quotient - whole) <= 8 * std::numeric_limits<double>::epsilon() * std::fabs(quotient) ? whole
                                                                                                           : quotient;
}

} // namespace

Ticks niceTicks(double low, double high, int maxCount, double minStep) {
    if (!std::isfinite(low) || !std::isfinite(high) || !std::isfinite(high - low))
        return {};
    if (low > high)
        std::swap(low, high);
    minStep = minStep > 0 && std::isfinite(minStep) ? minStep : 0.0;
    if (low == high) {
        const double widen = std::max(low != 0 ? std::fabs(low) / 10 : 1.0, minStep);
        low -= widen;
        high += widen;
    }
    // Two ticks cannot enclose a range across zero: one of them would be zero.
    maxCount = std::clamp(maxCount, low < 0 && high > 0 ? 3 : 2, kMostTicks);
    // Steps below the values' own precision would give ticks that print alike.
    const double magnitude = std::max(std::fabs(low), std::fabs(high));
    const double floorStep = std::max({minStep, magnitude * 1e-12, std::numeric_limits<double>::min()});
    const double raw = std::max((high - low) / (maxCount - 1), floorStep);
    for (int exponent = static_cast<int>(std::floor(std::log10(raw))); exponent <= 308; ++exponent) {
        for (double mantissa : {1.0, 2.0, 5.0}) {
            const double step = tickValue(1, mantissa, exponent);
            if (!std::isfinite(step))
                return {};
            if (step < floorStep * (1 - 1e-9))
                continue;
            const double first = std::floor(snapped(low / step));
            // Two values a unit in the last place apart still get a tick each.
            const double last = std::max(std::ceil(snapped(high / step)), first + 1);
            if (last - first + 1 > maxCount)
                continue;
            Ticks ticks{step, {}};
            for (double index = first; index <= last; ++index)
                ticks.values.push_back(tickValue(index, mantissa, exponent));
            return ticks;
        }
    }
    return {};
}

namespace {

QString yenText(double value) { return QString::fromStdString(formatYen(value)); }

QString percentText(double value, double step) {
    const double stepPercent = step * 100;
    const int decimals = stepPercent >= 1 || !(stepPercent > 0)
                             ? 0
                             : std::min(15, static_cast<int>(std::ceil(-std::log10(stepPercent) - 1e-9)));
    const std::string pattern = decimals == 0 ? "###0" : "###0." + std::string(static_cast<size_t>(decimals), '0');
    return QString::fromStdString(formatNumber(value * 100, pattern)) + QLatin1Char('%');
}

QString tickText(const ChartAxis &axis, double value, double step) {
    return axis.format ? axis.format(value, step) : QString::number(value, 'g', 15);
}

} // namespace

ChartAxis ChartAxis::yen(const QString &title) {
    return {title, [](double value, double) { return yenText(value); }, 1};
}

ChartAxis ChartAxis::integer(const QString &title) {
    return {title, [](double value, double) { return QString::fromStdString(formatNumber(value, "###0")); }, 1};
}

ChartAxis ChartAxis::percent(const QString &title) { return {title, percentText, 0}; }

namespace {

// Logical pixels; QT_SCALE_FACTOR and the image's pixel ratio scale them.
constexpr double kPad = 8;
constexpr double kGap = 6;
constexpr double kTick = 4;
constexpr double kSampleWidth = 28;
constexpr double kEntryGap = 16;
constexpr double kLineWidth = 2;
// Rows of y labels need air between them to be read as separate values.
constexpr double kYSpacing = 2.5;

struct Range {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    void add(double value) {
        if (std::isfinite(value)) {
            low = std::min(low, value);
            high = std::max(high, value);
        }
    }
    bool empty() const { return low > high; }
};

bool finite(double a, double b, double c = 0) { return std::isfinite(a) && std::isfinite(b) && std::isfinite(c); }

// What the axes must show. A bar's x is its centre for the ticks, and its
// edges only for the plot's reach (`xReach`), or half a bar overhanging a tick
// would double the axis. Markers widen x only when there is data to mark.
void dataRanges(const ChartData &data, Range &xs, Range &xReach, Range &ys) {
    for (const ChartSeries &series : data.series)
        for (const ChartPoint &p : series.points)
            if (finite(p.x, p.y))
                xs.add(p.x), ys.add(p.y);
    for (const ChartBand &band : data.bands)
        for (const BandPoint &p : band.points)
            if (finite(p.x, p.lower, p.upper))
                xs.add(p.x), ys.add(p.lower), ys.add(p.upper);
    for (const ChartBar &bar : data.bars.bars)
        if (finite(bar.left, bar.right, bar.height))
            xs.add((bar.left + bar.right) / 2), xReach.add(bar.left), xReach.add(bar.right), ys.add(bar.height),
                ys.add(0);
    if (xs.empty() || ys.empty())
        return;
    for (const ChartMarker &marker : data.markers)
        xs.add(marker.x);
    xReach.add(xs.low);
    xReach.add(xs.high);
}

enum class SampleKind { Line, Band, Bar, Wash };

struct LegendItem {
    QString name;
    ChartRole role;
    SampleKind kind;
    int layers = 1;
};

std::vector<LegendItem> legendItems(const ChartData &data) {
    std::vector<LegendItem> items;
    for (const ChartSeries &series : data.series)
        if (!series.name.isEmpty())
            items.push_back({series.name, series.role, SampleKind::Line});
    for (size_t i = 0; i < data.bands.size(); ++i) {
        const ChartBand &band = data.bands[i];
        const auto layers = std::count_if(data.bands.begin(), data.bands.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                          [&band](const ChartBand &other) { return other.role == band.role; });
        if (!band.name.isEmpty())
            items.push_back({band.name, band.role, SampleKind::Band, static_cast<int>(layers)});
    }
    if (!data.bars.name.isEmpty() && !data.bars.bars.empty())
        items.push_back({data.bars.name, data.bars.role, SampleKind::Bar});
    if (data.shade && !data.shade->label.isEmpty())
        items.push_back({data.shade->label, data.shade->role, SampleKind::Wash});
    for (const ChartMarker &marker : data.markers)
        if (!marker.label.isEmpty())
            items.push_back({marker.label, marker.role, SampleKind::Line});
    return items;
}

// Rows of entries, centred, wrapping where the width ends; returns the bottom.
double placeLegend(ChartLayout &layout, const std::vector<LegendItem> &items, double width,
                   const QFontMetricsF &metrics) {
    const double line = metrics.height();
    const double room = width - 2 * kPad;
    std::vector<ChartLegendEntry> row;
    double y = kPad;
    double rowWidth = 0;
    auto flush = [&] {
        const double shift = kPad + std::max(0.0, (room - rowWidth) / 2);
        for (ChartLegendEntry &entry : row) {
            entry.sample.translate(shift, 0);
            entry.label.rect.translate(shift, 0);
            layout.legend.push_back(entry);
        }
        row.clear();
        rowWidth = 0;
        y += line + 2;
    };
    for (const LegendItem &item : items) {
        const QString text = metrics.elidedText(item.name, Qt::ElideRight, std::max(0.0, room - kSampleWidth - kGap));
        const double entryWidth = kSampleWidth + kGap + metrics.horizontalAdvance(text);
        if (!row.empty() && rowWidth + kEntryGap + entryWidth > room)
            flush();
        const double x = row.empty() ? 0 : rowWidth + kEntryGap;
        row.push_back({QRectF(x, y, kSampleWidth, line),
                       {QRectF(x + kSampleWidth + kGap, y, entryWidth - kSampleWidth - kGap, line), text}});
        rowWidth = x + entryWidth;
    }
    if (!row.empty())
        flush();
    return items.empty() ? kPad : y + kGap;
}

std::vector<QString> tickTexts(const ChartAxis &axis, const Ticks &ticks) {
    std::vector<QString> texts;
    for (double value : ticks.values)
        texts.push_back(tickText(axis, value, ticks.step));
    return texts;
}

double widest(const std::vector<QString> &texts, const QFontMetricsF &metrics) {
    double width = 0;
    for (const QString &text : texts)
        width = std::max(width, metrics.horizontalAdvance(text));
    return width;
}

double pixelsPerStep(const Ticks &ticks, double length, const Range &reach = {}) {
    const double span = std::max(ticks.values.back(), reach.high) - std::min(ticks.values.front(), reach.low);
    return span > 0 ? length * ticks.step / span : 0;
}

// The most ticks whose labels `fits` accepts, trying each step once.
template <typename Fits> Ticks fittingTicks(const Range &range, const ChartAxis &axis, double most, Fits fits) {
    double triedStep = 0;
    for (int count = static_cast<int>(std::clamp(most, 2.0, double(kMostTicks))); count >= 2; --count) {
        Ticks ticks = niceTicks(range.low, range.high, count, axis.minStep);
        if (ticks.values.size() < 2 || ticks.step == triedStep)
            continue;
        triedStep = ticks.step;
        if (fits(ticks))
            return ticks;
    }
    return niceTicks(range.low, range.high, 2, axis.minStep);
}

// Labels that would still touch (a plot too small for even two) give way,
// the earlier one kept.
void dropCrowded(std::vector<ChartLabel> &labels, double dx, double dy) {
    std::vector<ChartLabel> kept;
    for (ChartLabel &label : labels)
        if (kept.empty() || !kept.back().rect.adjusted(-dx, -dy, dx, dy).intersects(label.rect))
            kept.push_back(std::move(label));
    labels = std::move(kept);
}

// Horizontally the first and last x labels hang half outside the plot, so the
// margins depend on the ticks chosen.
struct Sides {
    double left = 0;
    double right = 0;
};

Sides xSides(const std::vector<QString> &texts, double leftOfLabels, const QFontMetricsF &metrics) {
    return {std::max(leftOfLabels, kPad + metrics.horizontalAdvance(texts.front()) / 2),
            kPad + metrics.horizontalAdvance(texts.back()) / 2};
}

Ticks xAxisTicks(const Range &xs, const Range &reach, const ChartAxis &axis, double width, double leftOfLabels,
                 const QFontMetricsF &metrics) {
    const double line = metrics.height();
    return fittingTicks(xs, axis, width / (2 * line) + 1, [&](const Ticks &t) {
        const std::vector<QString> texts = tickTexts(axis, t);
        const Sides sides = xSides(texts, leftOfLabels, metrics);
        return pixelsPerStep(t, width - sides.left - sides.right, reach) >= widest(texts, metrics) + line;
    });
}

Ticks yAxisTicks(const Range &ys, const ChartAxis &axis, double height, double line) {
    return fittingTicks(ys, axis, height / (kYSpacing * line) + 1,
                        [&](const Ticks &t) { return pixelsPerStep(t, height) >= kYSpacing * line; });
}

void placeTickLabels(ChartLayout &layout, const ChartData &data, const Ticks &xTicks, const Ticks &yTicks,
                     double xLabelOffset, const QFontMetricsF &metrics) {
    const double line = metrics.height();
    const std::vector<QString> xTexts = tickTexts(data.x, xTicks);
    for (size_t i = 0; i < xTexts.size(); ++i) {
        const double textWidth = metrics.horizontalAdvance(xTexts[i]);
        const double x = layout.map(layout.xTicks[i], 0).x() - textWidth / 2;
        layout.xLabels.push_back({QRectF(x, layout.plot.bottom() + xLabelOffset, textWidth, line), xTexts[i]});
    }
    dropCrowded(layout.xLabels, line / 2, 0);
    // From the top down, so a crowded axis keeps its highest value.
    const std::vector<QString> yTexts = tickTexts(data.y, yTicks);
    for (size_t i = yTexts.size(); i-- > 0;) {
        const double textWidth = metrics.horizontalAdvance(yTexts[i]);
        const double y = layout.map(0, layout.yTicks[i]).y() - line / 2;
        layout.yLabels.push_back(
            {QRectF(layout.plot.left() - kTick - kGap - textWidth, y, textWidth, line), yTexts[i]});
    }
    dropCrowded(layout.yLabels, 0, 2);
}

// Centred on the plot where the widget leaves room, shortened where it does not.
void placeTitles(ChartLayout &layout, const ChartData &data, const QSizeF &size, double xTitleTop,
                 const QFontMetricsF &metrics) {
    const double line = metrics.height();
    if (!data.x.title.isEmpty()) {
        const QString text = metrics.elidedText(data.x.title, Qt::ElideRight, size.width() - 2 * kPad);
        const double textWidth = metrics.horizontalAdvance(text);
        const double x =
            std::clamp(layout.plot.center().x() - textWidth / 2, kPad, std::max(kPad, size.width() - kPad - textWidth));
        layout.xTitle = {QRectF(x, xTitleTop, textWidth, line), text};
    }
    if (!data.y.title.isEmpty()) {
        const QString text = metrics.elidedText(data.y.title, Qt::ElideRight, std::max(0.0, size.height() - 2 * kPad));
        const double textWidth = metrics.horizontalAdvance(text);
        const double y = std::clamp(layout.plot.center().y() - textWidth / 2, kPad,
                                    std::max(kPad, size.height() - kPad - textWidth));
        layout.yTitle = {QRectF(kPad, y, line, textWidth), text};
    }
}

} // namespace

QPointF ChartLayout::map(double x, double y) const {
    return {plot.left() + (x - xLow) / (xHigh - xLow) * plot.width(),
            plot.bottom() - (y - yLow) / (yHigh - yLow) * plot.height()};
}

ChartLayout layOutChart(const ChartData &data, const QSizeF &size, const QFont &font) {
    ChartLayout layout;
    Range xs, xReach, ys;
    dataRanges(data, xs, xReach, ys);
    if (xs.empty() || ys.empty())
        return layout;
    layout.noData = false;
    const QFontMetricsF metrics(font);
    const double line = metrics.height();

    // From the top: legend, half a label above the top tick, plot, x labels, x title.
    const double top = placeLegend(layout, legendItems(data), size.width(), metrics) + line / 2;
    const double xLabelOffset = std::max(kTick + 2, line / 2 + 2);
    const double xTitleHeight = data.x.title.isEmpty() ? 0 : line + kGap / 2;
    const double bottom = size.height() - kPad - xTitleHeight - line - xLabelOffset;
    const Ticks yTicks = yAxisTicks(ys, data.y, bottom - top, line);
    if (yTicks.values.size() < 2)
        return layout;

    // From the left: y title, y labels, ticks, plot, half the last x label.
    const double yTitleWidth = data.y.title.isEmpty() ? 0 : line + kGap;
    const double leftOfLabels = kPad + yTitleWidth + widest(tickTexts(data.y, yTicks), metrics) + kGap + kTick;
    const Ticks xTicks = xAxisTicks(xs, xReach, data.x, size.width(), leftOfLabels, metrics);
    if (xTicks.values.size() < 2)
        return layout;
    const Sides sides = xSides(tickTexts(data.x, xTicks), leftOfLabels, metrics);
    const QRectF plot(QPointF(sides.left, top), QPointF(size.width() - sides.right, bottom));
    if (plot.width() < 2 * line || plot.height() < 2 * line)
        return layout;

    layout.plot = plot;
    layout.xTicks = xTicks.values;
    layout.yTicks = yTicks.values;
    layout.xLow = std::min(xTicks.values.front(), xReach.low);
    layout.xHigh = std::max(xTicks.values.back(), xReach.high);
    layout.yLow = yTicks.values.front();
    layout.yHigh = yTicks.values.back();
    placeTickLabels(layout, data, xTicks, yTicks, xLabelOffset, metrics);
    placeTitles(layout, data, size, bottom + xLabelOffset + line + kGap / 2, metrics);
    return layout;
}

namespace {

// Okabe and Ito's palette: told apart with every common colour-vision deficiency.
QColor roleColour(ChartRole role) {
    switch (role) {
    case ChartRole::Primary:
        return QColor(0x00, 0x72, 0xB2);
    case ChartRole::Secondary:
        return QColor(0xD5, 0x5E, 0x00);
    case ChartRole::Accent:
        return QColor(0x00, 0x9E, 0x73);
    case ChartRole::Neutral:
        break;
    }
    return QColor(0x00, 0x00, 0x00);
}

QPen rolePen(ChartRole role) {
    static constexpr Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DashDotLine, Qt::DotLine};
    return QPen(roleColour(role), kLineWidth, styles[static_cast<int>(role)], Qt::FlatCap, Qt::BevelJoin);
}

QColor wash(ChartRole role, double opacity) {
    QColor colour = roleColour(role);
    colour.setAlphaF(static_cast<float>(opacity));
    return colour;
}

constexpr double kBandOpacity = 0.16;
constexpr double kShadeOpacity = 0.14;
constexpr double kBarOpacity = 0.8;
const QColor kText(0x22, 0x22, 0x22);
const QColor kFrame(0x55, 0x55, 0x55);
const QColor kGrid(0xE2, 0xE2, 0xE2);
const QColor kZero(0x99, 0x99, 0x99);

// Consecutive points with finite values, each run drawn on its own.
template <typename Point, typename Valid, typename Draw>
void forEachRun(const std::vector<Point> &points, Valid valid, Draw draw) {
    size_t start = 0;
    for (size_t i = 0; i <= points.size(); ++i)
        if (i == points.size() || !valid(points[i])) {
            if (i > start)
                draw(points.begin() + static_cast<std::ptrdiff_t>(start),
                     points.begin() + static_cast<std::ptrdiff_t>(i));
            start = i + 1;
        }
}

// Of consecutive points that fall in one pixel column, the lowest and the
// highest draw the same picture as all of them: ten thousand visits would
// otherwise cost the stroker a tenth of a second.
QPolygonF thinned(const QPolygonF &line) {
    QPolygonF kept;
    for (qsizetype start = 0; start < line.size();) {
        const double column = std::floor(line[start].x());
        qsizetype end = start, lowest = start, highest = start;
        for (; end < line.size() && std::floor(line[end].x()) == column; ++end) {
            if (line[end].y() < line[lowest].y())
                lowest = end;
            if (line[end].y() > line[highest].y())
                highest = end;
        }
        if (end - start <= 2)
            for (qsizetype i = start; i < end; ++i)
                kept << line[i];
        else
            kept << line[std::min(lowest, highest)] << line[std::max(lowest, highest)];
        start = end;
    }
    return kept;
}

// A solid line stroked in one piece costs the rasterizer every place where
// it crosses itself; in short pieces with square ends it looks the same and
// draws several times faster. A dashed line must stay whole to keep its rhythm.
void strokePolyline(QPainter &painter, const QPolygonF &line, QPen pen) {
    if (pen.style() != Qt::SolidLine) {
        painter.setPen(pen);
        painter.drawPolyline(line);
        return;
    }
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    constexpr qsizetype kPiece = 64;
    for (qsizetype i = 0; i + 1 < line.size(); i += kPiece)
        painter.drawPolyline(line.constData() + i, static_cast<int>(std::min(kPiece + 1, line.size() - i)));
}

void paintShade(QPainter &painter, const ChartLayout &layout, const ChartShade &shade) {
    const double from = std::max(std::min(shade.from, shade.to), layout.xLow);
    const double to = std::min(std::max(shade.from, shade.to), layout.xHigh);
    if (!(from < to))
        return;
    painter.fillRect(QRectF(QPointF(layout.map(from, 0).x(), layout.plot.top()),
                            QPointF(layout.map(to, 0).x(), layout.plot.bottom())),
                     wash(shade.role, kShadeOpacity));
}

void paintBand(QPainter &painter, const ChartLayout &layout, const ChartBand &band) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(wash(band.role, kBandOpacity));
    forEachRun(
        band.points, [](const BandPoint &p) { return finite(p.x, p.lower, p.upper); },
        [&](auto begin, auto end) {
            if (end - begin == 1) {
                // A lone point still shows its spread, as a narrow bar.
                const QPointF high = layout.map(begin->x, begin->upper), low = layout.map(begin->x, begin->lower);
                painter.drawRect(QRectF(QPointF(high.x() - 3, high.y()), QPointF(low.x() + 3, low.y())));
                return;
            }
            QPolygonF upper, lower;
            for (auto p = begin; p != end; ++p)
                upper << layout.map(p->x, p->upper), lower << layout.map(p->x, p->lower);
            QPolygonF outline = thinned(upper);
            lower = thinned(lower);
            std::reverse(lower.begin(), lower.end());
            painter.drawPolygon(outline << lower);
        });
}

void paintBars(QPainter &painter, const ChartLayout &layout, const ChartBars &bars) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(wash(bars.role, kBarOpacity));
    for (const ChartBar &bar : bars.bars) {
        if (!finite(bar.left, bar.right, bar.height))
            continue;
        QRectF rect = QRectF(layout.map(bar.left, bar.height), layout.map(bar.right, 0)).normalized();
        // A hairline of paper between neighbours, where the bars are wide enough to spare it.
        if (rect.width() >= 4)
            rect.adjust(0.5, 0, -0.5, 0);
        painter.drawRect(rect);
    }
}

void paintSeries(QPainter &painter, const ChartLayout &layout, const ChartSeries &series) {
    const QPen pen = rolePen(series.role);
    forEachRun(
        series.points, [](const ChartPoint &p) { return finite(p.x, p.y); },
        [&](auto begin, auto end) {
            if (end - begin == 1) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(pen.color());
                painter.drawEllipse(layout.map(begin->x, begin->y), 3.5, 3.5);
                return;
            }
            QPolygonF line;
            for (auto p = begin; p != end; ++p)
                line << layout.map(p->x, p->y);
            painter.setBrush(Qt::NoBrush);
            strokePolyline(painter, thinned(line), pen);
        });
}

void paintGrid(QPainter &painter, const ChartLayout &layout) {
    painter.setPen(QPen(kGrid, 1));
    for (double y : layout.yTicks)
        painter.drawLine(layout.map(layout.xLow, y), layout.map(layout.xHigh, y));
    if (layout.yLow < 0 && layout.yHigh > 0) {
        painter.setPen(QPen(kZero, 1));
        painter.drawLine(layout.map(layout.xLow, 0), layout.map(layout.xHigh, 0));
    }
}

void paintPlot(QPainter &painter, const ChartLayout &layout, const ChartData &data) {
    painter.save();
    painter.setClipRect(layout.plot);
    if (data.shade)
        paintShade(painter, layout, *data.shade);
    paintGrid(painter, layout);
    for (const ChartBand &band : data.bands)
        paintBand(painter, layout, band);
    paintBars(painter, layout, data.bars);
    for (const ChartMarker &marker : data.markers) {
        if (!std::isfinite(marker.x))
            continue;
        const double x = layout.map(marker.x, 0).x();
        painter.setPen(rolePen(marker.role));
        painter.drawLine(QPointF(x, layout.plot.top()), QPointF(x, layout.plot.bottom()));
    }
    for (const ChartSeries &series : data.series)
        paintSeries(painter, layout, series);
    painter.restore();
}

void paintAxes(QPainter &painter, const ChartLayout &layout) {
    painter.setPen(QPen(kFrame, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(layout.plot);
    for (double x : layout.xTicks) {
        const QPointF at = layout.map(x, layout.yLow);
        painter.drawLine(at, at + QPointF(0, kTick));
    }
    for (double y : layout.yTicks) {
        const QPointF at = layout.map(layout.xLow, y);
        painter.drawLine(at, at - QPointF(kTick, 0));
    }
    painter.setPen(kText);
    for (const ChartLabel &label : layout.xLabels)
        painter.drawText(label.rect, Qt::AlignCenter, label.text);
    for (const ChartLabel &label : layout.yLabels)
        painter.drawText(label.rect, Qt::AlignRight | Qt::AlignVCenter, label.text);
    painter.drawText(layout.xTitle.rect, Qt::AlignCenter, layout.xTitle.text);
    if (!layout.yTitle.text.isEmpty()) {
        const QRectF rect = layout.yTitle.rect;
        painter.save();
        painter.translate(rect.center());
        painter.rotate(-90);
        painter.drawText(QRectF(-rect.height() / 2, -rect.width() / 2, rect.height(), rect.width()), Qt::AlignCenter,
                         layout.yTitle.text);
        painter.restore();
    }
}

void paintSample(QPainter &painter, const QRectF &area, const LegendItem &item) {
    const double middle = area.center().y();
    const QRectF swatch(area.left(), middle - area.height() * 0.3, area.width(), area.height() * 0.6);
    painter.setBrush(Qt::NoBrush);
    switch (item.kind) {
    case SampleKind::Line:
        painter.setPen(rolePen(item.role));
        painter.drawLine(QPointF(area.left(), middle), QPointF(area.right(), middle));
        return;
    case SampleKind::Band:
        for (int layer = 0; layer < item.layers; ++layer)
            painter.fillRect(swatch, wash(item.role, kBandOpacity));
        return;
    case SampleKind::Bar:
        painter.fillRect(swatch, wash(item.role, kBarOpacity));
        return;
    case SampleKind::Wash:
        painter.fillRect(swatch, wash(item.role, kShadeOpacity));
        painter.setPen(QPen(kGrid, 1));
        painter.drawRect(swatch);
        return;
    }
}

void paintLegend(QPainter &painter, const ChartLayout &layout, const ChartData &data) {
    const std::vector<LegendItem> items = legendItems(data);
    for (size_t i = 0; i < layout.legend.size() && i < items.size(); ++i) {
        paintSample(painter, layout.legend[i].sample, items[i]);
        painter.setPen(kText);
        painter.drawText(layout.legend[i].label.rect, Qt::AlignLeft | Qt::AlignVCenter, layout.legend[i].label.text);
    }
}

} // namespace

void paintChart(QPainter &painter, const QRectF &area, const ChartData &data, const QFont &font) {
    painter.save();
    painter.translate(area.topLeft());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font);
    const QRectF bounds(QPointF(0, 0), area.size());
    painter.fillRect(bounds, Qt::white);
    const ChartLayout layout = layOutChart(data, area.size(), font);
    if (layout.noData) {
        painter.setPen(kFrame);
        painter.drawText(bounds, Qt::AlignCenter, QString::fromUtf8(kChartNoData));
    } else if (!layout.plot.isEmpty()) {
        paintPlot(painter, layout, data);
        paintAxes(painter, layout);
        paintLegend(painter, layout, data);
    }
    painter.restore();
}

ChartWidget::ChartWidget(QWidget *parent) : QWidget(parent) {
    setFont(uiFont());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartWidget::setData(ChartData data) {
    data_ = std::move(data);
    update();
}

QSize ChartWidget::sizeHint() const { return {480, 320}; }

QSize ChartWidget::minimumSizeHint() const { return {240, 160}; }

void ChartWidget::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    paintChart(painter, rect(), data_, font());
}

} // namespace zenbalo
