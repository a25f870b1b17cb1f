// What the camera view draws, checked on the grabbed frame.
#include "app/camera/camera_state.h"
#include "app/render/render_light.h"
#include "app/render/status_overlay.h"
#include "model/object_record.h"
#include "view_fixture.h"
#include "views/gl_display_lists.h"

#include <GL/gl.h>
#include <algorithm>

namespace kv::viewtest {
namespace {

using ViewRender = ViewFixture;

TEST_F(ViewRender, DefaultProjectShowsSkyAboveDarkGroundBelowAndTheCar) {
    const QImage image = grab();
    ASSERT_EQ(image.width(), 400);
    ASSERT_EQ(image.height(), 300);
    // The top band is sky, the bottom band the dark green clear colour with
    // at most a grid line crossing it.
    const QRect top(0, 0, 400, 30);
    const QRect bottom(0, 270, 400, 30);
    EXPECT_GT(countPixels(image, top, isSky), 400 * 30 * 95 / 100);
    EXPECT_GT(countPixels(image, bottom, isDarkGround), 400 * 30 * 90 / 100);
    // The car stands in the middle of the view: many pixels there are
    // neither sky nor ground nor grid.
    const QRect middle(100, 100, 200, 150);
    const int total = middle.width() * middle.height();
    const int scenery = countPixels(image, middle, isBackdrop);
    EXPECT_GT(total - scenery, 800) << "the car is not in view";
}

TEST_F(ViewRender, CockpitHidesTheFollowedObjectAndLaddersOnlyAFlyingSlotZero) {
    const QImage outside = grab();
    const QRect middle(100, 100, 200, 150);
    const int total = middle.width() * middle.height();
    auto objectPixels = [&](const QImage& image) {
        return total - countPixels(image, middle, isBackdrop);
    };
    ASSERT_GT(objectPixels(outside), 800);

    // Cockpit view of the car: the car is not drawn, and no ladder.
    doc().camera().mode = app::kModeCockpit;
    live().viewKey(app::kKeyF1);
    const QImage carCockpit = grab();
    EXPECT_LT(objectPixels(carCockpit), 50);
    EXPECT_EQ(countPixels(carCockpit, carCockpit.rect(), isLadder), 0);

    // The same for an aircraft and a helicopter in slot 0, now with the ladder.
    for (int type : {model::kVehicleAircraft, model::kVehicleHelicopter}) {
        setVehicle(type);
        live().viewKey(app::kKeyF1);
        const QImage flying = grab();
        EXPECT_GT(countPixels(flying, flying.rect(), isLadder), 100) << "vehicle type " << type;
        EXPECT_LT(objectPixels(flying), 50) << "vehicle type " << type;
    }

    // Back outside the aircraft: it is drawn again and the ladder is gone.
    live().viewKey(app::kKeyF6);
    const QImage chase = grab();
    EXPECT_EQ(countPixels(chase, chase.rect(), isLadder), 0);
}

TEST_F(ViewRender, SmokyAndClearChangeOnlyTheAmbientAndDiffuseAlpha) {
    surface().makeCurrent();
    struct Case {
        int transparency;
        float alpha;
    };
    for (const Case c :
         {Case{app::kSolid, 1.0f}, Case{app::kSmoky, 0.5f}, Case{app::kClear, 0.25f}}) {
        const app::Material solid = app::objectMaterial(0, app::kSolid);
        views::applyMaterial(app::objectMaterial(0, c.transparency));
        std::array<float, 4> ambient{}, diffuse{}, specular{}, emission{};
        glGetMaterialfv(GL_FRONT, GL_AMBIENT, ambient.data());
        glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse.data());
        glGetMaterialfv(GL_FRONT, GL_SPECULAR, specular.data());
        glGetMaterialfv(GL_FRONT, GL_EMISSION, emission.data());
        for (int i = 0; i < 3; ++i) {
            EXPECT_FLOAT_EQ(ambient[i], solid.ambient[i]);
            EXPECT_FLOAT_EQ(diffuse[i], solid.diffuse[i]);
            EXPECT_FLOAT_EQ(specular[i], solid.specular[i]);
        }
        EXPECT_FLOAT_EQ(ambient[3], c.alpha);
        EXPECT_FLOAT_EQ(diffuse[3], c.alpha);
        EXPECT_FLOAT_EQ(specular[3], 1.0f);
        EXPECT_FLOAT_EQ(emission[3], 1.0f);
    }
    surface().doneCurrent();

    // A clear car lets the scene behind it show through: its pixels move
    // toward the background.
    const QRect middle(100, 100, 200, 150);
    const QImage solidImage = grab();
    doc().object(0).transparency = app::kClear;
    live().projectChanged();
    const QImage clearImage = grab();
    int changed = 0;
    for (int y = middle.top(); y <= middle.bottom(); ++y)
        for (int x = middle.left(); x <= middle.right(); ++x)
            if (solidImage.pixel(x, y) != clearImage.pixel(x, y))
                ++changed;
    EXPECT_GT(changed, 500);
}

TEST_F(ViewRender, AChangedProjectIsRedrawnWithNewLists) {
    // A command that recolours the object reaches the view without telling it:
    // the next frame sees the change and rebuilds the lists.
    auto isRed = [](QRgb c) { return qRed(c) > 120 && qGreen(c) < 60 && qBlue(c) < 60; };
    const QRect middle(100, 100, 200, 150);
    auto redPixels = [&](const QImage& image) {
        int n = 0;
        for (int y = middle.top(); y <= middle.bottom(); ++y)
            for (int x = middle.left(); x <= middle.right(); ++x)
                n += isRed(image.pixel(x, y)) ? 1 : 0;
        return n;
    };
    EXPECT_LT(redPixels(grab()), 20);
    doc().object(0).color = 0; // Red
    EXPECT_GT(redPixels(grab()), 500);
}

TEST_F(ViewRender, SlowStandsBesideTheTimeNotOverIt) {
    const int y = surface().height() - app::kOverlayBottomOffset;
    surface().showFrame(live().content().frame(doc().run(), doc().camera(), true),
                        app::statusOverlay(12.0, true, surface().height()));
    const QImage image = surface().grabFramebuffer();
    // The text line: white digits of "00:12", then the red word.
    int whiteRight = -1, redLeft = image.width(), white = 0, red = 0;
    for (int py = std::max(0, y - 20); py <= std::min(image.height() - 1, y + 4); ++py) {
        for (int px = 0; px < image.width() / 2; ++px) {
            const QRgb c = image.pixel(px, py);
            if (qRed(c) > 230 && qGreen(c) > 230 && qBlue(c) > 230) {
                whiteRight = std::max(whiteRight, px);
                ++white;
            } else if (qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60) {
                redLeft = std::min(redLeft, px);
                ++red;
            }
        }
    }
    EXPECT_GT(white, 20);
    EXPECT_GT(red, 20);
    EXPECT_LT(whiteRight, redLeft) << "\"Slow\" overlaps the time";
    surface().clearFrame();
}

} // namespace
} // namespace kv::viewtest
