// The journal entries of what the game was asked to show or send, shared by the suites that drive
// the game: exact entries to expect, and patterns that pick them out of the journal.
#pragma once

#include <string>

// A refused mission start's notification to `player`: `text` in red (1, 0, 0, 1) with the
// numbers 2 and 10 and no texture or sound.
inline std::string RedNotification(const std::string& player, const std::string& text) {
  return "AShooterPlayerController.ClientServerSOTFNotificationCustom(controller \"" + player +
         "\", \"" + text + "\", (1, 0, 0, 1), 2, 10, null, null)";
}
// Any notification to `player`.
inline std::string NotificationTo(const std::string& player) {
  return "AShooterPlayerController.ClientServerSOTFNotificationCustom(controller \"" + player +
         "\", *";
}

// A chat message to `player`: `text` in `colour` ("(0, 1, 0, 1)"), flag false.
inline std::string ChatMessage(const std::string& player, const std::string& text,
                               const std::string& colour) {
  return "AShooterPlayerController.ClientServerChatDirectMessage(controller \"" + player +
         "\", \"" + text + "\", " + colour + ", false)";
}
// Any chat message to `player`.
inline std::string ChatTo(const std::string& player) {
  return "AShooterPlayerController.ClientServerChatDirectMessage(controller \"" + player + "\", *";
}
inline const char* const kGreen = "(0, 1, 0, 1)";
inline const char* const kRed = "(1, 0, 0, 1)";
inline const char* const kWhite = "(1, 1, 1, 1)";

// An RCON reply on the world's `connection`th connection under `requestId`, of type 0.
inline std::string RconReply(int connection, int32_t requestId, const std::string& text) {
  return "RCONClientConnection.SendMessageW(rcon " + std::to_string(connection) + ", " +
         std::to_string(requestId) + ", 0, \"" + text + "\")";
}
inline const char* const kAnyRconReply = "RCONClientConnection.SendMessageW(*";

// A call that reached the game's own mission start.
inline const char* const kGameStart = "AMissionDispatcher.StartMission(*";
