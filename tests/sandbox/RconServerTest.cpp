// The RCON listener in process, with the plugin loaded: a small client talks to it over
// 127.0.0.1 while the listener's io_context runs on its own thread, the only one that touches the
// game while it runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <thread>

#include <asio.hpp>

#include "sandbox/GameRcon.h"
#include "sandbox/RconPacket.h"
#include "sandbox/RconServer.h"
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

  void Send(const RconPacket& packet) { SendRaw(EncodeRconPacket(packet)); }
  void SendRaw(const std::string& bytes) { asio::write(socket_, asio::buffer(bytes)); }

  // The next packet; none when the server closed the connection.
  std::optional<RconPacket> Receive() {
    while (packets_.empty()) {
      if (!ReadSome()) return std::nullopt;
    }
    RconPacket packet = packets_.front();
    packets_.erase(packets_.begin());
    return packet;
  }

  // Whether the server closes the connection, with nothing more sent, within `limit`.
  bool ClosedByServer(std::chrono::milliseconds limit = 5s) {
    return packets_.empty() && !ReadSome(limit);
  }

  void Authenticate() {
    Send({1, kRconAuth, kPassword});
    ASSERT_EQ(Receive(), (RconPacket{1, kRconResponseValue, ""}));
    ASSERT_EQ(Receive(), (RconPacket{1, kRconAuthResponse, ""}));
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
    RconPacketReader::Result result = reader_.Feed({buffer.data(), count});
    EXPECT_FALSE(result.Error) << *result.Error;
    packets_.insert(packets_.end(), result.Packets.begin(), result.Packets.end());
    return !result.Error;
  }

  asio::io_context io_;
  tcp::socket socket_;
  RconPacketReader reader_;
  std::vector<RconPacket> packets_;
};

class RconServerTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    WriteConfig(R"({"DisabledMissions": ["Hunt"]})");
    LoadPlugin();
  }

  void TearDown() override {
    StopListener();
    ServerTest::TearDown();
  }

  void StartListener(RconSettings settings = {}) {
    settings.Password = kPassword;
    listener_ = std::make_unique<RconServer>(io_, settings, host_);
    work_.emplace(io_.get_executor());
    thread_ = std::thread([this] { io_.run(); });
  }

  // Back to one thread: the game may be looked at again.
  void StopListener() {
    if (!thread_.joinable()) return;
    asio::post(io_, [this] {
      listener_->Stop();
      work_.reset();
    });
    thread_.join();
    listener_.reset();
  }

  tcp::endpoint Endpoint() const { return listener_->Endpoint(); }

  // The server's log file: the journal's entries are the RCON host's to take.
  bool LogHas(const std::string& text) { return LogFile().find(text) != std::string::npos; }

  Terminal terminal_{false};
  GameRcon host_{terminal_, nullptr};
  asio::io_context io_;
  std::optional<asio::executor_work_guard<asio::io_context::executor_type>> work_;
  std::unique_ptr<RconServer> listener_;
  std::thread thread_;
};

TEST_F(RconServerTest, ListensOnTheLoopbackAddressWithTheChosenPort) {
  StartListener();
  EXPECT_EQ(Endpoint().address(), asio::ip::make_address("127.0.0.1"));
  EXPECT_NE(Endpoint().port(), 0);
}

TEST_F(RconServerTest, WrongPasswordIsRefusedWithIdMinusOneAndTooManyClose) {
  StartListener();
  Client client(Endpoint());
  for (int32_t id : {11, 12}) {
    client.Send({id, kRconAuth, "guess"});
    EXPECT_EQ(client.Receive(), (RconPacket{id, kRconResponseValue, ""}));
    EXPECT_EQ(client.Receive(), (RconPacket{-1, kRconAuthResponse, ""}));
  }
  // Still allowed to get it right before the third failure.
  client.Authenticate();
  client.Send({13, kRconExecCommand, "qv.reload"});
  EXPECT_EQ(client.Receive(), (RconPacket{13, kRconResponseValue, "QuestVeto: Reloaded config"}));

  Client guesser(Endpoint());
  for (int32_t id : {21, 22, 23}) guesser.Send({id, kRconAuth, "guess"});
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(guesser.Receive()->Type, kRconResponseValue);
    EXPECT_EQ(guesser.Receive()->Id, -1);
  }
  EXPECT_TRUE(guesser.ClosedByServer());
}

TEST_F(RconServerTest, CommandBeforeAuthenticationIsRefusedAndDoesNotRun) {
  RemoveConfig();  // a reload that ran would log its failure
  StartListener();
  Client client(Endpoint());
  client.Send({5, kRconExecCommand, "qv.reload"});
  EXPECT_EQ(client.Receive(), (RconPacket{-1, kRconAuthResponse, ""}));
  EXPECT_TRUE(client.ClosedByServer());
  StopListener();
  EXPECT_FALSE(LogHas("Failed to reload config"));
}

TEST_F(RconServerTest, ReloadAnswersUnderTheRequestId) {
  StartListener();
  Client client(Endpoint());
  client.Authenticate();
  client.Send({77, kRconExecCommand, "qv.reload"});
  EXPECT_EQ(client.Receive(), (RconPacket{77, kRconResponseValue, "QuestVeto: Reloaded config"}));

  RemoveConfig();
  client.Send({78, kRconExecCommand, "QV.RELOAD now"});
  EXPECT_EQ(client.Receive(),
            (RconPacket{78, kRconResponseValue, "QuestVeto: Failed to reload config"}));
  StopListener();
  EXPECT_TRUE(LogHas("Can't open config.json"));
}

TEST_F(RconServerTest, UnknownAndBlankCommandsAreAnswered) {
  StartListener();
  Client client(Endpoint());
  client.Authenticate();
  client.Send({3, kRconExecCommand, "kick Bob"});
  EXPECT_EQ(client.Receive(), (RconPacket{3, kRconResponseValue, "Unknown command: kick"}));
  client.Send({4, kRconExecCommand, ""});
  EXPECT_EQ(client.Receive(), (RconPacket{4, kRconResponseValue, ""}));
  // The empty response clients send to mark the end of a split reply comes back to them.
  client.Send({5, kRconResponseValue, ""});
  EXPECT_EQ(client.Receive(), (RconPacket{5, kRconResponseValue, ""}));
}

TEST_F(RconServerTest, LongRepliesAreSplitUnderOneId) {
  StartListener();
  Client client(Endpoint());
  client.Authenticate();
  const std::string word(4080, 'x');
  client.Send({9, kRconExecCommand, word});
  const std::string expected = "Unknown command: " + word;
  const std::optional<RconPacket> first = client.Receive();
  const std::optional<RconPacket> second = client.Receive();
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->Body.size(), kRconMaxBody);
  EXPECT_EQ(first->Id, 9);
  EXPECT_EQ(second->Id, 9);
  EXPECT_EQ(first->Body + second->Body, expected);
}

TEST_F(RconServerTest, MalformedPacketClosesOnlyItsConnection) {
  StartListener();
  Client steady(Endpoint());
  steady.Authenticate();

  Client oversized(Endpoint());
  oversized.SendRaw(std::string("\xFF\xFF\x00\x00", 4));  // 65535 bytes announced
  Client unterminated(Endpoint());
  unterminated.Authenticate();
  unterminated.SendRaw(
      std::string("\x0C\x00\x00\x00"
                  "\x01\x00\x00\x00"
                  "\x02\x00\x00\x00"
                  "abcd",
                  16));
  EXPECT_TRUE(oversized.ClosedByServer());
  EXPECT_TRUE(unterminated.ClosedByServer());

  steady.Send({2, kRconExecCommand, "qv.reload"});
  EXPECT_EQ(steady.Receive(), (RconPacket{2, kRconResponseValue, "QuestVeto: Reloaded config"}));
}

TEST_F(RconServerTest, IdleConnectionsTimeOutButActiveOnesStay) {
  RconSettings settings;
  settings.IdleTimeout = 500ms;
  StartListener(settings);
  Client idle(Endpoint());
  Client halfSent(Endpoint());
  halfSent.SendRaw(std::string("\x20\x00\x00\x00\x01", 5));  // a packet that never completes
  Client active(Endpoint());
  active.Authenticate();
  for (int32_t id = 1; id <= 4; ++id) {
    std::this_thread::sleep_for(150ms);
    active.Send({id, kRconExecCommand, "qv.reload"});
    EXPECT_EQ(active.Receive()->Id, id);
  }
  EXPECT_TRUE(idle.ClosedByServer(2s));
  EXPECT_TRUE(halfSent.ClosedByServer(2s));
}

TEST_F(RconServerTest, ConnectionsBeyondTheLimitAreClosed) {
  RconSettings settings;
  settings.MaxClients = 2;
  StartListener(settings);
  Client first(Endpoint());
  Client second(Endpoint());
  first.Authenticate();
  second.Authenticate();
  Client third(Endpoint());
  EXPECT_TRUE(third.ClosedByServer());
}

}  // namespace
}  // namespace Sandbox
