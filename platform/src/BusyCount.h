#pragma once

namespace ui {

// Transitions and one-shot work that the test driver waits for: each
// beginBusy is matched by one endBusy when the work is done.
void beginBusy();
void endBusy();
int busyCount();
// Whether transitions finish at once (the test driver turns this on).
bool animationsInstant();
void setAnimationsInstant(bool instant);

}  // namespace ui
