// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/form_fixture.h"

#include "app/app_look.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QStyle>

namespace zenbalo::testing {
namespace {

using Answer = MessageBox::Answer;

// Where a label's text is drawn: its alignment within its geometry.
QRect inkRect(const QLabel *label) {
    const QSize size(label->fontMetrics().horizontalAdvance(label->text()), label->height());
    return QStyle::alignedRect(Qt::LeftToRight, label->alignment(), size, label->geometry());
}

std::string describe(const QWidget *w) {
    return (w->objectName() + " " + w->property("text").toString()).toStdString();
}

class LayoutTest : public FormTest {
protected:
    std::vector<FigureLabel *> figures() const {
        std::vector<FigureLabel *> all(ui().Label7.begin(), ui().Label7.end());
        all.insert(all.end(), ui().Label4.begin(), ui().Label4.end());
        all.insert(all.end(), ui().Label9.begin(), ui().Label9.end());
        return all;
    }

    // Every figure lies inside its frame, right-aligned at its edge, and
    // touches no caption and no other figure.
    void expectReadable(bool condensedAllowed) {
        for (FigureLabel *figure : figures()) {
            SCOPED_TRACE(figure->text().toStdString());
            QWidget *frame = figure->parentWidget();
            EXPECT_TRUE(frame->rect().contains(figure->geometry()));
            EXPECT_EQ(figure->geometry().right() + 1, figure->rightEdge());
            EXPECT_GE(figure->x(), figure->leftLimit());
            if (!condensedAllowed) {
                EXPECT_FALSE(figure->condensed()) << "wider than the room its column leaves";
            }
            for (QWidget *other : frame->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                if (other == figure || !other->isVisible())
                    continue;
                const auto *caption = qobject_cast<QLabel *>(other);
                const QRect occupied = caption ? inkRect(caption) : other->geometry();
                if (qobject_cast<FigureLabel *>(other) || caption) {
                    EXPECT_FALSE(figure->geometry().intersects(occupied)) << "overlaps " << describe(other);
                }
            }
        }
    }

    // The machine and play conditions typed, the exchange rate chosen and
    // the calculation run, as a player does it.
    void showMachine(const MachineRecord &machine, const QString &rate, const QString &total, int ballsPer100Yen) {
        typeMachine(machine);
        typeConditions(rate, total);
        chooseRate(ballsPer100Yen);
        calculate();
        ASSERT_EQ(ui().Label6->text(), "");
    }
};

TEST_F(LayoutTest, WindowIsBuiltAsDescribed) {
    start();
    EXPECT_EQ(form->windowTitle(), "Zenbalo");
    EXPECT_EQ(form->centralWidget()->size(), QSize(560, 421));
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_FALSE(ui().Text1[4]->isEnabled());
    EXPECT_FALSE(ui().Text1Caption[4]->isEnabled());
    EXPECT_EQ(ui().Text1Caption[4]->text(), "確変転落率:");
    EXPECT_EQ(ui().Text1[3]->geometry(), QRect(80, 88, 57, 18));
    EXPECT_EQ(ui().Text1Caption[3]->geometry().top(), 96);
    EXPECT_EQ(ui().Command1->text(), "計算(&C)");
    EXPECT_EQ(ui().Label3[16]->toolTip(), "収支¥0の回転率");
    EXPECT_EQ(ui().Label3[10]->text(), "100% :");
    EXPECT_EQ(QApplication::focusWidget(), ui().Text1[0]);
    EXPECT_FALSE(ui().mnuPaste->isEnabled());
    EXPECT_EQ(ui().mnuDelete->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    EXPECT_FALSE(ui().Combo1[0]->isEditable());
    EXPECT_FALSE(ui().Text1[1]->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_TRUE(ui().Text1[0]->testAttribute(Qt::WA_InputMethodEnabled));
}

// The icon comes once the window has been painted, with the sizes desktops draw.
TEST_F(LayoutTest, WindowHandsTheDesktopItsIcon) {
    start();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form->windowIcon().isNull(); }));
    QList<QSize> want;
    for (int size : kIconSizes)
        if (size <= kWindowIconLargest)
            want << QSize(size, size);
    EXPECT_EQ(form->windowIcon().availableSizes(), want);
}

TEST_F(LayoutTest, WidestFiguresShowWholeBesideTheirCaptions) {
    const MachineRecord st199 = sampleLibrary().group(3).machine(0);
    struct Case {
        const char *name;
        MachineRecord machine;
        QString rate, total;
        int balls;
        const char *figure; // one figure the case must show
    } cases[] = {
        {"the worked example", workedExampleMachine(), "20", "2000", 28, "1/150.000"},
        {"payout 100 without any chain",
         {"払出100", "1/300", "", "0", "", "0", "0", "", "", "", "", "", "", "", "", "100"},
         "20",
         "2000",
         27,
         "810.000"},
        {"rotation rate 1, 5000 rotations", st199, "1", "5000", 28, "\u00A5-4667300"},
        {"rotation rate 10, 5000 rotations", st199, "10", "5000", 28, "\u00A5-167300"},
        {"no limiter, payout 10000",
         {"リミット無し", "1/300", "1/30", "100", "", "10000", "10000", "", "", "", "", "", "", "", "", "10000"},
         "10",
         "5000",
         28,
         "100000000"},
    };
    start();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        showMachine(c.machine, c.rate, c.total, c.balls);
        bool shown = false;
        for (FigureLabel *figure : figures())
            shown = shown || figure->text() == c.figure;
        EXPECT_TRUE(shown) << c.figure << " but " << ui().Label9[0]->text().toStdString();
        expectReadable(false);
    }
}

TEST_F(LayoutTest, AbsurdFiguresAreCondensedRatherThanCut) {
    start();
    showMachine({"x", "1/99999999", "", "0", "", "0", "0", "", "", "", "", "", "", "", "", "1"}, "100", "5000", 28);
    EXPECT_TRUE(ui().Label4[0]->condensed());
    expectReadable(true);
}

TEST_F(LayoutTest, StandardTextsAreJapanese) {
    start();
    std::unique_ptr<QMenu> menu(ui().Text1[Name]->createStandardContextMenu());
    QStringList texts;
    for (QAction *a : menu->actions())
        if (!a->isSeparator())
            texts << a->text();
    ASSERT_FALSE(texts.isEmpty());
    EXPECT_TRUE(texts.join("").contains("元に戻す")) << texts.join(", ").toStdString();
}

TEST_F(LayoutTest, BoxesShowTheStartOfTheirText) {
    Library library = smallLibrary();
    library.setTitle(0, "とても長いグループのタイトルで箱に収まらないもの");
    MachineRecord a = library.group(0).machine(0);
    a[Name] = "0 とても長い機種名で名前の箱にも収まらない台の名前";
    ASSERT_EQ(library.updateMachine(0, 0, a), 0) << "the machine shown first";
    startWithLibraryFile(library);
    EXPECT_EQ(ui().Text2[0]->cursorPosition(), 0);
    ASSERT_EQ(ui().Text1[Name]->text().toStdString(), a[Name]);
    EXPECT_EQ(ui().Text1[Name]->cursorPosition(), 0);
}

} // namespace
} // namespace zenbalo::testing
