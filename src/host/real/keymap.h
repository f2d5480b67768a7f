// Physical keys to the game's key codes.
#pragma once

namespace sw::host::real {

// The Windows virtual-key number of the key with SDL scancode `scancode`
// (layout-independent: the key's place on a US keyboard decides), or 0 for a
// key the game does not know, which is then ignored.
int VirtualKeyFromScancode(int scancode);

}  // namespace sw::host::real
