// Test runner of the camera view tests: a QApplication on the display when
// there is one (with a compatibility-profile GL format), else on the
// offscreen platform with every test skipped.
#include "view_fixture.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    const bool haveDisplay = kv::viewtest::prepareGuiPlatform();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    kv::viewtest::glAvailable = haveDisplay && kv::views::CameraView::openGlAvailable();
    if (!kv::viewtest::glAvailable)
        std::fprintf(stderr, "kv_views_tests: %s; the view tests are skipped\n",
                     haveDisplay ? "no OpenGL context can be made"
                                 : "no display (run under xvfb-run -a)");
    return RUN_ALL_TESTS();
}
