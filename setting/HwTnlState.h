#pragma once

// Whether the companion 3D program is to use hardware transform and lighting.
// The enumerators' values are the bytes stored in TandL.ini.
enum class HwTnlState : char {
    Off = '0',  // do not use hardware T&L
    On = '1',   // use hardware T&L
};

// The byte that TandL.ini holds for a state.
constexpr char HwTnlFileByte(HwTnlState state) { return static_cast<char>(state); }

// The settings dialog keeps the choice in the check state of its "do not use" radio
// button alone: checked means Off, anything else (unchecked, or indeterminate) means On.
constexpr HwTnlState HwTnlStateFromOffButton(bool offButtonChecked)
{
    return offButtonChecked ? HwTnlState::Off : HwTnlState::On;
}
