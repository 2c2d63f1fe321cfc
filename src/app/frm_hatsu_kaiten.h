// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/figure_label.h"
#include "common/shared_results.h"
#include "firsthit/first_hit.h"

#include <QDialog>
#include <array>

class QFrame;
class QLabel;

namespace zenbalo {

namespace Ui {

struct frmHatsuKaiten {
    std::array<QLabel *, 27> Label1{}; // row captions 0..9 and 12..21, the rest headers and units
    std::array<FigureLabel *, 2> Label5{};
    std::array<FigureLabel *, kFirstHitRows> Label2{}, Label3{}, Label4{};
    QFrame *Frame1 = nullptr;
};

} // namespace Ui

// The chance and the cost of a first hit within 100 to 2000 rotations of the
// machine last calculated; filled once when it opens.
class frmHatsuKaiten : public QDialog, private Ui::frmHatsuKaiten {
    Q_OBJECT
public:
    explicit frmHatsuKaiten(const SharedResults &shared, QWidget *parent = nullptr);

    const Ui::frmHatsuKaiten &ui() const { return *this; }

    void Form_Load();

private:
    void buildConditions(QWidget *client);
    void buildTable(QWidget *client);

    const SharedResults &shared_;
};

} // namespace zenbalo
