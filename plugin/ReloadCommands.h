// "qv.reload": re-reads config.json at run time, from a player's or the server's console and
// over RCON, and tells the caller whether it worked. A failed read is logged at critical with its
// reason; nothing thrown reaches the host's command dispatch.
#pragma once

// Registers the handler under "qv.reload" with the host / removes it again: the console command
// answers the player who gave it (none for the server console) in chat, the RCON command replies
// under the request's id. A removal answers the host's answer: false when it had no such command.
void RegisterConsoleReloadCommand();
void RegisterRconReloadCommand();
bool RemoveConsoleReloadCommand();
bool RemoveRconReloadCommand();
