#pragma once
// One rebuild at a time. While the walk waits for a window's text, Vantrel's
// thread answers the messages other programs send it, and a Refresh among
// them would start a second rebuild inside the first: the tree would come out
// twice over and mis-nested. A rebuild asked for while one runs is done once,
// after it, however often it was asked for meanwhile.

#include "base/scope_exit.h"

namespace vantrel {

class RebuildGate {
public:
    // Runs rebuild, and once more for as long as another was asked for while
    // it ran; inside a running rebuild only takes note of the request.
    template <typename Rebuild>
    void Run(Rebuild&& rebuild) {
        if (running_) {
            again_ = true;
            return;
        }
        const auto running = TemporarilySet(running_, true);
        do {
            again_ = false;
            rebuild();
        } while (again_);
    }

    bool Running() const { return running_; }

private:
    bool running_ = false;
    bool again_ = false;
};

}  // namespace vantrel
