#include "TestRegistry.h"

#include "widgets/Icons.h"

#include <QImage>
#include <QTest>

namespace {

QImage render(const QIcon &icon, int size, QIcon::Mode mode = QIcon::Normal)
{
    return icon.pixmap(QSize(size, size), 1.0, mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Share of pixels that are not transparent.
double coverage(const QImage &image)
{
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            opaque += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        }
    }
    return double(opaque) / (image.width() * image.height());
}

} // namespace

class IconsTest : public QObject
{
    Q_OBJECT

private slots:
    void everyCommandHasAVisibleIcon()
    {
        for (int c = int(Icons::Command::New); c <= int(Icons::Command::Exit); ++c) {
            const QIcon icon = Icons::command(Icons::Command(c));
            QVERIFY2(!icon.isNull(), qPrintable(QString::number(c)));
            for (int size : {16, 24}) {
                const QImage image = render(icon, size);
                // Theme pictures may be a pixel narrower than the square they are asked for.
                QVERIFY(image.width() <= size && image.height() <= size);
                QVERIFY(image.width() >= size - 2 && image.height() >= size - 2);
                QVERIFY2(coverage(image) > 0.05, qPrintable(QStringLiteral("%1 at %2").arg(c).arg(size)));
            }
        }
    }

    void elementIconsAreDistinctAtBothSizes()
    {
        const Icons::Element elements[] = {Icons::Element::Folder, Icons::Element::OpenFolder, Icons::Element::Entry,
                                           Icons::Element::Key,    Icons::Element::File,       Icons::Element::Table};
        for (int size : {16, 24, 32}) {
            QList<QImage> images;
            for (Icons::Element element : elements) {
                const QImage image = render(Icons::element(element), size);
                // Drawn to fill the square: a small icon is not a shrunken large one.
                QVERIFY(coverage(image) > 0.2);
                QVERIFY(!images.contains(image));
                images.append(image);
            }
        }
        const QIcon key = Icons::element(Icons::Element::Key);
        QVERIFY(render(key, 16, QIcon::Disabled) != render(key, 16));
        // The "add" commands show the element they add.
        QVERIFY(render(Icons::command(Icons::Command::AddKey), 16) != render(key, 16));
        QVERIFY(!Icons::application().isNull());
    }
};

VAULTBASE_TEST(IconsTest)
#include "IconsTest.moc"
