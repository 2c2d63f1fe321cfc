// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of the start-up measurement: the least a Qt Widgets program does
// to show a window of the main window's size with its menu bar, and nothing
// in it.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    for (const char *title : {"ファイル(&F)", "編集(&E)", "ツール(&T)", "ヘルプ(&H)"})
        window.menuBar()->addMenu(QString::fromUtf8(title));
    auto *client = new QWidget(&window);
    // The main window's client area: 8400 x 6315 twips at 96 dpi.
    client->setFixedSize(560, 421);
    window.setCentralWidget(client);
    window.setFixedSize(client->width(), client->height() + window.menuBar()->sizeHint().height());
    window.show();
    return app.exec();
}
