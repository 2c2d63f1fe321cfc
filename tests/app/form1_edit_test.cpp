// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/form_fixture.h"

#include "library/library_files.h"
#include "library/settings.h"

#include <QAction>
#include <QComboBox>
#include <QRadioButton>
#include <functional>
#include <optional>

namespace zenbalo::testing {
namespace {

using Answer = MessageBox::Answer;

std::string said(const MessageBox &box) {
    const char *buttons[] = {"OK", "Yes/No", "Yes/No/Cancel"};
    const char *icons[] = {"question", "critical"};
    const char *answers[] = {"OK", "Yes", "No", "Cancel"};
    return box.prompt + " | " + box.title + " | " + buttons[static_cast<int>(box.buttons)] + " " +
           icons[static_cast<int>(box.icon)] + " " + answers[static_cast<int>(box.defaultButton)];
}
std::string question(const std::string &prompt, const std::string &title, Answer defaultButton) {
    return said({prompt, title, MessageBox::Buttons::YesNo, MessageBox::Icon::Question, defaultButton});
}
std::string refusal(const std::string &prompt, const std::string &title) {
    return said({prompt, title, MessageBox::Buttons::Ok, MessageBox::Icon::Critical, Answer::Ok});
}

class EditTest : public FormTest {
public:
    void answer(std::deque<Answer> answers) { dialogs.answers = std::move(answers); }
    // Types a machine like machineRecord(name) into the boxes.
    void typeMachine(const QString &name) { FormTest::typeMachine(machineRecord(name.toStdString())); }

    std::vector<std::string> asked() const {
        std::vector<std::string> out;
        for (const MessageBox &box : dialogs.asked)
            out.push_back(said(box));
        return out;
    }

    // Every list holds its group's names in stored order, the current one
    // selected where the settings say.
    void expectListsMirrorTheLibrary() const {
        for (int g = 0; g < kGroups; ++g) {
            SCOPED_TRACE(g);
            std::vector<std::string> shown;
            for (int i = 0; i < ui().Combo1[g]->count(); ++i)
                shown.push_back(ui().Combo1[g]->itemText(i).toStdString());
            EXPECT_EQ(shown, form->library().group(g).names());
        }
        const int g = form->settings().currentGroup;
        EXPECT_EQ(ui().Combo1[g]->currentIndex(), form->settings().groupListIndex[g]);
    }

    // The boxes show the current group's selected machine.
    void expectBoxesShowTheSelection() const {
        const int g = form->settings().currentGroup;
        MachineRecord shown{};
        if (form->library().group(g).count() > 0)
            shown = form->library().group(g).machine(std::max<int>(form->settings().groupListIndex[g], 0));
        for (int k = 0; k < kMachineFields; ++k)
            EXPECT_EQ(ui().Text1[k]->text().toStdString(), shown[k]) << "box " << k;
    }

    // New mode is on exactly when New and the lists are locked.
    void expectNewMode(bool on) const {
        for (QAction *a : {ui().mnuShinki, ui().mnuUpDate, ui().mnuKiritori, ui().mnuDelete})
            EXPECT_EQ(a->isEnabled(), !on) << a->text().toStdString();
        EXPECT_TRUE(ui().mnuAdd->isEnabled());
        for (int g = 0; g < kGroups; ++g)
            EXPECT_EQ(ui().Combo1[g]->isEnabled(), !on && g == form->settings().currentGroup) << "list " << g;
        if (on)
            EXPECT_FALSE(ui().mnuPaste->isEnabled());
        else
            EXPECT_EQ(ui().mnuPaste->isEnabled(), form->cutWaiting());
    }
};

TEST_F(EditTest, NewThenAddIntoAnEmptyLibrary) {
    startWith(makeLibrary({}, {"海", "", "", "", "", "", ""}));
    type(ui().Text1[Payout], "1"); // New over a box that held text
    answer({Answer::No});
    press(kNew);
    EXPECT_EQ(ui().Text1[Payout]->text(), "1") << "No changes nothing";
    expectNewMode(false);

    answer({Answer::Yes});
    press(kNew);
    EXPECT_EQ(ui().Label6->text(), "新規作成");
    for (EntryBox *box : ui().Text1)
        EXPECT_EQ(box->text(), "");
    EXPECT_TRUE(form->machineEdited());
    EXPECT_FALSE(form->dataChanged());
    expectNewMode(true);

    typeMachine("海物語");
    answer({Answer::Yes});
    press(kAdd);
    EXPECT_EQ(asked(), (std::vector<std::string>{
                           question("海に新規作成します。", "Zenbalo - 新規作成", Answer::Yes),
                           question("海に新規作成します。", "Zenbalo - 新規作成", Answer::Yes),
                           question("海物語を追加しますか？", "Zenbalo - 追加", Answer::No),
                       }));
    const MachineRecord added = machineRecord("海物語");
    EXPECT_EQ(form->library().machineStrings(), std::vector<std::string>(added.begin(), added.end()));
    EXPECT_EQ(form->library().machineCount(), 1);
    EXPECT_EQ(form->settings().groupListIndex[0], 0);
    expectListsMirrorTheLibrary();
    expectBoxesShowTheSelection();
    expectNewMode(false);
    EXPECT_FALSE(ui().mnuPaste->isEnabled()) << "nothing was cut";
    EXPECT_TRUE(form->dataChanged());
    EXPECT_FALSE(form->machineEdited());
    EXPECT_EQ(ui().Label6->text(), "") << "calculated";
    EXPECT_EQ(ui().Label7[4]->text(), "3000");
}

TEST_F(EditTest, CommandsAskRefuseOrDoNothing) {
    enum class Start { Small, SmallNoneSelected, Nameless, Full };
    struct Case {
        const char *name;
        Start start;
        std::function<void(EditTest &)> setup; // before the command; its questions are not counted
        QKeyCombination keys;
        std::optional<Answer> reply;
        std::string wantAsked;  // the one box shown, if any
        const char *wantLayout; // nullptr: the library is left as it was
        QString wantName;       // in the name box afterwards
        bool pasteWaits;
    };
    const auto none = [](EditTest &) {};
    const auto named = [](QString name) { return [name](EditTest &t) { t.retype(t.ui().Text1[Name], name); }; };
    const auto inGroup3Named = [](QString name) {
        return [name](EditTest &t) {
            t.chooseGroup(3);
            t.retype(t.ui().Text1[Name], name);
        };
    };
    // Cuts T-0000 and adds the machine shown under another name: full again.
    const auto cutThenAdd = [](QString name) {
        return [name](EditTest &t) {
            t.chooseGroup(3);
            t.press(kCut);
            t.retype(t.ui().Text1[Name], name);
            t.answer({Answer::Yes});
            t.press(kAdd);
        };
    };
    const auto fullTitled = [](const char *title) { return refusal("登録できる台数は2047台までです。", title); };
    const auto cut = [](EditTest &t) { t.press(kCut); };
    // Cuts A, adds the machine shown under A's name and chooses b: A cannot go back.
    const auto cutAStoredAgain = [](EditTest &t) {
        t.press(kCut);
        t.retype(t.ui().Text1[Name], "A");
        t.answer({Answer::Yes});
        t.press(kAdd);
        t.chooseNextMachine();
    };
    const auto notPasted = [](const char *name) {
        return question(std::string(name) + "は貼り付けられていません。破棄しますか？", "Zenbalo - 切り抜き", Answer::No);
    };
    // clang-format off
    const Case cases[] = {
        {"Add puts a new name in its sorted place", Start::Small, named("B2"), kAdd, Answer::Yes,
         question("B2を追加しますか？", "Zenbalo - 追加", Answer::No), "A b B2 c|一般機|||||", "B2", false},
        {"Add puts a name after the one it equals but for case", Start::Small, named("a"), kAdd, Answer::Yes,
         question("aを追加しますか？", "Zenbalo - 追加", Answer::No), "A a b c|一般機|||||", "a", false},
        {"Add answered No", Start::Small, named("X"), kAdd, Answer::No,
         question("Xを追加しますか？", "Zenbalo - 追加", Answer::No), nullptr, "X", false},
        {"Add without a name", Start::Small, named(""), kAdd, {}, "", nullptr, "", false},
        {"Add of a name stored in another group", Start::Small, named("一般機"), kAdd, {},
         refusal("一般機は登録済みです。", "Zenbalo - 追加"), nullptr, "一般機", false},
        {"Add into a full library", Start::Full, inGroup3Named("new"), kAdd, {},
         fullTitled("Zenbalo - 追加"), nullptr, "new", false},
        {"Add of a stored name into a full library names the name", Start::Full, inGroup3Named("T-0005"), kAdd, {},
         refusal("T-0005は登録済みです。", "Zenbalo - 追加"), nullptr, "T-0005", false},

        {"Update to another machine's name", Start::Small, named("b"), kUpdate, {},
         refusal("bは登録済みです。", "Zenbalo - 台データを更新"), nullptr, "b", false},
        {"Update without a name", Start::Small, named(""), kUpdate, {}, "", nullptr, "", false},
        {"Update answered No", Start::Small, named("Z"), kUpdate, Answer::No,
         question("Aを更新しますか？", "Zenbalo - 台データを更新", Answer::No), nullptr, "Z", false},
        {"Update right after choosing a machine", Start::Small, [](EditTest &t) { t.chooseNextMachine(); }, kUpdate,
         {}, "", nullptr, "b", false},

        {"Delete names the selected machine, not the name box", Start::Small, named("Z"), kDelete, Answer::Yes,
         question("Aを削除しますか？", "Zenbalo - 削除", Answer::No), "b c|一般機|||||", "b", false},
        {"Delete answered No", Start::Small, none, kDelete, Answer::No,
         question("Aを削除しますか？", "Zenbalo - 削除", Answer::No), nullptr, "A", false},
        {"Delete of a nameless record", Start::Nameless, none, kDelete, Answer::Yes,
         question("を削除しますか？", "Zenbalo - 削除", Answer::No), "A|x|||||", "A", false},

        {"Cut asks nothing", Start::Small, none, kCut, {}, "", "b c|一般機|||||", "b", true},
        {"Cut without a name", Start::Small, named(""), kCut, {}, "", nullptr, "", false},
        {"Cut under another machine's name", Start::Small, named("c"), kCut, {},
         refusal("cは登録済みです。", "Zenbalo - 切り抜き"), nullptr, "c", false},

        {"A second Cut puts the waiting machine back first", Start::Small, cut, kCut, {}, "", "A c|一般機|||||", "A",
         true},
        {"Cut under the waiting machine's name", Start::Small, [&](EditTest &t) { cut(t), named("A")(t); }, kCut, {},
         refusal("Aは登録済みです。", "Zenbalo - 切り抜き"), nullptr, "A", true},
        {"A second Cut whose waiting name is stored again, No", Start::Small, cutAStoredAgain, kCut, Answer::No,
         notPasted("A"), nullptr, "b", true},
        {"A second Cut whose waiting name is stored again, Yes drops it", Start::Small, cutAStoredAgain, kCut,
         Answer::Yes, notPasted("A"), "A c|一般機|||||", "A", true},
        {"A second Cut in a full library, No", Start::Full, cutThenAdd("new"), kCut, Answer::No, notPasted("T-0000"),
         nullptr, "new", true},

        {"Update without a selected position", Start::SmallNoneSelected, named("Z"), kUpdate, {}, "", nullptr, "Z",
         false},
        {"Delete without a selected position", Start::SmallNoneSelected, none, kDelete, {}, "", nullptr, "A", false},
        {"Cut without a selected position", Start::SmallNoneSelected, none, kCut, {}, "", nullptr, "A", false},

        {"Paste of a name stored since the Cut", Start::Full, cutThenAdd("T-0000"), kPaste, {},
         refusal("T-0000は登録済みです。", "Zenbalo - 貼り付け"), nullptr, "T-0000", true},
        {"Paste into a full library", Start::Full, cutThenAdd("new"), kPaste, {},
         fullTitled("Zenbalo - 貼り付け"), nullptr, "new", true},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        freshDirectory();
        switch (c.start) {
        case Start::Small:
        case Start::SmallNoneSelected:
            startWith(smallLibrary(), c.start == Start::Small);
            break;
        case Start::Nameless:
            startWith(makeLibrary(groupsOf("- A|x")));
            break;
        case Start::Full:
            startWith(numberedLibrary("T", kMaxMachines));
            break;
        }
        c.setup(*this);
        ASSERT_TRUE(dialogs.answers.empty());
        dialogs.asked.clear();
        const Library before = form->library();
        const bool changedBefore = form->dataChanged();

        if (c.reply)
            answer({*c.reply});
        press(c.keys);
        EXPECT_EQ(asked(), c.wantAsked.empty() ? std::vector<std::string>{} : std::vector{c.wantAsked});
        EXPECT_TRUE(dialogs.answers.empty());
        if (c.wantLayout) {
            EXPECT_EQ(layoutOf(form->library()), c.wantLayout);
            EXPECT_TRUE(form->dataChanged());
            expectBoxesShowTheSelection();
        } else {
            EXPECT_EQ(form->library(), before);
            EXPECT_EQ(form->dataChanged(), changedBefore);
        }
        EXPECT_EQ(ui().Text1[Name]->text(), c.wantName);
        EXPECT_EQ(form->cutWaiting(), c.pasteWaits);
        EXPECT_EQ(ui().mnuPaste->isEnabled(), c.pasteWaits);
        expectListsMirrorTheLibrary();
    }
}

TEST_F(EditTest, UpdateStoresInPlaceOrMovesToTheNewName) {
    struct Case {
        const char *name;
        QString newName;
        const char *wantLayout;
        int wantPosition;
    } cases[] = {
        {"same name stays in place", "b", "A b c|一般機|||||", 1},
        {"new name moves and stays selected", "d", "A c d|一般機|||||", 2},
        {"new name equal but for case goes after its equal", "a", "A a c|一般機|||||", 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        freshDirectory();
        startWith(smallLibrary());
        chooseNextMachine();
        retype(ui().Text1[Payout], "2500");
        retype(ui().Text1[Name], c.newName);
        answer({Answer::Yes});
        press(kUpdate);
        EXPECT_EQ(asked(),
                  std::vector<std::string>{question("bを更新しますか？", "Zenbalo - 台データを更新", Answer::No)});
        EXPECT_EQ(layoutOf(form->library()), c.wantLayout);
        EXPECT_EQ(form->settings().groupListIndex[0], c.wantPosition);
        EXPECT_EQ(form->library().group(0).machine(c.wantPosition)[Payout], "2500");
        EXPECT_EQ(ui().Text1[Name]->text(), c.newName);
        EXPECT_FALSE(form->machineEdited());
        EXPECT_TRUE(form->dataChanged());
        EXPECT_EQ(ui().Label7[4]->text(), "5000");
        expectListsMirrorTheLibrary();
        expectBoxesShowTheSelection();
    }
}

TEST_F(EditTest, CutInOneGroupPastedInAnother) {
    startWith(makeLibrary(groupsOf("x|y|p q r|||z")));
    chooseGroup(2);
    chooseNextMachine();
    retype(ui().Text1[Payout], "999"); // an edit not yet stored goes along
    press(kCut);
    EXPECT_EQ(layoutOf(form->library()), "x|y|p r|||z|");
    EXPECT_EQ(ui().Text1[Name]->text(), "p");
    EXPECT_TRUE(ui().mnuPaste->isEnabled());
    expectListsMirrorTheLibrary();

    chooseGroup(5);
    press(kPaste);
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(layoutOf(form->library()), "x|y|p r|||q z|");
    EXPECT_EQ(form->settings().groupListIndex[5], 0);
    EXPECT_EQ(ui().Text1[Name]->text(), "q");
    EXPECT_EQ(ui().Text1[Payout]->text(), "999");
    MachineRecord asCut = record("q");
    asCut[Payout] = "999";
    EXPECT_EQ(form->library().group(5).machine(0), asCut) << "the machine as the boxes showed it at the Cut";
    EXPECT_FALSE(ui().mnuPaste->isEnabled());
    EXPECT_FALSE(form->cutWaiting());
    EXPECT_FALSE(form->machineEdited());
    EXPECT_EQ(ui().Label7[4]->text(), "1998");
    expectListsMirrorTheLibrary();
    expectBoxesShowTheSelection();
}

TEST_F(EditTest, CutMachineWaitsThroughNewAndAdd) {
    startWith(smallLibrary());
    press(kCut);
    answer({Answer::Yes});
    press(kNew);
    expectNewMode(true);
    typeMachine("N");
    answer({Answer::Yes});
    press(kAdd);
    EXPECT_EQ(layoutOf(form->library()), "b c N|一般機|||||");
    expectNewMode(false);
    EXPECT_TRUE(ui().mnuPaste->isEnabled());
    press(kPaste);
    EXPECT_EQ(layoutOf(form->library()), "A b c N|一般機|||||");
    EXPECT_EQ(ui().Text1[Name]->text(), "A");
    EXPECT_FALSE(ui().mnuPaste->isEnabled());
    expectListsMirrorTheLibrary();
}

TEST_F(EditTest, AddOfAStoredNameKeepsNewMode) {
    startWith(smallLibrary());
    answer({Answer::Yes});
    press(kNew);
    typeMachine("c");
    press(kAdd);
    EXPECT_EQ(asked().back(), refusal("cは登録済みです。", "Zenbalo - 追加"));
    EXPECT_EQ(layoutOf(form->library()), "A b c|一般機|||||");
    EXPECT_EQ(ui().Label6->text(), "新規作成");
    EXPECT_EQ(ui().Text1[BigHitProbability]->text(), "1/300");
    expectNewMode(true);
}

TEST_F(EditTest, ChoosingAnotherGroupEndsNewMode) {
    struct Case {
        const char *name;
        int startGroup; // an empty group leaves the boxes as New found them
        QString typed;
        std::vector<std::string> wantAsked;
    } cases[] = {
        {"over empty boxes with nothing typed, without a question", 6, "", {}},
        {"after typing, when the player agrees",
         0,
         "x",
         {question("新規作成を取り消しますか？", "Zenbalo", Answer::No)}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        freshDirectory();
        startWith(smallLibrary());
        chooseGroup(c.startGroup);
        answer({Answer::Yes});
        press(kNew);
        EXPECT_EQ(form->machineEdited(), c.startGroup != 6);
        type(ui().Text1[Name], c.typed);
        dialogs.asked.clear();
        answer(c.typed.isEmpty() ? std::deque<Answer>{} : std::deque<Answer>{Answer::Yes});
        chooseGroup(1);
        EXPECT_EQ(asked(), c.wantAsked);
        EXPECT_EQ(form->settings().currentGroup, 1);
        EXPECT_EQ(ui().Text1[Name]->text(), "一般機");
        expectNewMode(false);
    }
}

TEST_F(EditTest, EditsSavedWithYesComeBackAtTheNextStart) {
    startWith(smallLibrary());
    retype(ui().Text1[Name], "B"); // a copy of A under a new name, after b
    answer({Answer::Yes});
    press(kAdd);
    chooseNextMachine(); // c
    retype(ui().Text1[Name], "Z");
    answer({Answer::Yes});
    press(kUpdate);
    press(kCut); // Z
    chooseGroup(4);
    press(kPaste);
    chooseGroup(1);
    answer({Answer::Yes});
    press(kDelete);
    chooseGroup(0);
    chooseNextMachine(); // b
    EXPECT_EQ(layoutOf(form->library()), "A b B||||Z||");
    const Library edited = form->library();
    const AppSettings selections = form->settings();

    answer({Answer::Yes});
    ASSERT_TRUE(closeWindow());
    EXPECT_TRUE(dialogs.answers.empty());
    EXPECT_EQ(parseLibrary(readFile(kLibraryFile)), edited);
    restart();
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(form->library(), edited);
    EXPECT_EQ(form->settings().currentGroup, 0);
    EXPECT_EQ(form->settings().groupListIndex, selections.groupListIndex);
    for (int g = 0; g < kGroups; ++g)
        EXPECT_EQ(ui().Combo1[g]->currentIndex(), selections.groupListIndex[g]) << "group " << g;
    expectListsMirrorTheLibrary();
    EXPECT_EQ(ui().Text1[Name]->text(), "b");
}

// A cut machine that a saving close would lose goes back to its group, or
// goes only at the player's word.
TEST_F(EditTest, CutMachineIsNeverLostAtClose) {
    struct Case {
        const char *name;
        bool storedAgain; // a machine of the cut name added since
        std::deque<Answer> answers;
        bool closes;
        const char *wantSaved; // the groups in zenbalo.dat; nullptr: not written
        bool waits;            // afterwards
    };
    const std::string notPasted = question("pは貼り付けられていません。破棄しますか？", "Zenbalo - 切り抜き", Answer::No);
    const Case cases[] = {
        {"Yes puts it back where it was cut", false, {Answer::Yes}, true, "x|y|p q r|||z|", false},
        {"Cancel leaves it waiting", false, {Answer::Cancel}, false, nullptr, true},
        {"No saves nothing", false, {Answer::No}, true, nullptr, true},
        {"its name stored again, No keeps the window", true, {Answer::Yes, Answer::No}, false, nullptr, true},
        {"its name stored again, Yes drops it", true, {Answer::Yes, Answer::Yes}, true, "x|y|q r|||p z|", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        freshDirectory();
        startWith(makeLibrary(groupsOf("x|y|p q r|||z")));
        const std::string before = readFile(kLibraryFile);
        chooseGroup(2);
        press(kCut);         // p
        chooseNextMachine(); // r, whose selection must follow it
        chooseGroup(5);
        if (c.storedAgain) {
            retype(ui().Text1[Name], "p");
            answer({Answer::Yes});
            press(kAdd);
        }
        dialogs.asked.clear();
        answer(c.answers);
        EXPECT_EQ(closeWindow(), c.closes);
        EXPECT_TRUE(dialogs.answers.empty());
        EXPECT_EQ(asked().size() > 1 ? asked()[1] : "", c.storedAgain ? notPasted : "");
        if (c.wantSaved)
            EXPECT_EQ(layoutOf(*parseLibrary(readFile(kLibraryFile))), c.wantSaved);
        else
            EXPECT_EQ(readFile(kLibraryFile), before);
        if (c.closes)
            continue;
        EXPECT_EQ(form->cutWaiting(), c.waits);
        EXPECT_EQ(ui().mnuPaste->isEnabled(), c.waits);
        EXPECT_EQ(form->settings().currentGroup, 5);
        expectListsMirrorTheLibrary();
        expectBoxesShowTheSelection();
        chooseGroup(2);
        EXPECT_EQ(ui().Text1[Name]->text(), "r");
    }
}

// Yes at the close puts the machine back before the save; when the save then
// fails, it stays in its group, the selection there following its machine.
TEST_F(EditTest, CutMachinePutBackStaysWhenTheSaveFails) {
    startWith(makeLibrary(groupsOf("x|y|p q r|||z")));
    chooseGroup(2);
    chooseNextMachine(); // q
    press(kCut);
    chooseNextMachine(); // r, after the place q goes back to
    chooseGroup(5);
    {
        FileSizeLimit full;
        answer({Answer::Yes});
        EXPECT_FALSE(closeWindow());
    }
    EXPECT_EQ(layoutOf(form->library()), "x|y|p q r|||z|");
    EXPECT_EQ(form->settings().groupListIndex[2], 2) << "r stays selected";
    EXPECT_EQ(ui().Combo1[2]->currentIndex(), 2);
    EXPECT_FALSE(form->cutWaiting());
    EXPECT_FALSE(ui().mnuPaste->isEnabled());
    EXPECT_EQ(ui().Text1[Name]->text(), "z") << "the boxes stay";
    expectListsMirrorTheLibrary();
    chooseGroup(2);
    EXPECT_EQ(ui().Text1[Name]->text(), "r");
}

TEST_F(EditTest, KeysOfTheLockedCommandsLeaveTheTypedNameAlone) {
    startWith(smallLibrary());
    answer({Answer::Yes});
    press(kNew);
    type(ui().Text1[Name], "abc");
    dialogs.asked.clear();
    for (QKeyCombination keys : {kNew, kUpdate, kCut, kPaste, kDelete}) {
        SCOPED_TRACE(QKeySequence(keys).toString().toStdString());
        ui().Text1[Name]->selectAll();
        press(keys);
        EXPECT_EQ(ui().Text1[Name]->text(), "abc");
    }
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(layoutOf(form->library()), "A b c|一般機|||||");
}

} // namespace
} // namespace zenbalo::testing
