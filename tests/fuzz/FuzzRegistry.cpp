#include "FuzzTarget.h"

namespace fuzz {

std::vector<Registered>& Targets() {
    static std::vector<Registered> targets;
    return targets;
}

int Register(const char* name, Target target) {
    Targets().push_back({name, target});
    return static_cast<int>(Targets().size());
}

} // namespace fuzz
