// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/layout.h"
#include "common/shared_results.h"
#include "firsthit/first_hit.h"

#include <QDialog>
#include <array>

class QFrame;

namespace zenbalo {

// The chance and the cost of a first hit within 100 to 2000 rotations of the
// machine last calculated; filled once when it opens.
class frmHatsuKaiten : public QDialog {
    Q_OBJECT
public:
    explicit frmHatsuKaiten(const SharedResults &shared, QWidget *parent = nullptr);

    void Form_Load();

    std::array<QLabel *, 27> Label1{}; // row captions 0..9 and 12..21, the rest headers and units
    std::array<FigureLabel *, 2> Label5{};
    std::array<FigureLabel *, kFirstHitRows> Label2{}, Label3{}, Label4{};
    QFrame *Frame1 = nullptr;

private:
    void buildConditions(QWidget *client);
    void buildTable(QWidget *client);

    const SharedResults &shared_;
};

} // namespace zenbalo
