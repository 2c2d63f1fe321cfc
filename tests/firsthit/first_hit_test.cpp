#include "firsthit/first_hit.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace zenbalo {
namespace {

const double kInfinity = std::numeric_limits<double>::infinity();

SharedResults machine(double p = 1.0 / 300, double rotationRate = 20, double yenPerBall = 100.0 / 28) {
    SharedResults shared;
    shared.machineName = "CR機種";
    shared.hitProbability = p;
    shared.rotationRate = rotationRate;
    shared.yenPerBall = yenPerBall;
    return shared;
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
        {"between the halves", machine(), 10, {"1100:", "97.459%", "¥55000", "¥49107"}},
        {"chance below 1 %", machine(1.0 / 10000), 0, {"100:", ".995%", "¥5000", "¥4464"}},
        {"no chance at all", machine(0), 19, {"2000:", ".000%", "¥100000", "¥89286"}},
        {"nothing paid out per ball", machine(1.0 / 300, 20, 0), 0, {"100:", "28.387%", "¥5000", "¥"}},
        {"rotation rate 1", machine(1.0 / 300, 1), 0, {"100:", "28.387%", "¥100000", "¥89286"}},
        {"rotation rate 100", machine(1.0 / 300, 100), 0, {"100:", "28.387%", "¥1000", "¥893"}},
        {"rotation rate 0", machine(1.0 / 300, 0), 0, {"100:", "28.387%", "-", "-"}},
        {"rotation rate below 1", machine(1.0 / 300, 0.5), 0, {"100:", "28.387%", "-", "-"}},
        {"rotation rate above 100", machine(1.0 / 300, 101), 0, {"100:", "28.387%", "-", "-"}},
        {"endless rotation rate", machine(1.0 / 300, kInfinity), 0, {"100:", "28.387%", "-", "-"}},
        {"rotation rate not a number", machine(1.0 / 300, std::nan("")), 0, {"100:", "28.387%", "-", "-"}},
        {"negative yen per ball", machine(1.0 / 300, 20, -1), 0, {"100:", "28.387%", "¥5000", "-"}},
        {"endless yen per ball", machine(1.0 / 300, 20, kInfinity), 0, {"100:", "28.387%", "¥5000", "-"}},
        {"yen per ball not a number", machine(1.0 / 300, 20, std::nan("")), 0, {"100:", "28.387%", "¥5000", "-"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const FirstHitRow got = firstHitTable(c.shared).rows[c.row];
        EXPECT_EQ(got.rotations, c.want.rotations);
        EXPECT_EQ(got.chance, c.want.chance);
        EXPECT_EQ(got.cash, c.want.cash);
        EXPECT_EQ(got.ownBalls, c.want.ownBalls);
    }
}

TEST(FirstHitTable, Figures) {
    struct Case {
        const char *name;
        SharedResults shared;
        const char *rotationRate;
        const char *yenPerBall;
    } cases[] = {
        {"28 balls per 100 yen", machine(), "20.000", "¥3.571"},
        {"below one", machine(1.0 / 300, 0.5, 0.25), ".500", "¥.250"},
        {"zero", machine(1.0 / 300, 0, 0), ".000", "¥.000"},
        {"endless", machine(1.0 / 300, kInfinity, kInfinity), "-", "-"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const FirstHitTable got = firstHitTable(c.shared);
        EXPECT_EQ(got.rotationRate, c.rotationRate);
        EXPECT_EQ(got.yenPerBall, c.yenPerBall);
    }
}

TEST(FirstHitTable, OpensOnlyForAUsableProbabilityAndAName) {
    struct Case {
        const char *name;
        double p;
        const char *machineName;
        bool want;
    } cases[] = {
        {"ordinary machine", 1.0 / 300, "CR機種", true}, {"highest probability", 0.25, "CR機種", true},
        {"zero probability", 0, "CR機種", true},         {"failed probability", -1, "CR機種", false},
        {"above a quarter", 0.2500001, "CR機種", false}, {"empty name", 1.0 / 300, "", false},
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
