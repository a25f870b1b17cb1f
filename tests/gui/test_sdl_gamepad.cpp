// The Gamepad controller through SDL's game-controller layer, with SDL's
// virtual joystick standing in for a pad (none can be plugged into a test
// machine): the pad SDL names, its sticks, triggers and buttons as the run
// reads them for a car and for an aircraft, and a pad unplugged mid-run.
#include "app/input/input_controls.h"
#include "gui/sdl_gamepad.h"

#include <QTest>
#include <cmath>
#include <string>

#ifdef KV_HAVE_SDL2
#include <SDL.h>
// SDL's virtual joystick with a description (SDL_JoystickAttachVirtualEx) came in 2.24.
#if SDL_VERSION_ATLEAST(2, 24, 0)
#define KV_VIRTUAL_PAD 1
#endif
#endif

namespace {

#ifdef KV_VIRTUAL_PAD

/// Joystick layout of the virtual pad and the standard mapping that names it.
enum PadAxis { kLeftX, kLeftY, kRightX, kRightY, kLeftTrigger, kRightTrigger, kAxes };
enum PadButton {
    kA,
    kB,
    kX,
    kY,
    kBack,
    kGuide,
    kStart,
    kLeftStick,
    kRightStick,
    kLeftShoulder,
    kRightShoulder,
    kButtons
};

const char* const kPadName = "Kestrovane Test Pad";

/// A virtual pad attached for the life of the object.
class VirtualPad {
  public:
    VirtualPad() {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = kAxes;
        desc.nbuttons = kButtons;
        desc.vendor_id = 0x4b56; // made up: no database entry may match it
        desc.product_id = 0x0001;
        desc.name = kPadName;
        index_ = SDL_JoystickAttachVirtualEx(&desc);
        if (index_ < 0)
            return;
        char guid[64];
        SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index_), guid, sizeof guid);
        const std::string mapping =
            std::string(guid) + "," + kPadName +
            ",a:b0,b:b1,x:b2,y:b3,back:b4,guide:b5,start:b6,leftstick:b7,rightstick:b8,"
            "leftshoulder:b9,rightshoulder:b10,leftx:a0,lefty:a1,rightx:a2,righty:a3,"
            "lefttrigger:a4,righttrigger:a5,";
        mapped_ = SDL_GameControllerAddMapping(mapping.c_str()) >= 0;
        joystick_ = SDL_JoystickOpen(index_);
        // Triggers rest at the bottom of their axis.
        axis(kLeftTrigger, -32768);
        axis(kRightTrigger, -32768);
    }
    ~VirtualPad() { unplug(); }
    bool ready() const { return index_ >= 0 && mapped_ && joystick_ != nullptr; }
    void axis(int a, Sint16 v) { SDL_JoystickSetVirtualAxis(joystick_, a, v); }
    void button(int b, bool down) { SDL_JoystickSetVirtualButton(joystick_, b, down ? 1 : 0); }
    void unplug() {
        if (joystick_ != nullptr)
            SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        if (index_ >= 0)
            SDL_JoystickDetachVirtual(index_);
        index_ = -1;
    }

  private:
    int index_ = -1;
    bool mapped_ = false;
    SDL_Joystick* joystick_ = nullptr;
};

/// One frame's vehicle controls read through the controls port on `pad`.
kv::sim::ControlRecord readVehicle(kv::gui::SdlGamepad& pad, bool ground) {
    kv::app::ControllerSettings settings;
    settings.device = kv::app::ControllerDevice::Gamepad;
    settings.deadzone = 0.0f;
    settings.groundVehicle = ground;
    kv::app::DeviceControls controls(pad, settings);
    controls.begin();
    kv::sim::CameraRecord camera;
    kv::sim::ControlRecord vehicle, cameraControls;
    controls.readControls(camera, vehicle, cameraControls);
    return vehicle;
}

#endif

} // namespace

class SdlGamepadTest : public QObject {
    Q_OBJECT

  private slots:
    void aVirtualPadDrivesThroughTheStandardMapping() {
#ifndef KV_VIRTUAL_PAD
        QSKIP("built without SDL2 2.24 or later (no virtual joystick)");
#else
        kv::gui::SdlGamepad gamepad;
        QCOMPARE(QString::fromStdString(gamepad.connectedName()), QString());
        QVERIFY(!gamepad.open());
        VirtualPad pad;
        if (!pad.ready())
            QSKIP(qPrintable(QStringLiteral("SDL has no virtual joystick here: ") +
                             QString::fromUtf8(SDL_GetError())));
        QCOMPARE(QString::fromStdString(gamepad.connectedName()), QString::fromLatin1(kPadName));
        // Plugged in during a run: not read until the next run opens it.
        kv::app::DeviceState d;
        gamepad.sample(d);
        QVERIFY(!d.gamepad.connected);
        QVERIFY(gamepad.open());

        // Resting: centred, no buttons.
        gamepad.sample(d);
        QVERIFY(d.gamepad.connected);
        QCOMPARE(d.gamepad.leftX, 0.0f);
        QCOMPARE(d.gamepad.leftTrigger, 0.0f);
        QCOMPARE(d.gamepad.rightTrigger, 0.0f);
        QVERIFY(!d.gamepad.a && !d.gamepad.start);

        // Full right trigger, left stick half left and pulled fully back, A.
        pad.axis(kRightTrigger, 32767);
        pad.axis(kLeftX, -16384);
        pad.axis(kLeftY, 32767);
        pad.axis(kRightX, 32767); // the right stick does nothing
        pad.button(kA, true);
        pad.button(kStart, true);
        gamepad.sample(d);
        QCOMPARE(d.gamepad.rightTrigger, 1.0f);
        QCOMPARE(d.gamepad.leftX, -0.5f);
        QCOMPARE(d.gamepad.leftY, 1.0f);
        QVERIFY(d.gamepad.a && !d.gamepad.b && d.gamepad.start && !d.gamepad.back);

        // A car: steering from the stick, the right trigger is throttle (forward).
        kv::sim::ControlRecord car = readVehicle(gamepad, true);
        QCOMPARE(car.stickX, -0.5f);
        QCOMPARE(car.stickY, -1.0f);
        QCOMPARE(car.buttonA, 1);
        QCOMPARE(car.buttonB, 0);
        // An aircraft: the stick pitches (pulled back) and rolls.
        kv::sim::ControlRecord aircraft = readVehicle(gamepad, false);
        QCOMPARE(aircraft.stickX, -0.5f);
        QCOMPARE(aircraft.stickY, 1.0f);

        // The left trigger brakes against the throttle; B is button B.
        pad.axis(kLeftTrigger, 32767);
        pad.button(kA, false);
        pad.button(kB, true);
        car = readVehicle(gamepad, true);
        QCOMPARE(car.stickY, 0.0f);
        QCOMPARE(car.buttonA, 0);
        QCOMPARE(car.buttonB, 1);

        // Unplugged mid-run: centred, nothing pressed; it is not taken back
        // until the next run opens a pad.
        pad.unplug();
        gamepad.sample(d);
        QVERIFY(!d.gamepad.connected);
        car = readVehicle(gamepad, true);
        QCOMPARE(car.stickX, 0.0f);
        QCOMPARE(car.stickY, 0.0f);
        QCOMPARE(car.buttonB, 0);
        QCOMPARE(QString::fromStdString(gamepad.connectedName()), QString());
        QVERIFY(!gamepad.open());
#endif
    }

    void padButtonsPressTheRunKeys() {
#ifndef KV_VIRTUAL_PAD
        QSKIP("built without SDL2 2.24 or later (no virtual joystick)");
#else
        kv::gui::SdlGamepad gamepad;
        VirtualPad pad;
        if (!pad.ready())
            QSKIP("SDL has no virtual joystick here");
        QVERIFY(gamepad.open());
        kv::app::ControllerSettings settings;
        settings.device = kv::app::ControllerDevice::Gamepad;
        kv::app::DeviceControls controls(gamepad, settings);
        controls.begin();
        kv::sim::CameraRecord camera;
        kv::sim::ControlRecord vehicle, cameraControls;
        const auto pressed = [&](int button) {
            pad.button(button, true);
            controls.readControls(camera, vehicle, cameraControls);
            const int key = controls.state().pendingKey;
            controls.state().pendingKey = 0;
            pad.button(button, false);
            controls.readControls(camera, vehicle, cameraControls);
            return key;
        };
        QCOMPARE(pressed(kStart), int('P'));
        QCOMPARE(pressed(kBack), kv::app::kKeyEscape);
        QCOMPARE(pressed(kLeftShoulder), kv::app::kKeyF4);
        QCOMPARE(pressed(kRightShoulder), kv::app::kKeyF5);
        QCOMPARE(pressed(kX), kv::app::kKeyNone);
#endif
    }
};

QTEST_MAIN(SdlGamepadTest)
#include "test_sdl_gamepad.moc"
