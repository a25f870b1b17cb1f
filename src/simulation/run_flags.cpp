#include "simulation/run_flags.h"

namespace kv::sim {

void applyRunKey(RunFlags& flags, RunKey key) {
    switch (key) {
    case RunKey::Escape:
        flags.stop = true;
        flags.pause = false;
        break;
    case RunKey::Pause:
        if (!flags.stop)
            flags.pause = !flags.pause;
        break;
    case RunKey::None:
        break;
    }
}

} // namespace kv::sim
