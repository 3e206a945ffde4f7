// The volume slider of the pause screen and the credits panel, in the panel's own units: the track
// sprite centred on centreX with its top at trackY, and a knob that travels along the track's line.
#pragma once

namespace kel {

// Reads a drag (mouse given in panel units), sets both global volumes from it, and draws the track,
// the muted mark and the knob. The drag is read before drawing so the picture shows this frame's
// volume. *volume is 0..1. Returns true while the knob is dragged.
bool VolumeSlider(float* volume, float centreX, float trackY, float mouseX, float mouseY);

} // namespace kel
