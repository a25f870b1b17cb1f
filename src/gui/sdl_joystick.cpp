#include "gui/sdl_joystick.h"

#ifdef KV_HAVE_SDL2
#include <SDL.h>
#endif

namespace kv::gui {

#ifdef KV_HAVE_SDL2

struct SdlJoystick::Device {
    SDL_GameController* controller = nullptr;
    SDL_Joystick* joystick = nullptr;

    ~Device() { close(); }
    void close() {
        if (controller != nullptr)
            SDL_GameControllerClose(controller);
        else if (joystick != nullptr)
            SDL_JoystickClose(joystick);
        controller = nullptr;
        joystick = nullptr;
    }
    bool open() {
        if (joystick != nullptr && SDL_JoystickGetAttached(joystick))
            return true;
        close();
        if (SDL_NumJoysticks() < 1)
            return false;
        if (SDL_IsGameController(0)) {
            controller = SDL_GameControllerOpen(0);
            if (controller != nullptr)
                joystick = SDL_GameControllerGetJoystick(controller);
        }
        if (joystick == nullptr)
            joystick = SDL_JoystickOpen(0);
        return joystick != nullptr;
    }
};

SdlJoystick::SdlJoystick() : device_(std::make_unique<Device>()) {
    // The window belongs to Qt: SDL must read the device without focus events.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // The program handles SIGINT and SIGTERM itself; SDL's own handlers would
    // turn them into quit events nobody reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    started_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) == 0;
}

SdlJoystick::~SdlJoystick() {
    device_.reset();
    if (started_)
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
}

bool SdlJoystick::present() {
    if (!started_)
        return false;
    SDL_JoystickUpdate();
    return device_->open() && SDL_JoystickNumAxes(device_->joystick) >= 2;
}

void SdlJoystick::sample(app::DeviceState& d) {
    d.joystickValid = false;
    if (!present())
        return;
    // SDL's axes run from -32768 to 32767.
    d.joystickXMin = -32768.0f;
    d.joystickXMax = 32767.0f;
    d.joystickYMin = -32768.0f;
    d.joystickYMax = 32767.0f;
    if (device_->controller != nullptr) {
        SDL_GameController* c = device_->controller;
        d.joystickX = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX);
        d.joystickY = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY);
        d.joystickButton1 = SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_A) != 0;
        d.joystickButton2 = SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_B) != 0;
    } else {
        SDL_Joystick* j = device_->joystick;
        d.joystickX = SDL_JoystickGetAxis(j, 0);
        d.joystickY = SDL_JoystickGetAxis(j, 1);
        d.joystickButton1 = SDL_JoystickGetButton(j, 0) != 0;
        d.joystickButton2 = SDL_JoystickGetButton(j, 1) != 0;
    }
    d.joystickValid = true;
}

#else

struct SdlJoystick::Device {};

SdlJoystick::SdlJoystick() = default;
SdlJoystick::~SdlJoystick() = default;

bool SdlJoystick::present() {
    return false;
}

void SdlJoystick::sample(app::DeviceState& d) {
    d.joystickValid = false;
}

#endif

} // namespace kv::gui
