#include "view_fixture.h"

namespace kv::viewtest {

bool glAvailable = false;

void ViewFixture::SetUp() {
    if (!glAvailable)
        GTEST_SKIP() << "no OpenGL context can be made on this display; view tests skipped";
    rig_ = std::make_unique<ViewRig>(400, 300);
    ASSERT_TRUE(rig_->ready()) << "the GL surface was never initialised";
}

bool isSky(QRgb c) {
    // The sky fan's colours: blue leads, red and green stay low.
    return qBlue(c) > 60 && qBlue(c) > qGreen(c) + 20 && qRed(c) < 110;
}

bool isDarkGround(QRgb c) {
    return qRed(c) < 15 && qGreen(c) >= 40 && qGreen(c) <= 62 && qBlue(c) < 15;
}

bool isGridGreen(QRgb c) {
    return qRed(c) < 30 && qGreen(c) > 62 && qBlue(c) < 30;
}

bool isLadder(QRgb c) {
    return qRed(c) < 60 && qGreen(c) > 200 && qBlue(c) > 100 && qBlue(c) < 190;
}

bool isGuide(QRgb c) {
    return qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) > 90 && qBlue(c) < 180;
}

bool isStar(QRgb c) {
    return qRed(c) > 240 && qGreen(c) > 240 && qBlue(c) > 240;
}

bool isBackdrop(QRgb c) {
    return isSky(c) || isStar(c) || isDarkGround(c) || isGridGreen(c) || isGuide(c) || isLadder(c);
}

int countPixels(const QImage& image, const QRect& area, bool (*test)(QRgb)) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(image.pixel(x, y)))
                ++n;
    return n;
}

} // namespace kv::viewtest
