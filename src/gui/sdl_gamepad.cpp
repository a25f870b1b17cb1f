#include "gui/sdl_gamepad.h"

#ifdef KV_HAVE_SDL2
#include <SDL.h>
#endif

namespace kv::gui {

#ifdef KV_HAVE_SDL2

namespace {

/// The first joystick index SDL has a game-controller mapping for, or -1.
int firstGamepadIndex() {
    SDL_JoystickUpdate();
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i)
        if (SDL_IsGameController(i))
            return i;
    return -1;
}

/// A stick axis (-32768..32767) as -1..1.
float stickAxis(Sint16 v) {
    return v < 0 ? static_cast<float>(v) / 32768.0f : static_cast<float>(v) / 32767.0f;
}

/// A trigger (0..32767) as 0..1.
float triggerAxis(Sint16 v) {
    return v <= 0 ? 0.0f : static_cast<float>(v) / 32767.0f;
}

} // namespace

struct SdlGamepad::Device {
    SDL_GameController* controller = nullptr;
    ~Device() { close(); }
    void close() {
        if (controller != nullptr)
            SDL_GameControllerClose(controller);
        controller = nullptr;
    }
};

SdlGamepad::SdlGamepad() : device_(std::make_unique<Device>()) {
    // The window belongs to Qt: SDL must read the pad without focus events.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // This may be the program's first SDL start-up (the fresh-install probe):
    // the program's own handling of SIGINT and SIGTERM must stay in place.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    started_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) == 0;
}

SdlGamepad::~SdlGamepad() {
    device_.reset();
    if (started_)
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
}

bool SdlGamepad::open() {
    device_->close();
    if (!started_)
        return false;
    const int index = firstGamepadIndex();
    if (index < 0)
        return false;
    device_->controller = SDL_GameControllerOpen(index);
    return device_->controller != nullptr;
}

void SdlGamepad::close() {
    device_->close();
}

std::string SdlGamepad::connectedName() {
    if (!started_)
        return {};
    const int index = firstGamepadIndex();
    if (index < 0)
        return {};
    const char* name = SDL_GameControllerNameForIndex(index);
    return name != nullptr && *name != '\0' ? std::string(name) : std::string("Gamepad");
}

void SdlGamepad::sample(app::DeviceState& d) {
    d.gamepad = app::GamepadState{};
    SDL_GameController* c = device_->controller;
    if (c == nullptr)
        return;
    SDL_GameControllerUpdate();
    if (!SDL_GameControllerGetAttached(c))
        return;
    app::GamepadState& p = d.gamepad;
    p.connected = true;
    p.leftX = stickAxis(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX));
    p.leftY = stickAxis(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY));
    p.leftTrigger = triggerAxis(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_TRIGGERLEFT));
    p.rightTrigger = triggerAxis(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
    const auto button = [c](SDL_GameControllerButton b) {
        return SDL_GameControllerGetButton(c, b) != 0;
    };
    p.a = button(SDL_CONTROLLER_BUTTON_A);
    p.b = button(SDL_CONTROLLER_BUTTON_B);
    p.start = button(SDL_CONTROLLER_BUTTON_START);
    p.back = button(SDL_CONTROLLER_BUTTON_BACK);
    p.leftShoulder = button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
    p.rightShoulder = button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
}

#else

struct SdlGamepad::Device {};

SdlGamepad::SdlGamepad() = default;
SdlGamepad::~SdlGamepad() = default;

bool SdlGamepad::open() {
    return false;
}

void SdlGamepad::close() {}

std::string SdlGamepad::connectedName() {
    return {};
}

void SdlGamepad::sample(app::DeviceState& d) {
    d.gamepad = app::GamepadState{};
}

#endif

} // namespace kv::gui
