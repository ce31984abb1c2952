// The compiled-in drawings: every one is there, renders, and is sharp at 2x.

#include "artwork.h"

#include <QDir>
#include <QImage>
#include <QSet>
#include <gtest/gtest.h>

namespace {

using Artwork::Picture;

const Picture AllPictures[] = {Picture::ProgramIcon, Picture::Logo,  Picture::TitleStrip, Picture::InstantMessage,
                               Picture::ChatRoom,    Picture::Away,  Picture::Setup,      Picture::Close,
                               Picture::Send,        Picture::Block, Picture::Warn};

// Fraction of the pixels that are not fully transparent.
double coverage(const QImage &image)
{
    qsizetype painted = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            painted += qAlpha(image.pixel(x, y)) > 0;
    }
    return double(painted) / double(image.width() * image.height());
}

TEST(ArtworkTest, EveryDrawingInTheSourceFolderIsCompiledInAndNamed)
{
    const QStringList sources = QDir(QStringLiteral(QIV_ARTWORK_DIR)).entryList({"*.svg"}, QDir::Files, QDir::Name);
    const QStringList compiled = QDir(QStringLiteral(":/artwork")).entryList({"*.svg"}, QDir::Files, QDir::Name);
    EXPECT_EQ(compiled, sources);
    QSet<QString> named;
    for (Picture picture : AllPictures)
        named << QFileInfo(Artwork::resourcePath(picture)).fileName();
    EXPECT_EQ(named, QSet<QString>(sources.begin(), sources.end()))
        << "a drawing nobody can ask for, or a name without one";
}

TEST(ArtworkTest, EveryPictureRendersAtOneAndTwoTimes)
{
    for (Picture picture : AllPictures) {
        const QString name = Artwork::resourcePath(picture);
        for (qreal ratio : {1.0, 2.0}) {
            const QPixmap pixmap = Artwork::pixmap(picture, QSize(32, 32), ratio);
            ASSERT_FALSE(pixmap.isNull()) << name.toStdString();
            EXPECT_EQ(pixmap.size(), QSize(32, 32) * ratio) << name.toStdString();
            EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(32, 32)) << name.toStdString();
            EXPECT_GT(coverage(pixmap.toImage()), 0.05) << name.toStdString() << " looks empty";
        }
    }
}

TEST(ArtworkTest, DrawingsKeepTheirProportions)
{
    // The 238 x 26 strip in a square box: a band across the middle, nothing above or below.
    const QImage strip = Artwork::pixmap(Picture::TitleStrip, QSize(100, 100), 1.0).toImage();
    EXPECT_EQ(qAlpha(strip.pixel(50, 2)), 0);
    EXPECT_EQ(qAlpha(strip.pixel(50, 97)), 0);
    EXPECT_GT(qAlpha(strip.pixel(50, 50)), 0);
}

TEST(ArtworkTest, IconsHoldDoubledSizesForSharpScaledScreens)
{
    const QIcon launcher = Artwork::icon(Picture::Setup);
    const QList<QSize> sizes = launcher.availableSizes();
    for (int shown : {16, 24, 26, 32})
        EXPECT_TRUE(sizes.contains(QSize(shown * 2, shown * 2))) << shown;
    EXPECT_TRUE(Artwork::icon(Picture::ProgramIcon).availableSizes().contains(QSize(256, 256)));
}

TEST(ArtworkTest, ADegenerateRequestGivesANullPixmapRatherThanACrash)
{
    EXPECT_TRUE(Artwork::pixmap(Picture::Logo, QSize(0, 10), 1.0).isNull());
    EXPECT_TRUE(Artwork::pixmap(Picture::Logo, QSize(10, 10), 0.0).isNull());
}

} // namespace
