// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_look.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QPixmap>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace zenbalo {
namespace {

TEST(AppIcon, EveryRenderedSizeIsBuiltInAndChosenAsItIs) {
    const QIcon icon = appIcon();
    for (int size : kIconSizes) {
        SCOPED_TRACE(size);
        const QImage rendered(QString(":/icons/zenbalo-%1.png").arg(size));
        ASSERT_FALSE(rendered.isNull());
        ASSERT_EQ(rendered.size(), QSize(size, size));
        // The icon must take this file, not scale down a larger one.
        const QImage shown = icon.pixmap(QSize(size, size)).toImage();
        EXPECT_EQ(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  rendered.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
}

// Only installed families, in the order of preference; a missing one would
// cost every text a search for stand-ins.
TEST(UiFont, NamesTheInstalledFamiliesInOrder) {
    // Listed as "Family" or, when several foundries make it, "Family [Foundry]".
    const QStringList available = QFontDatabase::families();
    QStringList installed;
    for (const char *family : kUiFontFamilies) {
        const QString name = QString::fromUtf8(family);
        if (available.contains(name) ||
            !available.filter(QRegularExpression("^" + QRegularExpression::escape(name) + " \\[")).isEmpty())
            installed << name;
    }
    ASSERT_FALSE(installed.isEmpty()) << "the tests need a Japanese gothic font";
    EXPECT_EQ(uiFont().families(), installed);
    EXPECT_EQ(QFontInfo(uiFont()).family(), installed.first());
    EXPECT_EQ(uiFont().pixelSize(), 12);
}

TEST(AppIcon, StopsAtTheLargestSizeAskedFor) {
    EXPECT_EQ(appIcon(48).availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
    EXPECT_EQ(appIcon().availableSizes().size(), std::ssize(kIconSizes));
}

} // namespace
} // namespace zenbalo
