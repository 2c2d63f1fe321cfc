// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/dialogs.h"
#include "common/shell.h"

#include <QDialog>
#include <array>

class QLabel;

namespace zenbalo {

// The program's home page, set at build time.
extern const char *const kHomePage;

// Name, version, credit line and the home page, which a click opens.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout(Dialogs &dialogs, Shell &shell, QWidget *parent = nullptr);

    void Form_Load();
    void Label2_Click();

    QLabel *picIcon = nullptr;
    std::array<QLabel *, 5> Label1{};
    QLabel *Label2 = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLogo();
    void fitWidth();

    Dialogs &dialogs_;
    Shell &shell_;
};

} // namespace zenbalo
