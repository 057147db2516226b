#include "data/animation_groups.hpp"

#include <array>

namespace hw {
namespace {

// The groups as the original engine numbers them. The list is OpenMW's table
// of the engine's group numbers, which it uses to read the animation state
// of the original game's saved games (apps/essimporter/convertacdt.cpp,
// convertANIS). The movement groups repeat for each way of holding a weapon:
// "hh" hand to hand, "1h" one hand, "2c" two hands close, "2w" two hands wide.
// clang-format off
constexpr std::array<std::string_view, 150> kGroups = {
    "Idle", "Idle2", "Idle3", "Idle4", "Idle5", "Idle6", "Idle7", "Idle8", "Idle9",
    "Idlehh", "Idle1h", "Idle2c", "Idle2w", "IdleSwim", "IdleSpell", "IdleCrossbow", "IdleSneak",
    "IdleStorm", "Torch",
    "Hit1", "Hit2", "Hit3", "Hit4", "Hit5", "SwimHit1", "SwimHit2", "SwimHit3",
    "Death1", "Death2", "Death3", "Death4", "Death5", "DeathKnockDown", "DeathKnockOut",
    "KnockDown", "KnockOut", "SwimDeath", "SwimDeath2", "SwimDeath3", "SwimDeathKnockDown",
    "SwimDeathKnockOut", "SwimKnockOut", "SwimKnockDown",
    "SwimWalkForward", "SwimWalkBack", "SwimWalkLeft", "SwimWalkRight",
    "SwimRunForward", "SwimRunBack", "SwimRunLeft", "SwimRunRight", "SwimTurnLeft", "SwimTurnRight",
    "WalkForward", "WalkBack", "WalkLeft", "WalkRight", "TurnLeft", "TurnRight",
    "RunForward", "RunBack", "RunLeft", "RunRight",
    "SneakForward", "SneakBack", "SneakLeft", "SneakRight", "Jump",
    "WalkForwardhh", "WalkBackhh", "WalkLefthh", "WalkRighthh", "TurnLefthh", "TurnRighthh",
    "RunForwardhh", "RunBackhh", "RunLefthh", "RunRighthh",
    "SneakForwardhh", "SneakBackhh", "SneakLefthh", "SneakRighthh", "Jumphh",
    "WalkForward1h", "WalkBack1h", "WalkLeft1h", "WalkRight1h", "TurnLeft1h", "TurnRight1h",
    "RunForward1h", "RunBack1h", "RunLeft1h", "RunRight1h",
    "SneakForward1h", "SneakBack1h", "SneakLeft1h", "SneakRight1h", "Jump1h",
    "WalkForward2c", "WalkBack2c", "WalkLeft2c", "WalkRight2c", "TurnLeft2c", "TurnRight2c",
    "RunForward2c", "RunBack2c", "RunLeft2c", "RunRight2c",
    "SneakForward2c", "SneakBack2c", "SneakLeft2c", "SneakRight2c", "Jump2c",
    "WalkForward2w", "WalkBack2w", "WalkLeft2w", "WalkRight2w", "TurnLeft2w", "TurnRight2w",
    "RunForward2w", "RunBack2w", "RunLeft2w", "RunRight2w",
    "SneakForward2w", "SneakBack2w", "SneakLeft2w", "SneakRight2w", "Jump2w",
    "SpellCast", "SpellTurnLeft", "SpellTurnRight",
    "Attack1", "Attack2", "Attack3", "SwimAttack1", "SwimAttack2", "SwimAttack3",
    "HandToHand", "Crossbow", "BowAndArrow", "ThrowWeapon", "WeaponOneHand", "WeaponTwoHand",
    "WeaponTwoWide", "Shield", "PickProbe",
    "InventoryHandToHand", "InventoryWeaponOneHand", "InventoryWeaponTwoHand",
    "InventoryWeaponTwoWide",
};
// clang-format on
static_assert(!kGroups.back().empty(), "the table holds fewer names than its size");

} // namespace

std::span<const std::string_view> animationGroupNames()
{
    return kGroups;
}

} // namespace hw
