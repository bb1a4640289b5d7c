// SPDX-License-Identifier: GPL-3.0-or-later
// Long work off the window's thread, with the window's events handled meanwhile: the caller
// waits inside a local event loop, so menus, keys, repaints and closing the window go on.
#pragma once

#include <functional>
#include <optional>

class QThreadPool;

// The threads that do such work: the program's own, apart from the pool Qt paints with, so
// that long work never keeps the window from drawing. Made on first use, ended with the
// application (which then waits for work still running).
QThreadPool& BackgroundWorkPool();

// Runs `work` on a thread of BackgroundWorkPool() and returns its result. Until it is ready the
// calling thread handles its events; every `tickMs` it asks `wanted` and, while that holds,
// calls `tick` (to show progress). Once `wanted` turns false the wait ends at once with no
// result: the work runs to its end on its own data and its result is dropped. When the event
// loop is told to quit while the result is still wanted, the result is waited for, so a caller
// never loses an answer it still wants. An exception thrown by `work` is thrown here.
std::optional<int> RunWhileEventsRun(std::function<int()> work, const std::function<bool()>& wanted,
                                     const std::function<void()>& tick, int tickMs = 15);
