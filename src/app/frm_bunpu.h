// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/chart_widget.h"
#include "app/figure_label.h"
#include "common/shared_results.h"
#include "risk/day_balance.h"

#include <QDialog>
#include <array>

class QComboBox;
class QFrame;
class QLabel;

namespace zenbalo {

namespace Ui {

struct frmBunpu {
    QLabel *Label3 = nullptr; // the chooser's caption
    QComboBox *Combo1 = nullptr;
    std::array<QLabel *, kDayBalanceFigures> Label1{}; // in the order of DayBalanceFigure
    std::array<FigureLabel *, kDayBalanceFigures> Label2{};
    QFrame *Frame1 = nullptr;
    ChartWidget *Picture1 = nullptr;
};

} // namespace Ui

// How far a day of the machine last calculated can swing: its figures and
// histogram for the own-ball ratio chosen.
class frmBunpu : public QDialog, private Ui::frmBunpu {
    Q_OBJECT
public:
    explicit frmBunpu(const SharedResults &shared, QWidget *parent = nullptr);

    const Ui::frmBunpu &ui() const { return *this; }

    void Form_Load();
    void Combo1_Click();

private:
    void buildChooser(QWidget *client);
    void buildFigures(QWidget *client);
    void buildHistogram(QWidget *client);
    void connectHandlers();
    void showDistribution(const DayBalance &shown);

    const SharedResults &shared_;
};

} // namespace zenbalo
