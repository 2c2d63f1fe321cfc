#include "app/app_look.h"

#include <QImage>
#include <QPixmap>
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

TEST(AppIcon, StopsAtTheLargestSizeAskedFor) {
    EXPECT_EQ(appIcon(48).availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
    EXPECT_EQ(appIcon().availableSizes().size(), std::ssize(kIconSizes));
}

} // namespace
} // namespace zenbalo
