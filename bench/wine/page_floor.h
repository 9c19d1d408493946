// What any page with the Quillon page's controls pays to open, with nothing
// loaded: one window holding the controls of the page's design (same classes,
// styles, fonts, sizes and visual-styles context, the tooltip), created in a
// host shaped like the Options dialog and painted.
#pragma once

namespace quillon::bench {

// Milliseconds from the page window's creation to the end of the first paint;
// -1 when a window could not be created.
double TimedFloorOpen();

}  // namespace quillon::bench
