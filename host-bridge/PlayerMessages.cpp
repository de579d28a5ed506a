// The ways of answering a player or an RCON client. Every string handed to the game is the
// caller's and is released right after the call; the game keeps no reference to it and only
// reads it, though its parameters are not const.
#include <cstring>

#include "host-bridge/GameCalls.h"
#include "host-bridge/GameFunction.h"

namespace {

// The request id: the 32-bit field that follows the packet's first 32-bit field.
int32_t RequestId(const RCONPacket* request) {
  int32_t id = 0;
  std::memcpy(&id, reinterpret_cast<const char*>(request) + sizeof(int32_t), sizeof(id));
  return id;
}

}  // namespace

void ShowNotification(AShooterPlayerController* controller, const FString& message, Color8 color,
                      float first, float second) {
  LinearColor linear = ToLinearColor(color);
  GameFunction<void(AShooterPlayerController*, FString*, LinearColor*, float, float, void*, void*)>(
      "AShooterPlayerController.ClientServerSOTFNotificationCustom")(
      controller, const_cast<FString*>(&message), &linear, first, second, nullptr, nullptr);
}

void SendDirectChat(AShooterPlayerController* controller, const char* text, Color8 color) {
  if (controller == nullptr) return;
  SendDirectChat(controller, FString::Format(text), color);
}

void SendDirectChat(AShooterPlayerController* controller, const FString& message, Color8 color) {
  if (controller == nullptr) return;
  LinearColor linear = ToLinearColor(color);
  GameFunction<void(AShooterPlayerController*, FString*, LinearColor*, bool)>(
      "AShooterPlayerController.ClientServerChatDirectMessage")(
      controller, const_cast<FString*>(&message), &linear, false);
}

void ReplyRcon(RCONClientConnection* connection, RCONPacket* request, const char* text) {
  ReplyRcon(connection, request, FString(text));
}

void ReplyRcon(RCONClientConnection* connection, RCONPacket* request, const FString& message) {
  GameFunction<void(RCONClientConnection*, int32_t, int32_t, FString*)>(
      "RCONClientConnection.SendMessageW")(connection, RequestId(request), 0,
                                           const_cast<FString*>(&message));
}
