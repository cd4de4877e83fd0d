// Bytes per output pixel. On the desktop this is the screen's depth; here
// there is no desktop, and KELORVO_DESKTOP_BPP (16, 24 or 32; default 32)
// stands for its bits per pixel.
#pragma once

namespace Kel {

// The desktop's bits per pixel divided by 8: 2, 3 or 4. A value of the
// variable other than 16, 24 or 32 is reported on standard error and the
// default is used.
int DesktopBytesPerPixel();

}  // namespace Kel
