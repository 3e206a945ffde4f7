// Controls shared by the panels drawn over the game (the pause screen and the credits panel), in
// the panel's own units: the mouse in those units, buttons and the volume slider.
#pragma once

namespace kel {

// A mouse coordinate (window px) in panel units: the pixel is divided by the unit as an integer,
// then the panel's origin is subtracted.
float PanelMouse(int pixel, float unitPx, float origin);

// The input side of a panel button drawn as sprite `id` anchored at (bx, by): the hit test
// against the sprite's rectangle, a press on it (into *pressed) and a release after that press
// (into *clicked), each with its click sound. True while the mouse is over the button.
bool PanelButtonInput(int id, float bx, float by, float mouseX, float mouseY, int* pressed, int* clicked);

// The volume slider: the track sprite centred on centreX with its top at trackY, and a knob that
// travels along the track's line.
// Reads a drag (mouse given in panel units), sets both global volumes from it, and draws the track,
// the muted mark and the knob. The drag is read before drawing so the picture shows this frame's
// volume. *volume is 0..1. Returns true while the knob is dragged.
bool VolumeSlider(float* volume, float centreX, float trackY, float mouseX, float mouseY);

} // namespace kel
