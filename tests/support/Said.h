// What the game said and did for the plugin, read from the journal through its typed views: the
// notifications and chat messages players were sent, the replies an RCON client got, and any
// view's calls in order.
// Values compare whole and print whole, so a failing expectation shows what was said.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "standin/GameObjects.h"
#include "standin/Journal.h"
#include "standin/JournalViews.h"
#include "standin/World.h"

// The calls `View` reads among the entries recorded so far, in order.
template <typename View>
std::vector<View> Recorded() {
  return StandIn::Journal::All<View>(StandIn::Journal::Peek());
}

// A chat message as a player reads it: its text and colour ("(0, 1, 0, 1)", as Shown.h's
// constants write one); the game's flag is false for every message the plugin sends.
struct Chat {
  std::string Text;
  std::string Colour;
  bool Flag = false;
};
bool operator==(const Chat& a, const Chat& b);
std::ostream& operator<<(std::ostream& out, const Chat& chat);

// An RCON reply as its client reads it: the request it answers and its text, of type 0.
struct Reply {
  int32_t RequestId;
  std::string Text;
  int32_t Type = 0;
};
bool operator==(const Reply& a, const Reply& b);
std::ostream& operator<<(std::ostream& out, const Reply& reply);

// The chat messages sent to `player`, in order.
std::vector<Chat> ChatsTo(StandIn::Controller& player);
// The replies sent on `connection`, in order.
std::vector<Reply> RepliesOn(StandIn::RconConnection& connection);

// An on-screen notification as the game was asked to show it: to which player of the world (by
// name; "" for a controller that is none of its players), its text and colour, the two numbers,
// and whether a texture or a sound came with it.
struct Notice {
  std::string To;
  std::string Text;
  std::string Colour;
  float First;
  float Second;
  bool Texture = false;
  bool Sound = false;
};
bool operator==(const Notice& a, const Notice& b);
std::ostream& operator<<(std::ostream& out, const Notice& notice);

// The notifications shown to the players of `world`, in order.
std::vector<Notice> NoticesIn(const StandIn::Roster& world);
// A refused mission start's notification to `player`: `text` in red with the numbers 2 and 10,
// and no texture or sound.
Notice Refusal(const std::string& player, const std::string& text);

// A mission start as it reached the game's own function: through which dispatcher, of which
// mission class and character (game objects, null for none), with which fourth argument.
struct GameStart {
  const void* Dispatcher;
  const void* MissionClass;
  const void* Character;
  uintptr_t Fourth;
};
bool operator==(const GameStart& a, const GameStart& b);
std::ostream& operator<<(std::ostream& out, const GameStart& start);

// The starts that reached the game, in order.
std::vector<GameStart> GameStarts();
