// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/library_files.h"
#include "support/form_fixture.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
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

class MainWindowTest : public FormTest {
protected:
    std::vector<FigureLabel *> figures() const {
        std::vector<FigureLabel *> all(form->Label7.begin(), form->Label7.end());
        all.insert(all.end(), form->Label4.begin(), form->Label4.end());
        all.insert(all.end(), form->Label9.begin(), form->Label9.end());
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

    void showMachine(const MachineRecord &machine, const QString &rate, const QString &total, int ballsPer100Yen) {
        for (int k = 0; k < kMachineFields; ++k)
            form->Text1[k]->write(QString::fromStdString(machine[k]));
        form->Text3[0]->write(rate);
        form->Text3[1]->write(total);
        const int entry = form->Combo2->findText(QString::number(ballsPer100Yen), Qt::MatchStartsWith);
        ASSERT_GE(entry, 0);
        form->Combo2->setCurrentIndex(entry);
        form->Combo2_Click();
        form->Calculate();
        ASSERT_EQ(form->Label6->text(), "");
    }
};

TEST_F(MainWindowTest, WidestFiguresShowWholeBesideTheirCaptions) {
    const MachineRecord st199 = sampleLibrary().machine(3, 0);
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
        EXPECT_TRUE(shown) << c.figure << " but " << form->Label9[0]->text().toStdString();
        expectReadable(false);
    }
}

TEST_F(MainWindowTest, AbsurdFiguresAreCondensedRatherThanCut) {
    start();
    showMachine({"x", "1/99999999", "", "0", "", "0", "0", "", "", "", "", "", "", "", "", "1"}, "100", "5000", 28);
    EXPECT_TRUE(form->Label4[0]->condensed());
    expectReadable(true);
}

TEST_F(MainWindowTest, EnterOnTheCalculateButtonPressesIt) {
    start();
    form->Text1[Payout]->write("1000"); // 2.736 hits of 1000 balls per first hit
    form->Command1->setFocus();
    QTest::keyClick(form->Command1, Qt::Key_Return);
    EXPECT_EQ(form->Label7[4]->text(), "2736");
}

TEST_F(MainWindowTest, ArrowKeysInTheGroupsChooseAsAClickWould) {
    writeFile(kLibraryFile, libraryBytes(smallLibrary()));
    start();
    form->Option1[0]->setFocus();
    QTest::keyClick(form->Option1[0], Qt::Key_Down);
    EXPECT_EQ(form->settings.currentGroup, 1);
    EXPECT_EQ(form->Text1[Name]->text(), "一般機");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(form->settings.currentGroup, 0);

    form->Text1[BigHitProbability]->write("1/250"); // an edit of the shown machine
    dialogs.answers = {Answer::No};
    form->Option1[0]->setFocus();
    QTest::keyClick(form->Option1[0], Qt::Key_Down);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].prompt, "新規作成を取り消しますか？");
    EXPECT_EQ(form->settings.currentGroup, 0);
    EXPECT_TRUE(form->Option1[0]->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), form->Option1[0])
        << "the focus stays with the group that stays" << (QApplication::focusWidget() == form->Option1[1]);
    EXPECT_EQ(form->Text1[BigHitProbability]->text(), "1/250");
}

TEST_F(MainWindowTest, TabAndShiftTabEnterTheGroupsAtTheSelectedOne) {
    writeFile(kLibraryFile, libraryBytes(smallLibrary()));
    start();
    QTest::mouseClick(form->Text2[1], Qt::LeftButton); // the greyed title chooses its group
    ASSERT_EQ(form->settings.currentGroup, 1);
    form->Text1[Payout]->setFocus();
    QTest::keyClick(form->Text1[Payout], Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->Option1[1]);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->Text2[1]);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), form->Option1[1]);
}

TEST_F(MainWindowTest, EachWindowsBoxesKeepItsOwnShortcuts) {
    start();
    // A second window whose menu takes Ctrl+S but leaves Ctrl+A to its boxes.
    QMainWindow other;
    QAction *save = other.menuBar()->addMenu("F")->addAction("S");
    save->setShortcut(Qt::CTRL | Qt::Key_S);
    auto *box = new EntryBox(BoxFilter::Text, &other);
    other.setCentralWidget(box);
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    box->setFocus();
    box->write("abc");
    QSignalSpy saved(save, &QAction::triggered);
    QTest::keyClick(box, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(saved.count(), 1);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(box->selectedText(), "abc") << "Ctrl+A is the box's own here";

    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->Text1[Name]->setFocus();
    QSignalSpy added(form->mnuAdd, &QAction::triggered);
    QTest::keyClick(form->Text1[Name], Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(added.count(), 1) << "the main window's boxes still leave Ctrl+A to Add";
    EXPECT_FALSE(form->Text1[Name]->hasSelectedText());
}

TEST_F(MainWindowTest, StandardTextsAreJapanese) {
    start();
    std::unique_ptr<QMenu> menu(form->Text1[Name]->createStandardContextMenu());
    QStringList texts;
    for (QAction *a : menu->actions())
        if (!a->isSeparator())
            texts << a->text();
    ASSERT_FALSE(texts.isEmpty());
    EXPECT_TRUE(texts.join("").contains("元に戻す")) << texts.join(", ").toStdString();
}

TEST_F(MainWindowTest, BoxesShowTheStartOfTheirText) {
    Library library = smallLibrary();
    library.groupTitles[0] = "とても長いグループのタイトルで箱に収まらないもの";
    library.machineStrings[0] = "とても長い機種名で名前の箱にも収まらない台の名前"; // A keeps list position 0
    writeFile(kLibraryFile, libraryBytes(library));
    start();
    EXPECT_EQ(form->Text2[0]->cursorPosition(), 0);
    EXPECT_EQ(form->Text1[Name]->cursorPosition(), 0);
}

} // namespace
} // namespace zenbalo::testing
