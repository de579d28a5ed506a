// The RCON listener in process, with the plugin loaded: a small client talks to it over
// 127.0.0.1 while the listener's io_context runs on its own thread, the only one that touches the
// game while it runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <optional>
#include <thread>

#include <asio.hpp>

#include "host-bridge/FString.h"
#include "host-bridge/HostApi.h"
#include "sandbox/rcon/GameRcon.h"
#include "common/RconPacket.h"
#include "sandbox/rcon/RconServer.h"
#include "standin/HeapAndFaults.h"
#include "standin/JournalViews.h"
#include "standin/World.h"
#include "support/Configs.h"
#include "support/ServerFixture.h"

namespace Sandbox {
namespace {

using namespace std::chrono_literals;
using asio::ip::tcp;

constexpr const char* kPassword = "hunter2";

// A blocking RCON client whose every wait is bounded.
class Client {
 public:
  explicit Client(const tcp::endpoint& server) : socket_(io_) { socket_.connect(server); }

  void Send(const Rcon::RconPacket& packet) { SendRaw(Rcon::EncodeRconPacket(packet)); }
  void SendRaw(const std::string& bytes) { asio::write(socket_, asio::buffer(bytes)); }

  // The next packet; none when the server closed the connection.
  std::optional<Rcon::RconPacket> Receive() {
    while (packets_.empty()) {
      if (!ReadSome()) return std::nullopt;
    }
    Rcon::RconPacket packet = packets_.front();
    packets_.erase(packets_.begin());
    return packet;
  }

  // Whether the server closes the connection, with nothing more sent, within `limit`.
  bool ClosedByServer(std::chrono::milliseconds limit = 5s) {
    return packets_.empty() && !ReadSome(limit);
  }

  void Authenticate() {
    Send({1, Rcon::kRconAuth, kPassword});
    ASSERT_EQ(Receive(), (Rcon::RconPacket{1, Rcon::kRconAuthResponse, ""}));
  }

 private:
  // Reads what arrives; false at the end of the connection. Fails the test after `limit`.
  bool ReadSome(std::chrono::milliseconds limit = 5s) {
    std::array<char, 8192> buffer;
    std::error_code error;
    std::size_t count = 0;
    bool done = false;
    socket_.async_read_some(asio::buffer(buffer), [&](std::error_code e, std::size_t n) {
      error = e;
      count = n;
      done = true;
    });
    io_.restart();
    io_.run_for(limit);
    if (!done) {
      ADD_FAILURE() << "the server neither answered nor closed within " << limit.count() << " ms";
      socket_.close();
      io_.restart();
      io_.run();
      return false;
    }
    if (error) return false;
    Rcon::RconPacketReader::Result result = reader_.Feed({buffer.data(), count});
    EXPECT_FALSE(result.Error) << *result.Error;
    packets_.insert(packets_.end(), result.Packets.begin(), result.Packets.end());
    return !result.Error;
  }

  asio::io_context io_;
  tcp::socket socket_;
  Rcon::RconPacketReader reader_;
  std::vector<Rcon::RconPacket> packets_;
};

using RconServerTest = ServerTest;

// What every test loads the plugin with.

// The plugin loaded in `server` with kHuntOff, and the RCON listener of the sandbox's RCON host
// running on a thread of its own from construction until Stop or the end: meanwhile the game is
// looked at on that thread only.
class Listener {
 public:
  explicit Listener(ServerTest& server, RconSettings settings = {}) {
    server.LoadWith(kHuntOff);
    settings.Password = kPassword;
    listener_ = std::make_unique<RconServer>(io_, settings, host_);
    work_.emplace(io_.get_executor());
    thread_ = std::thread([this] { io_.run(); });
  }
  Listener(const Listener&) = delete;
  Listener& operator=(const Listener&) = delete;
  ~Listener() { Stop(); }

  // Back to one thread: the game may be looked at again.
  void Stop() {
    if (!thread_.joinable()) return;
    asio::post(io_, [this] {
      listener_->Stop();
      work_.reset();
    });
    thread_.join();
    listener_.reset();
  }

  tcp::endpoint Endpoint() const { return listener_->Endpoint(); }

  // `task`'s result, run on the listener's thread: the game may be looked at there while the
  // listener runs.
  template <typename Task>
  auto OnGameThread(Task task) -> decltype(task()) {
    std::promise<decltype(task())> result;
    std::future<decltype(task())> future = result.get_future();
    asio::post(io_, [&] { result.set_value(task()); });
    EXPECT_EQ(future.wait_for(5s), std::future_status::ready) << "the listener's thread is stuck";
    return future.get();
  }
  std::size_t GameHeapBlocks() {
    return OnGameThread([] { return StandIn::GameHeap::LiveBlocks(); });
  }
  uint64_t GameHeapAllocations() {
    return OnGameThread([] { return StandIn::GameHeap::TotalAllocations(); });
  }
  // Whether the game heap's live blocks come back to `count` within five seconds.
  bool GameHeapBackTo(std::size_t count) {
    for (int attempt = 0; attempt < 50; ++attempt) {
      if (GameHeapBlocks() == count) return true;
      std::this_thread::sleep_for(100ms);
    }
    return false;
  }

 private:
  Terminal terminal_{false};
  GameRcon host_{terminal_, nullptr};
  asio::io_context io_;
  std::optional<asio::executor_work_guard<asio::io_context::executor_type>> work_;
  std::unique_ptr<RconServer> listener_;
  std::thread thread_;
};

TEST_F(RconServerTest, ListensOnTheLoopbackAddressWithTheChosenPort) {
  Listener listener(*this);
  EXPECT_EQ(listener.Endpoint().address(), asio::ip::make_address("127.0.0.1"));
  EXPECT_NE(listener.Endpoint().port(), 0);
}

// Packets sent in one write.
std::string Write(std::initializer_list<Rcon::RconPacket> packets) {
  std::string bytes;
  for (const Rcon::RconPacket& packet : packets) bytes += Rcon::EncodeRconPacket(packet);
  return bytes;
}

const Rcon::RconPacket kWrong{1, Rcon::kRconAuth, "guess"};
const Rcon::RconPacket kRight{1, Rcon::kRconAuth, kPassword};
const Rcon::RconPacket kReload{2, Rcon::kRconExecCommand, "qv.reload"};
const Rcon::RconPacket kRefusal{-1, Rcon::kRconAuthResponse, ""};
const Rcon::RconPacket kGranted{1, Rcon::kRconAuthResponse, ""};
const Rcon::RconPacket kReloaded{2, Rcon::kRconResponseValue, "QuestVeto: Reloaded config"};

// A client's writes, each followed by what it reads in answer.
struct Exchange {
  std::string Bytes;
  std::vector<Rcon::RconPacket> Answers;
};

struct ClientCase {
  const char* What;
  std::vector<Exchange> Exchanges;
  // Whether the server then closes the connection; otherwise the client may still authenticate.
  bool Closed;
  // Whether "qv.reload" reached the game (its request and reply go through the game heap).
  bool CommandRan;
};

TEST_F(RconServerTest, HostileClientsGetNothingButRefusals) {
  const std::vector<ClientCase> cases = {
      {"the empty password", {{Write({{1, Rcon::kRconAuth, ""}}), {kRefusal}}}, false, false},
      {"a prefix of the password", {{Write({{1, Rcon::kRconAuth, "hunter"}}), {kRefusal}}}, false, false},
      {"the password and more", {{Write({{1, Rcon::kRconAuth, "hunter22"}}), {kRefusal}}}, false, false},
      {"the password in capitals",
       {{Write({{1, Rcon::kRconAuth, "HUNTER2"}}), {kRefusal}}},
       false,
       false},
      {"the password and a line end",
       {{Write({{1, Rcon::kRconAuth, "hunter2\n"}}), {kRefusal}}},
       false,
       false},
      {"a command before authentication", {{Write({kReload}), {kRefusal}}}, true, false},
      {"an empty response value before authentication",
       {{Write({{5, Rcon::kRconResponseValue, ""}}), {kRefusal}}},
       true,
       false},
      {"an unknown type before authentication", {{Write({{5, 7, ""}}), {kRefusal}}}, true, false},
      {"a command, then the password, in one write",
       {{Write({kReload, kRight}), {kRefusal}}},
       true,
       false},
      {"three wrong passwords, one write each",
       {{Write({kWrong}), {kRefusal}},
        {Write({kWrong}), {kRefusal}},
        {Write({kWrong}), {kRefusal}}},
       true,
       false},
      {"three wrong passwords and a command in one write",
       {{Write({kWrong, kWrong, kWrong, kReload}), {kRefusal, kRefusal, kRefusal}}},
       true,
       false},
      {"three wrong passwords, the right one and a command in one write",
       {{Write({kWrong, kWrong, kWrong, kRight, kReload}), {kRefusal, kRefusal, kRefusal}}},
       true,
       false},
      {"two wrong passwords, the right one and a command in one write",
       {{Write({kWrong, kWrong, kRight, kReload}), {kRefusal, kRefusal, kGranted, kReloaded}}},
       false,
       true},
      {"the password and a command in one write",
       {{Write({kRight, kReload}), {kGranted, kReloaded}}},
       false,
       true},
  };
  Listener listener(*this);
  for (const ClientCase& hostile : cases) {
    SCOPED_TRACE(hostile.What);
    const uint64_t allocations = listener.GameHeapAllocations();
    Client client(listener.Endpoint());
    for (const Exchange& exchange : hostile.Exchanges) {
      client.SendRaw(exchange.Bytes);
      for (const Rcon::RconPacket& answer : exchange.Answers) EXPECT_EQ(client.Receive(), answer);
    }
    if (hostile.Closed) {
      EXPECT_TRUE(client.ClosedByServer());
    } else {
      client.Authenticate();
    }
    EXPECT_EQ(listener.GameHeapAllocations() != allocations, hostile.CommandRan);
  }
}

TEST_F(RconServerTest, AnEmptyResponseBeforeTheVerdictCarriesTheVerdictsId) {
  RconSettings settings;
  settings.EmptyResponseFirst = true;
  Listener listener(*this, settings);
  Client client(listener.Endpoint());
  client.Send({4, Rcon::kRconAuth, "guess"});
  EXPECT_EQ(client.Receive(), (Rcon::RconPacket{-1, Rcon::kRconResponseValue, ""}));
  EXPECT_EQ(client.Receive(), kRefusal);
  client.Send({5, Rcon::kRconAuth, kPassword});
  EXPECT_EQ(client.Receive(), (Rcon::RconPacket{5, Rcon::kRconResponseValue, ""}));
  EXPECT_EQ(client.Receive(), (Rcon::RconPacket{5, Rcon::kRconAuthResponse, ""}));
  client.Send(kReload);
  EXPECT_EQ(client.Receive(), kReloaded);
}

TEST_F(RconServerTest, ClientsThatLeaveGiveBackTheirSlotAndTheirGameConnection) {
  RconSettings settings;
  settings.MaxClients = 2;
  Listener listener(*this, settings);
  const std::size_t blocks = listener.GameHeapBlocks();
  // More clients than the limit, one after another, each beside one the server turns away.
  for (int32_t id = 1; id <= 5; ++id) {
    SCOPED_TRACE("client " + std::to_string(id));
    {
      Client intruder(listener.Endpoint());
      intruder.Send({id, Rcon::kRconExecCommand, "qv.reload"});
      EXPECT_EQ(intruder.Receive(), kRefusal);
      EXPECT_TRUE(intruder.ClosedByServer());
      Client client(listener.Endpoint());
      client.Authenticate();
      client.Send({id, Rcon::kRconExecCommand, "qv.reload"});
      EXPECT_EQ(client.Receive(),
                (Rcon::RconPacket{id, Rcon::kRconResponseValue, "QuestVeto: Reloaded config"}));
      EXPECT_GT(listener.GameHeapBlocks(), blocks) << "the client's requests live in the game";
    }
    ASSERT_TRUE(listener.GameHeapBackTo(blocks))
        << "the departed client's game-side connection is kept";
  }
}

TEST_F(RconServerTest, RepliesSplitAtTheBodyLimitUnderOneIdWithNothingAfter) {
  const std::string prefix = "Unknown command: ";
  // Reply lengths around one packet's body, and how they arrive.
  const std::vector<std::pair<std::size_t, std::vector<std::size_t>>> cases = {
      {Rcon::kRconMaxBody - 1, {Rcon::kRconMaxBody - 1}},
      {Rcon::kRconMaxBody, {Rcon::kRconMaxBody}},
      {Rcon::kRconMaxBody + 1, {Rcon::kRconMaxBody, 1}},
  };
  Listener listener(*this);
  Client client(listener.Endpoint());
  client.Authenticate();
  int32_t id = 10;
  for (const auto& [length, pieces] : cases) {
    SCOPED_TRACE("a reply of " + std::to_string(length) + " bytes");
    const std::string reply = prefix + std::string(length - prefix.size(), 'x');
    client.Send({++id, Rcon::kRconExecCommand, reply.substr(prefix.size())});
    std::string received;
    for (std::size_t piece : pieces) {
      const std::optional<Rcon::RconPacket> packet = client.Receive();
      ASSERT_TRUE(packet);
      EXPECT_EQ(packet->Id, id);
      EXPECT_EQ(packet->Body.size(), piece);
      received += packet->Body;
    }
    EXPECT_EQ(received, reply);
    // What a client sends to find the reply's end comes back next, with nothing before it.
    client.Send({++id, Rcon::kRconResponseValue, ""});
    EXPECT_EQ(client.Receive(), (Rcon::RconPacket{id, Rcon::kRconResponseValue, ""}));
  }
}

TEST_F(RconServerTest, ReloadAnswersUnderTheRequestId) {
  Listener listener(*this);
  Client client(listener.Endpoint());
  client.Authenticate();
  client.Send({77, Rcon::kRconExecCommand, "qv.reload"});
  EXPECT_EQ(client.Receive(), (Rcon::RconPacket{77, Rcon::kRconResponseValue, "QuestVeto: Reloaded config"}));

  RemoveConfig();
  client.Send({78, Rcon::kRconExecCommand, "QV.RELOAD now"});
  EXPECT_EQ(client.Receive(),
            (Rcon::RconPacket{78, Rcon::kRconResponseValue, "QuestVeto: Failed to reload config"}));
  listener.Stop();
  // The server's log file: the journal's entries are the RCON host's to take.
  EXPECT_NE(LogFile().find("Can't open config.json"), std::string::npos) << LogFile();
}

TEST_F(RconServerTest, UnknownAndBlankCommandsAreAnswered) {
  Listener listener(*this);
  Client client(listener.Endpoint());
  client.Authenticate();
  client.Send({3, Rcon::kRconExecCommand, "kick Bob"});
  EXPECT_EQ(client.Receive(), (Rcon::RconPacket{3, Rcon::kRconResponseValue, "Unknown command: kick"}));
  client.Send({4, Rcon::kRconExecCommand, ""});
  EXPECT_EQ(client.Receive(), (Rcon::RconPacket{4, Rcon::kRconResponseValue, ""}));
  // The empty response clients send to mark the end of a split reply comes back to them.
  client.Send({5, Rcon::kRconResponseValue, ""});
  EXPECT_EQ(client.Receive(), (Rcon::RconPacket{5, Rcon::kRconResponseValue, ""}));
}

TEST_F(RconServerTest, OnlyRepliesOnTheSendersConnectionBecomeItsPackets) {
  LoadWith(kHuntOff);
  Terminal terminal(false);
  GameRcon host(terminal, nullptr);
  StandIn::RconConnection& other = World().AddRconConnection();
  HostApi::GetCommands().AddRconCommand(
      FString("test.both"), [&other](RCONClientConnection* own, RCONPacket*, UWorld*) {
        auto send = reinterpret_cast<void (*)(RCONClientConnection*, int32_t, int32_t, FString*)>(
            GetAddress(std::string(StandIn::Journal::RconReply::kKey)));
        FString mine("mine");
        FString theirs("theirs");
        send(own, 5, 0, &mine);
        send(other.Object(), 6, 0, &theirs);
      });
  EXPECT_EQ(host.Execute(1, 5, "test.both"),
            (std::vector<Rcon::RconPacket>{{5, Rcon::kRconResponseValue, "mine"}}));
}

TEST_F(RconServerTest, MalformedPacketClosesOnlyItsConnection) {
  Listener listener(*this);
  Client steady(listener.Endpoint());
  steady.Authenticate();

  Client oversized(listener.Endpoint());
  oversized.SendRaw(std::string("\xFF\xFF\x00\x00", 4));  // 65535 bytes announced
  Client unterminated(listener.Endpoint());
  unterminated.Authenticate();
  unterminated.SendRaw(
      std::string("\x0C\x00\x00\x00"
                  "\x01\x00\x00\x00"
                  "\x02\x00\x00\x00"
                  "abcd",
                  16));
  EXPECT_TRUE(oversized.ClosedByServer());
  EXPECT_TRUE(unterminated.ClosedByServer());

  steady.Send({2, Rcon::kRconExecCommand, "qv.reload"});
  EXPECT_EQ(steady.Receive(), (Rcon::RconPacket{2, Rcon::kRconResponseValue, "QuestVeto: Reloaded config"}));
}

TEST_F(RconServerTest, IdleConnectionsTimeOutButActiveOnesStay) {
  RconSettings settings;
  settings.IdleTimeout = 500ms;
  Listener listener(*this, settings);
  Client idle(listener.Endpoint());
  Client halfSent(listener.Endpoint());
  halfSent.SendRaw(std::string("\x20\x00\x00\x00\x01", 5));  // a packet that never completes
  Client active(listener.Endpoint());
  active.Authenticate();
  for (int32_t id = 1; id <= 4; ++id) {
    std::this_thread::sleep_for(150ms);
    active.Send({id, Rcon::kRconExecCommand, "qv.reload"});
    EXPECT_EQ(active.Receive()->Id, id);
  }
  EXPECT_TRUE(idle.ClosedByServer(2s));
  EXPECT_TRUE(halfSent.ClosedByServer(2s));
}

TEST_F(RconServerTest, ConnectionsBeyondTheLimitAreClosed) {
  RconSettings settings;
  settings.MaxClients = 2;
  Listener listener(*this, settings);
  Client first(listener.Endpoint());
  Client second(listener.Endpoint());
  first.Authenticate();
  second.Authenticate();
  Client third(listener.Endpoint());
  EXPECT_TRUE(third.ClosedByServer());
}

}  // namespace
}  // namespace Sandbox
