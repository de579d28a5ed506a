// Running test code on a thread with a stack of a given size, as small as a game server's threads
// have on Windows, portably: std::thread has no way to ask for a stack size.
#pragma once

#include <cstddef>
#include <functional>

// The default stack of a thread a Windows program starts, the game server's among them.
inline constexpr std::size_t kGameThreadStackBytes = std::size_t{1} << 20;

// Runs `work` on a new thread whose stack holds `stackBytes` and waits for it to end. What `work`
// throws is thrown here again as a std::runtime_error naming its what(). A stack overflow ends the
// test program, as it would end a server.
void RunOnThreadWithStack(std::size_t stackBytes, const std::function<void()>& work);
