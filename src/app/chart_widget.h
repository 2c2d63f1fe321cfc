// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

class QPainter;

namespace zenbalo {

// Ticks at multiples of a step of 1, 2 or 5 times a power of ten: the first at
// or below `low`, the last at or above `high`, at most `maxCount` of them
// (but 2 allowed always, 3 across zero) with the smallest step that keeps to
// that and is at least `minStep`. A range of one value is widened around it.
// Empty when the range is not finite.
struct Ticks {
    double step = 0;
    std::vector<double> values;
};
Ticks niceTicks(double low, double high, int maxCount, double minStep = 0);

// The text of a tick at `value` on an axis whose ticks are `step` apart.
using TickFormatter = std::function<QString(double value, double step)>;

struct ChartAxis {
    QString title;
    TickFormatter format;
    // Labels that show whole numbers need ticks at whole numbers, or two ticks
    // would read the same.
    double minStep = 0;

    static ChartAxis yen(const QString &title);     // "¥-14400"
    static ChartAxis integer(const QString &title); // "50"
    static ChartAxis percent(const QString &title); // 0.125 as "12.5%"
};

// Colour and line style together, from a palette that stays apart for
// colour-blind eyes and in grey print: every role has its own dash pattern.
enum class ChartRole { Primary, Secondary, Accent, Neutral };

struct ChartPoint {
    double x = 0;
    double y = 0;
};

struct ChartSeries {
    QString name;
    ChartRole role = ChartRole::Primary;
    std::vector<ChartPoint> points;
};

struct BandPoint {
    double x = 0;
    double lower = 0;
    double upper = 0;
};

// Bands are drawn in the order given, each a light wash of its role's colour,
// so a band lying inside the one before reads darker.
struct ChartBand {
    QString name;
    ChartRole role = ChartRole::Secondary;
    std::vector<BandPoint> points;
};

struct ChartBar {
    double left = 0;
    double right = 0;
    double height = 0;
};

struct ChartBars {
    QString name;
    ChartRole role = ChartRole::Primary;
    std::vector<ChartBar> bars;
};

struct ChartMarker {
    double x = 0;
    QString label;
    ChartRole role = ChartRole::Neutral;
};

// A wash over the plot's full height between two x, either of which may be
// infinite.
struct ChartShade {
    double from = 0;
    double to = 0;
    QString label;
    ChartRole role = ChartRole::Accent;
};

struct ChartData {
    ChartAxis x;
    ChartAxis y;
    std::vector<ChartSeries> series;
    std::vector<ChartBand> bands;
    ChartBars bars;
    std::vector<ChartMarker> markers;
    std::optional<ChartShade> shade;
};

// Where everything goes in a chart of a given size; the painting only follows
// it. `plot` is empty when there is no data or no room for it.
struct ChartLabel {
    QRectF rect;
    QString text;
};
struct ChartLegendEntry {
    QRectF sample;
    ChartLabel label;
};
struct ChartLayout {
    bool noData = true;
    QRectF plot;
    double xLow = 0, xHigh = 1, yLow = 0, yHigh = 1;
    std::vector<double> xTicks, yTicks;
    std::vector<ChartLabel> xLabels, yLabels;
    ChartLabel xTitle, yTitle; // yTitle.rect is the rotated text's bounds
    std::vector<ChartLegendEntry> legend;

    QPointF map(double x, double y) const;
};
ChartLayout layOutChart(const ChartData &data, const QSizeF &size, const QFont &font);

// Draws into `area`; the widget and the tests share it.
void paintChart(QPainter &painter, const QRectF &area, const ChartData &data, const QFont &font);

inline constexpr const char *kChartNoData = "データがありません";

// A chart that fills what its layout gives it, in the program's font.
class ChartWidget : public QWidget {
    Q_OBJECT
public:
    explicit ChartWidget(QWidget *parent = nullptr);
    void setData(ChartData data);
    const ChartData &data() const { return data_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ChartData data_;
};

} // namespace zenbalo
