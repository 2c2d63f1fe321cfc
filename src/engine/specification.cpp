// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/specification.h"

#include "common/number.h"

#include <cmath>
#include <optional>

namespace zenbalo {

const std::array<SpecField, kMachineFields> &specFields() {
    static const std::array<SpecField, kMachineFields> fields = {{
        {"", "機種名", KeyClass::Free},
        {"大当たり確率:", "分数で入力", KeyClass::Probability},
        {"高確率時:", "分数で入力", KeyClass::Probability},
        {"確変突入率:", "分数か%で入力", KeyClass::Probability},
        {"確変転落率:", "分数か%で入力", KeyClass::Disabled},
        {"確変回転数:", "次回までは10000", KeyClass::Count},
        {"確変リミット:", "リミッター無しは10000", KeyClass::Count},
        {"時短1突入率:", "分数か%で入力", KeyClass::Probability},
        {"時短1回転数:", "", KeyClass::Count},
        {"時短2突入率:", "分数か%で入力", KeyClass::Probability},
        {"時短2回転数:", "", KeyClass::Count},
        {"時短3突入率:", "分数か%で入力", KeyClass::Probability},
        {"時短3回転数:", "", KeyClass::Count},
        {"時短4突入率:", "分数か%で入力", KeyClass::Probability},
        {"時短4回転数:", "", KeyClass::Count},
        {"大当たり出玉:", "確変や時短中の玉増減を考慮した大当たり1回分の出玉", KeyClass::Count},
    }};
    return fields;
}

double ParseFraction(std::string_view text) {
    const size_t slash = text.find('/');
    double numerator = 0, denominator = 0;
    if (slash != std::string_view::npos && slash > 0) {
        numerator = leadingNumber(text.substr(0, slash));
        if (slash + 1 < text.size())
            denominator = leadingNumber(text.substr(slash + 1));
    }
    if (denominator == 0)
        return -1;
    if (numerator > denominator)
        return -1;
    const double result = numerator / denominator;
    return std::isnan(result) ? -1 : result; // both too large to read
}

double ParseRate(std::string_view text) {
    if (text.find('/') != std::string_view::npos)
        return ParseFraction(text);
    const double v = leadingNumber(text);
    return v > 100 ? -1 : v / 100;
}

namespace {

std::string failedMessage(int index) {
    std::string caption = specFields()[index].caption;
    caption.pop_back(); // the colon
    return caption + "が異常です。";
}

} // namespace

Validation validateSpecification(const MachineRecord &text1, std::string_view rotationRateText,
                                 std::string_view totalRotationsText) {
    Validation v;
    Specification &s = v.spec;
    auto fail = [&v](std::string message) { v.message = std::move(message); };

    const std::optional<int32_t> total = toInt32(leadingNumber(totalRotationsText));
    if (!total || *total < 1 || *total > 5000)
        fail("総回転数は1～5000回転です。");
    s.N = total.value_or(0);

    s.rotationRate = leadingNumber(rotationRateText);
    if (s.rotationRate < 1 || s.rotationRate > 100)
        fail("回転率は1～100回転です。");

    const std::optional<int32_t> payout = toInt32(leadingNumber(text1[Payout]));
    v.payoutRead = payout.has_value();
    if (!payout || *payout < 1 || *payout > 10000)
        fail("大当たり出玉は1～10000個です。");
    s.B = payout.value_or(0);

    auto count = [&](int index, int16_t &out) {
        const std::optional<int16_t> value = toInt16(leadingNumber(text1[index]));
        if (!value)
            fail(failedMessage(index));
        out = value.value_or(0);
    };
    auto rate = [&](int index, double &out) {
        out = ParseRate(text1[index]);
        if (out == -1.0)
            fail(failedMessage(index));
    };

    for (int stage = 3; stage >= 0; --stage) {
        rate(TimeSaving1EntryRate + 2 * stage, s.t[stage]);
        count(TimeSaving1Rotations + 2 * stage, s.m[stage]);
    }
    count(ProbChangeLimit, s.L);
    count(ProbChangeRotations, s.R);
    double fallRate = 0;
    rate(ProbChangeFallRate, fallRate); // validated only: no result depends on it
    rate(ProbChangeEntryRate, s.e);

    const std::string &high = text1[HighProbability];
    s.h = (high.empty() || high == "0") ? 0.0 : ParseFraction(high);
    if (s.h == -1.0)
        fail(failedMessage(HighProbability));

    s.p = ParseFraction(text1[BigHitProbability]);
    if (s.p == -1.0 || s.p > 0.25)
        fail(failedMessage(BigHitProbability));
    return v;
}

} // namespace zenbalo
