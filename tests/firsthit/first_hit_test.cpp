// SPDX-License-Identifier: GPL-3.0-or-later
#include "firsthit/first_hit.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace zenbalo {
namespace {

const double kEndless = std::numeric_limits<double>::infinity();

SharedResults machine(double p = 1.0 / 300, double rotationRate = 20, double yenPerBall = 100.0 / 28) {
    return {2000, yenPerBall, 0.01, "CR機種", p, rotationRate};
}

TEST(FirstHitTable, Rows) {
    struct Case {
        const char *name;
        SharedResults shared;
        size_t row;
        FirstHitRow want;
    } cases[] = {
        {"100 rotations", machine(), 0, {"100:", "28.387%", "¥5000", "¥4464"}},
        {"1000 rotations", machine(), 9, {"1000:", "96.452%", "¥50000", "¥44643"}},
        {"2000 rotations", machine(), 19, {"2000:", "99.874%", "¥100000", "¥89286"}},
        {"chance below 1 %", machine(1.0 / 10000), 0, {"100:", ".995%", "¥5000", "¥4464"}},
        {"no chance at all", machine(0), 0, {"100:", ".000%", "¥5000", "¥4464"}},
        {"nothing paid per ball", machine(1.0 / 300, 20, 0), 0, {"100:", "28.387%", "¥5000", "¥"}},
        {"rotation rate 1", machine(1.0 / 300, 1), 0, {"100:", "28.387%", "¥100000", "¥89286"}},
        {"rotation rate 0", machine(1.0 / 300, 0), 0, {"100:", "28.387%", "-", "-"}},
        {"rotation rate above 100", machine(1.0 / 300, 100.5), 0, {"100:", "28.387%", "-", "-"}},
        {"rotation rate not a number", machine(1.0 / 300, std::nan("")), 0, {"100:", "28.387%", "-", "-"}},
        {"negative yen per ball", machine(1.0 / 300, 20, -1), 0, {"100:", "28.387%", "¥5000", "-"}},
        {"endless yen per ball", machine(1.0 / 300, 20, kEndless), 0, {"100:", "28.387%", "¥5000", "-"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const FirstHitRow got = firstHitTable(c.shared).rows[c.row];
        EXPECT_EQ(got.rotations + got.chance + " " + got.cash + " " + got.ownBalls,
                  c.want.rotations + c.want.chance + " " + c.want.cash + " " + c.want.ownBalls);
    }
}

TEST(FirstHitTable, Figures) {
    EXPECT_EQ(firstHitTable(machine()).rotationRate, "20.000");
    EXPECT_EQ(firstHitTable(machine()).yenPerBall, "¥3.571");
    EXPECT_EQ(firstHitTable(machine(1.0 / 300, 0.5, 0.25)).yenPerBall, "¥.250");
    EXPECT_EQ(firstHitTable(machine(1.0 / 300, kEndless, kEndless)).rotationRate, "-");
    EXPECT_EQ(firstHitTable(machine(1.0 / 300, kEndless, kEndless)).yenPerBall, "-");
}

TEST(FirstHitTable, Opening) {
    struct Case {
        const char *name;
        double p;
        const char *machineName;
        bool want;
    } cases[] = {
        {"ordinary machine", 1.0 / 300, "CR機種", true},
        {"a quarter", 0.25, "CR機種", true},
        {"failed probability", -1, "CR機種", false},
        {"above a quarter", 0.2500001, "CR機種", false},
        {"empty name", 1.0 / 300, "", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SharedResults shared = machine(c.p);
        shared.machineName = c.machineName;
        EXPECT_EQ(canOpenFirstHitTable(shared), c.want);
    }
}

} // namespace
} // namespace zenbalo
