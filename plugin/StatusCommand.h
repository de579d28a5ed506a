// "qv.status": tells the operator what the plugin is doing, from a player's or the server's
// console and over RCON, answered where "qv.reload" answers. Nothing thrown reaches the host's
// command dispatch; a status that cannot be given is logged at critical with its reason.
#pragma once

#include <string>
#include <vector>

// The status, one line each: the config file's path; when it was last read, or that no read has
// succeeded and why; a later read that failed; the entries of "DisabledMissions" in force with
// the first few of them; "DisabledMessage" and "ShowMissionNames" as they apply; whether the
// mission start hook is placed; last, the plugin's version. Texts from the configuration are shown
// as JSON strings (UTF-8, control characters escaped); times are local, as in the log.
std::vector<std::string> StatusLines();

// Registers the handler under "qv.status" with the host / removes it again: the console command
// answers the player who gave it (none for the server console) in chat, a line per message; the
// RCON command replies with the lines under the request's id. A removal answers the host's
// answer: false when it had no such command.
void RegisterConsoleStatusCommand();
void RegisterRconStatusCommand();
bool RemoveConsoleStatusCommand();
bool RemoveRconStatusCommand();
