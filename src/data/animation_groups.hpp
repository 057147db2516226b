#pragma once

#include <span>
#include <string_view>

namespace hw {

/// The animation groups the game's engine knows, which the PlayGroup and
/// LoopGroup commands name ("Idle2", "WalkForward1h", ...): 150 names, in the
/// engine's own order (the order in which its saved games number them), not
/// sorted. The game matches them without regard to letter case.
std::span<const std::string_view> animationGroupNames();

} // namespace hw
