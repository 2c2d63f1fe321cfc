#include "app/app_look.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QRadialGradient>
#include <QTranslator>

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

QIcon appIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient shine(QPointF(11, 10), 20);
    shine.setColorAt(0, Qt::white);
    shine.setColorAt(0.5, QColor(170, 170, 180));
    shine.setColorAt(1, QColor(70, 70, 85));
    painter.setBrush(shine);
    painter.setPen(QPen(QColor(40, 40, 50), 1));
    painter.drawEllipse(QRectF(2, 2, 28, 28));
    painter.setPen(QPen(QColor(200, 30, 30), 3));
    painter.drawLine(QPointF(11, 11), QPointF(21, 11));
    painter.drawLine(QPointF(21, 11), QPointF(11, 21));
    painter.drawLine(QPointF(11, 21), QPointF(21, 21));
    return QIcon(pixmap);
}

} // namespace zenbalo
