// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader (Orca over AT-SPI) hears: every control named after
// its caption, every figure placed by its row and column.

#include "support/form_fixture.h"
#include "support/qt_printers.h"

#include "app/frm_analysis.h"
#include "app/frm_hatsu_kaiten.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLineEdit>
#include <algorithm>
#include <iterator>
#include <vector>

namespace zenbalo::testing {
namespace {

QString spoken(QWidget *widget, QAccessible::Text what) {
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(what) : "(none)";
}

// The name a screen reader gives a control. A list's name is its entry on
// Linux, and what it is for comes from the label it is labelled by.
QString spokenName(QWidget *widget) {
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    if (accessible->role() != QAccessible::ComboBox)
        return accessible->text(QAccessible::Name);
    const auto labels = accessible->relations(QAccessible::Label);
    return labels.isEmpty() ? "(no label)" : labels.first().first->text(QAccessible::Name);
}

QAccessible::Role role(QWidget *widget) { return QAccessible::queryAccessibleInterface(widget)->role(); }

// Every control a player works of `window`, as role and name, sorted.
std::vector<std::pair<int, QString>> controls(QWidget &window) {
    std::vector<std::pair<int, QString>> all;
    for (QWidget *w : window.findChildren<QWidget *>())
        if ((qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractButton *>(w)) &&
            w->isVisibleTo(&window))
            all.emplace_back(role(w), spokenName(w));
    std::sort(all.begin(), all.end());
    return all;
}

template <typename T> std::vector<T> sorted(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    return v;
}

// The descriptions of every figure of `window`, sorted; each figure's name is its text.
std::vector<QString> figures(QWidget &window) {
    std::vector<QString> all;
    for (FigureLabel *figure : window.findChildren<FigureLabel *>()) {
        EXPECT_EQ(role(figure), QAccessible::StaticText);
        EXPECT_EQ(spoken(figure, QAccessible::Name), figure->text());
        all.push_back(spoken(figure, QAccessible::Description));
    }
    std::sort(all.begin(), all.end());
    return all;
}

// What is missing from `got` and what it has besides `want`, both sorted.
template <typename T> void expectSame(const std::vector<T> &got, const std::vector<T> &want) {
    std::vector<T> missing, extra;
    std::set_difference(want.begin(), want.end(), got.begin(), got.end(), std::back_inserter(missing));
    std::set_difference(got.begin(), got.end(), want.begin(), want.end(), std::back_inserter(extra));
    EXPECT_TRUE(missing.empty()) << ::testing::PrintToString(missing);
    EXPECT_TRUE(extra.empty()) << ::testing::PrintToString(extra);
}

class AccessibilityTest : public FormTest {};

TEST_F(AccessibilityTest, TheMainWindowNamesEveryControlAfterItsCaption) {
    start();
    constexpr int edit = QAccessible::EditableText, list = QAccessible::ComboBox, radio = QAccessible::RadioButton;
    std::vector<std::pair<int, QString>> want = {
        {edit, "機種名"},      {edit, "大当たり確率"}, {edit, "高確率時"},     {edit, "確変突入率"},
        {edit, "確変転落率"},  {edit, "確変回転数"},   {edit, "確変リミット"}, {edit, "時短1突入率"},
        {edit, "時短1回転数"}, {edit, "時短2突入率"},  {edit, "時短2回転数"},  {edit, "時短3突入率"},
        {edit, "時短3回転数"}, {edit, "時短4突入率"},  {edit, "時短4回転数"},  {edit, "大当たり出玉"},
        {edit, "回転率"},      {edit, "総回転数"},     {list, "換金率"},       {QAccessible::Button, "計算(C)"},
    };
    for (const char *g : {"1", "2", "3", "4", "5", "6", "7"}) {
        want.emplace_back(radio, QString("グループ") + g);
        want.emplace_back(edit, QString("グループ") + g + "のタイトル");
        want.emplace_back(list, QString("グループ") + g + "の機種");
    }
    expectSame(controls(*form), sorted(want));
}

TEST_F(AccessibilityTest, EveryFigureOfTheMainWindowSaysItsRowAndColumn) {
    start();
    calculateMachine(workedExampleMachine());
    std::vector<QString> want = {"平均初当たり数", "平均総当たり数", "平均連荘数", "トータル確率", "平均出玉"};
    for (int ratio = 0; ratio <= 100; ratio += 10) {
        want.push_back(QString::number(ratio) + "% ボーダー");
        want.push_back(QString::number(ratio) + "% 期待収支");
    }
    expectSame(figures(*form), sorted(want));
    EXPECT_EQ(spoken(ui().Label4[0], QAccessible::Name), "28.000") << "the figure as shown";
}

TEST_F(AccessibilityTest, TheSecondaryWindowsToo) {
    const SharedResults shared{2000, 100.0 / 28, 0.01, "CR機種", 1.0 / 300, 20};
    Journal journal;
    frmAnalysis analysis(shared, journal, dialogs, shell);
    constexpr int edit = QAccessible::EditableText;
    expectSame(controls(analysis), sorted<std::pair<int, QString>>({{edit, "店名"},
                                                                    {edit, "総回転数"},
                                                                    {edit, "総大当たり数"},
                                                                    {edit, "換金出玉数"},
                                                                    {edit, "投資金額"},
                                                                    {QAccessible::Button, "計算(C)"}}));
    expectSame(figures(analysis),
               sorted<QString>({"大当たり出玉", "換金率", "収支", "仕事量", "誤差", "ツキ指数", "回転率"}));

    frmHatsuKaiten firstHit(shared);
    std::vector<QString> want = {"回転率", "換金率"};
    for (int rotations = 100; rotations <= 2000; rotations += 100)
        for (const char *column : {"当たる確率", "現金投資時", "持ち玉投資時"})
            want.push_back(QString::number(rotations) + "回転 " + column);
    expectSame(figures(firstHit), sorted(want));
}

} // namespace
} // namespace zenbalo::testing
