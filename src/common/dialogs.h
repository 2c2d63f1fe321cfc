// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace zenbalo {

// One modal message box. The windows ask through this service so that tests
// can answer in their place.
struct MessageBox {
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Icon { Question, Critical };
    enum class Answer { Ok, Yes, No, Cancel };

    std::string prompt;
    std::string title;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::Critical;
    Answer defaultButton = Answer::Ok;
};

// A file dialog in which the player names a file to write.
struct SaveFileBox {
    std::string title;
    std::string suggested; // the folder it opens in and the name it offers
    std::string filter;    // "CSV ファイル (*.csv)"
    std::string suffix;    // added to a name typed without one
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MessageBox::Answer ask(const MessageBox &box) = 0;
    // The path chosen; nullopt when the player cancelled.
    virtual std::optional<std::string> chooseSaveFile(const SaveFileBox &box) = 0;

    void refuse(const std::string &prompt, const std::string &title) {
        ask({prompt, title, MessageBox::Buttons::Ok, MessageBox::Icon::Critical, MessageBox::Answer::Ok});
    }
};

} // namespace zenbalo
