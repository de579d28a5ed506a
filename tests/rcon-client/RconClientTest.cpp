// questveto-rcon's client against servers that answer as the RCON servers operators meet do: a
// scripted server on 127.0.0.1 for one connection, on its own thread, every wait of the client
// bounded by its timeout.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <thread>

#include <asio.hpp>

#include "common/RconPacket.h"
#include "tools/rcon/RconClient.h"

namespace RconTool {
namespace {

using namespace std::chrono_literals;
using asio::ip::tcp;
using Rcon::kRconAuth;
using Rcon::kRconAuthResponse;
using Rcon::kRconExecCommand;
using Rcon::kRconResponseValue;
using Rcon::RconPacket;

// The server's side of the connection, with blocking calls.
class Peer {
 public:
  explicit Peer(tcp::socket& socket) : socket_(socket) {}

  // The next packet the client sent.
  Rcon::RconPacket Next() {
    while (packets_.empty()) {
      std::array<char, 4096> buffer;
      const std::size_t count = socket_.read_some(asio::buffer(buffer));
      const Rcon::RconPacketReader::Result result = reader_.Feed({buffer.data(), count});
      packets_.insert(packets_.end(), result.Packets.begin(), result.Packets.end());
    }
    Rcon::RconPacket packet = packets_.front();
    packets_.pop_front();
    return packet;
  }
  // `packets` in one write.
  void Write(std::initializer_list<Rcon::RconPacket> packets) {
    std::string bytes;
    for (const Rcon::RconPacket& packet : packets) bytes += Rcon::EncodeRconPacket(packet);
    asio::write(socket_, asio::buffer(bytes));
  }
  void WriteRaw(const std::string& bytes) { asio::write(socket_, asio::buffer(bytes)); }

 private:
  tcp::socket& socket_;
  Rcon::RconPacketReader reader_;
  std::deque<Rcon::RconPacket> packets_;
};

// Accepts one client and runs `script` with it, then waits for the client to leave, unless the
// script closes the connection itself (`closes`).
class ScriptedServer {
 public:
  explicit ScriptedServer(std::function<void(Peer&)> script, bool closes = false)
      : acceptor_(io_, tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0)) {
    thread_ = std::thread([this, script = std::move(script), closes] {
      tcp::socket socket(io_);
      acceptor_.accept(socket);
      Peer peer(socket);
      std::error_code ended;
      try {
        script(peer);
        if (!closes) {
          std::array<char, 4096> rest;
          while (!ended) socket.read_some(asio::buffer(rest), ended);
        }
      } catch (const std::system_error&) {
        // The client left first.
      }
    });
  }
  ~ScriptedServer() { thread_.join(); }

  uint16_t Port() const { return acceptor_.local_endpoint().port(); }

 private:
  asio::io_context io_;
  tcp::acceptor acceptor_;
  std::thread thread_;
};

// The verdict on `password` by a server that answers the authentication with `answer`, given
// the request.
bool VerdictBy(const std::function<void(Peer&, const Rcon::RconPacket&)>& answer) {
  ScriptedServer server([&](Peer& peer) { answer(peer, peer.Next()); });
  RconClient client(2s);
  client.Connect("127.0.0.1", server.Port());
  return client.Authenticate("secret");
}

TEST(RconClientTest, ReadsTheVerdictHoweverTheServerAnswersAnAuthentication) {
  // The verdict alone, as many game servers answer.
  EXPECT_TRUE(VerdictBy([](Peer& peer, const Rcon::RconPacket& request) {
    peer.Write({{request.Id, Rcon::kRconAuthResponse, ""}});
  }));
  EXPECT_FALSE(VerdictBy([](Peer& peer, const Rcon::RconPacket&) {
    peer.Write({{-1, Rcon::kRconAuthResponse, ""}});
  }));
  // An empty response under the request's id first, in the same write: the empty response is not
  // the verdict.
  EXPECT_TRUE(VerdictBy([](Peer& peer, const Rcon::RconPacket& request) {
    peer.Write({{request.Id, Rcon::kRconResponseValue, ""}, {request.Id, Rcon::kRconAuthResponse, ""}});
  }));
  EXPECT_FALSE(VerdictBy([](Peer& peer, const Rcon::RconPacket& request) {
    peer.Write({{request.Id, Rcon::kRconResponseValue, ""}, {-1, Rcon::kRconAuthResponse, ""}});
  }));
}

TEST(RconClientTest, SendsThePasswordInAnAuthenticationPacket) {
  std::optional<Rcon::RconPacket> received;
  {
    ScriptedServer server([&](Peer& peer) {
      received = peer.Next();
      peer.Write({{received->Id, Rcon::kRconAuthResponse, ""}});
    });
    RconClient client(2s);
    client.Connect("127.0.0.1", server.Port());
    EXPECT_TRUE(client.Authenticate("pass word"));
  }
  ASSERT_TRUE(received);
  EXPECT_EQ(received->Type, Rcon::kRconAuth);
  EXPECT_EQ(received->Body, "pass word");
}

TEST(RconClientTest, JoinsAReplySplitOverPacketsUpToTheMirroredEnd) {
  ScriptedServer server([](Peer& peer) {
    const Rcon::RconPacket auth = peer.Next();
    peer.Write({{auth.Id, Rcon::kRconAuthResponse, ""}});
    const Rcon::RconPacket command = peer.Next();
    const Rcon::RconPacket end = peer.Next();
    EXPECT_EQ(command, (Rcon::RconPacket{command.Id, Rcon::kRconExecCommand, "status all"}));
    EXPECT_EQ(end.Type, Rcon::kRconResponseValue);
    peer.Write({{command.Id, Rcon::kRconResponseValue, "first "}});
    peer.Write({{command.Id + 1000, Rcon::kRconResponseValue, "not ours"},
                {command.Id, Rcon::kRconResponseValue, "second"},
                {end.Id, Rcon::kRconResponseValue, ""}});
  });
  RconClient client(2s);
  client.Connect("127.0.0.1", server.Port());
  ASSERT_TRUE(client.Authenticate("secret"));
  EXPECT_EQ(client.Execute("status all"), "first second");
}

// What the client says of a server that does not answer as the protocol has it.
std::string FailureAgainst(std::function<void(Peer&)> script, bool closes) {
  ScriptedServer server(std::move(script), closes);
  RconClient client(300ms);
  try {
    client.Connect("127.0.0.1", server.Port());
    client.Authenticate("secret");
    client.Execute("qv.reload");
  } catch (const std::runtime_error& error) {
    return error.what();
  }
  return "no failure";
}

TEST(RconClientTest, FailsWithinItsTimeoutSayingWhatWentWrong) {
  const auto granted = [](Peer& peer) {
    const Rcon::RconPacket auth = peer.Next();
    peer.Write({{auth.Id, Rcon::kRconAuthResponse, ""}});
  };
  EXPECT_EQ(FailureAgainst([](Peer& peer) { peer.Next(); }, false),
            "no answer to the authentication within 300 ms");
  // An endless stream of empty responses is no verdict either.
  EXPECT_EQ(FailureAgainst(
                [](Peer& peer) {
                  const Rcon::RconPacket auth = peer.Next();
                  const auto until = std::chrono::steady_clock::now() + 600ms;
                  while (std::chrono::steady_clock::now() < until) {
                    peer.Write({{auth.Id, Rcon::kRconResponseValue, ""}});
                    std::this_thread::sleep_for(10ms);
                  }
                },
                false),
            "no answer to the authentication within 300 ms");
  EXPECT_EQ(FailureAgainst(
                [&](Peer& peer) {
                  granted(peer);
                  peer.Next();  // the command
                  peer.Next();  // the empty packet marking the reply's end
                },
                true),
            "the server closed the connection during the command");
  EXPECT_EQ(FailureAgainst(
                [&](Peer& peer) {
                  granted(peer);
                  peer.WriteRaw(std::string("\xFF\xFF\x00\x00", 4));
                },
                false),
            "the server sent a malformed packet: packet at byte 14: size 65535 is outside "
            "10..4096");
  EXPECT_EQ(FailureAgainst(
                [](Peer& peer) {
                  peer.Next();
                  peer.Write({{77, Rcon::kRconAuthResponse, ""}});
                },
                false),
            "the authentication was answered under id 77, not 1");
  // A reply without end: full packets up to one byte beyond the longest reply taken.
  EXPECT_EQ(FailureAgainst(
                [&](Peer& peer) {
                  granted(peer);
                  const Rcon::RconPacket command = peer.Next();
                  const Rcon::RconPacket full{command.Id, Rcon::kRconResponseValue,
                                        std::string(Rcon::kRconMaxBody, 'x')};
                  std::size_t sent = 0;
                  for (; sent + full.Body.size() <= RconClient::kMaxReply; sent += full.Body.size())
                    peer.Write({full});
                  peer.Write({{command.Id, Rcon::kRconResponseValue,
                               std::string(RconClient::kMaxReply - sent + 1, 'x')}});
                },
                false),
            "the reply is longer than 1048576 bytes");
}

TEST(RconClientTest, ANameThatDoesNotResolveOrAPortNobodyListensOnFails) {
  RconClient client(2s);
  asio::io_context io;
  tcp::acceptor closed(io, tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
  const uint16_t port = closed.local_endpoint().port();
  closed.close();
  try {
    client.Connect("127.0.0.1", port);
    ADD_FAILURE() << "connected to a closed port";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("cannot connect to 127.0.0.1:" + std::to_string(port)),
              std::string::npos)
        << error.what();
  }
}

}  // namespace
}  // namespace RconTool
