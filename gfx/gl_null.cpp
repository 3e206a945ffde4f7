#include "gfx/gl_recording.h"

namespace kel {

GlBackend* CreateNullGlBackend() { return new NullGlBackend; }

} // namespace kel
