#pragma once

namespace orx::win {

// Dispatches queued messages of the thread without accelerators, for at most a short
// budget: a long operation on the UI thread keeps the windows alive with this.
void PumpPendingMessages();

} // namespace orx::win
