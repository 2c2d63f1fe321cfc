#include "app/app_look.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>

// The resources live in a static library, whose unreferenced objects the
// linker drops; naming them here keeps them. Not possible inside a namespace.
static void initIconResources() { Q_INIT_RESOURCE(zenbalo); }

namespace zenbalo {

QFont uiFont() {
    QFont font;
    font.setFamilies({"MS UI Gothic", "IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "VL PGothic", "Takao PGothic"});
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

} // namespace zenbalo
