#include "app/customize/appearance_form.h"

namespace kv::app {

Appearance appearanceOf(const model::ObjectRecord& r) {
    return {r.color, r.transparency};
}

bool applyAppearance(const Appearance& chosen, model::ObjectRecord& r) {
    if (appearanceOf(r) == chosen)
        return false;
    r.color = chosen.color;
    r.transparency = chosen.transparency;
    return true;
}

} // namespace kv::app
