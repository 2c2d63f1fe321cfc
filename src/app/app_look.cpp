// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_look.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>
#include <QWidget>
#include <algorithm>

// The resources live in a static library, whose unreferenced objects the
// linker drops; naming them here keeps them. Not possible inside a namespace.
static void initIconResources() { Q_INIT_RESOURCE(zenbalo); }

namespace zenbalo {

namespace {

// The families of kUiFontFamilies that are installed, in that order (all of
// them when none is). For a family that is missing Qt asks fontconfig for
// stand-ins, once for each script of every text (Han, kana, Latin), which
// cost each start some milliseconds for a font it never used.
QStringList uiFamilies() {
    QStringList wanted, installed;
    const QStringList available = QFontDatabase::families();
    for (const char *name : kUiFontFamilies) {
        const QString family = QString::fromUtf8(name);
        wanted << family;
        // A family found in several foundries is listed as "Family [Foundry]".
        if (std::any_of(available.begin(), available.end(), [&family](const QString &entry) {
                return entry.section(QStringLiteral(" ["), 0, 0).compare(family, Qt::CaseInsensitive) == 0;
            }))
            installed << family;
    }
    return installed.isEmpty() ? wanted : installed;
}

} // namespace

QFont uiFont() {
    static const QStringList families = uiFamilies();
    QFont font;
    font.setFamilies(families);
    // 9 pt at 96 dpi, in pixels: every position is laid out in 96-dpi pixels.
    font.setPixelSize(12);
    return font;
}

void setUpApplication(QApplication &app) {
    app.setFont(uiFont());
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

QIcon appIcon(int largest) {
    initIconResources();
    QIcon icon;
    for (int size : kIconSizes)
        if (size <= largest)
            icon.addFile(QString(":/icons/zenbalo-%1.png").arg(size), QSize(size, size));
    return icon;
}

void setUpDialogWindow(QWidget &window) {
    window.setWindowIcon(appIcon());
    window.setFont(uiFont());
    window.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint);
}

} // namespace zenbalo
