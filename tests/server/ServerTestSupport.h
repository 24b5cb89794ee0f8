// The fixtures of the data server's tests: a store made in a temporary folder, the server running on
// its own MainLoop in a thread of its own (as the separate program it is), and a small blocking
// client made of the protocol's units, which a test drives message by message.
#pragma once

#include <gtest/gtest.h>

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "net/cipher/CryptageClientServeur.h"
#include "net/protocol/GenresMessages.h"
#include "net/protocol/PetitBoutiste.h"
#include "net/protocol/Trame.h"
#include "net/protocol/VCLBufferDynamique.h"
#include "net/transport/VclCommTcp.h"
#include "platform/loop/MainLoop.h"
#include "server/DataServer.h"
#include "server/ServerStore.h"

namespace ServerTest {

// A folder of its own, removed at the end.
struct TempFolder {
  std::string Path;
  TempFolder();
  ~TempFolder();
};

// A store with "SPR" (password "Secret"), "JMA" (password "pw1") holding "Modification", "CON"
// (password "pw2") holding "Consultation", and "NOA" (password "pw3") assigned nowhere; one server
// profile "Base" on any free port, whose base body is given.
void MakeStore(const std::string& Folder, std::string_view Body, uint32_t& Profile);
// Adds JMA, CON and NOA as above to the store of a folder (made by the program's init, say).
void AddAccounts(const std::string& Folder, uint32_t& Profile);

// Runs a command of the data server program with Input on its standard input; its exit status.
int Command(const std::string& Arguments, const std::string& Input = "");

// The server in a thread of its own; every call into it goes through its loop.
class ServerThread {
 public:
  ServerThread(const std::string& Folder, DataServer::Options O = {});
  ~ServerThread();
  // Runs F on the server's thread and waits for it.
  template <class F>
  auto Call(F&& f) -> decltype(f(std::declval<DataServer&>())) {
    std::packaged_task<decltype(f(std::declval<DataServer&>()))()> task([&] { return f(*server_); });
    auto result = task.get_future();
    boost::asio::post(loop_.Context(), [&] { task(); });
    return result.get();
  }
  uint16_t Port() const { return port_; }
  uint32_t Profile() const { return profile_; }
  std::vector<std::string> LogLines();
  // True once a log line holding Text was written, waiting up to Timeout.
  bool WaitForLog(std::string_view Text, std::chrono::milliseconds Timeout = std::chrono::seconds(10));
  // True once Count log lines holding Text were written, waiting up to Timeout.
  bool WaitForLogLines(std::string_view Text, std::size_t Count, std::chrono::milliseconds Timeout = std::chrono::seconds(10));

 private:
  MainLoop loop_{[] {}, [] {}};
  ServerStore store_;
  std::unique_ptr<DataServer> server_;
  std::thread thread_;
  uint16_t port_ = 0;
  uint32_t profile_ = 0;
  std::mutex mutex_;
  std::condition_variable logged_;
  std::vector<std::string> log_;
};

class Client;
// What a test may change in a client's handshake: the size of the position table it enciphers, of the
// filler after the scattered challenge, and a step run once the session key is in force, before the
// login is sent.
struct LoginVariations {
  size_t TableSize = 16;
  size_t Filler = 16;
  std::function<void(Client&)> BeforeLogin;
};

// The test client: blocking, with a read time-out.
class Client {
 public:
  // Local: the loopback address the client connects from (127.0.0.1 when empty), so that a test may
  // stand for several remote addresses.
  explicit Client(uint16_t Port, std::chrono::milliseconds Timeout = std::chrono::seconds(20),
                  const std::string& Local = "");

  void Send(uint32_t Kind, std::string_view Data = {});
  // Sends raw bytes, whatever they are.
  void SendRaw(std::string_view Bytes);
  // The next message; nullopt when the link closed or nothing came in time.
  std::optional<TypeMessageRecu> Receive();
  // The next message, which must be of that kind.
  TypeMessageRecu Expect(uint32_t Kind);
  // True when the server closed the link (waiting for it up to the time-out, ignoring messages).
  bool ClosedByServer();
  // True when no message arrives within the given time.
  bool Silent(std::chrono::milliseconds For);

  // Reads the connection identifier and the host record.
  void Greeting();
  // The handshake and the login; the answers' status bytes: identification, authentication (when
  // reached), and the login's two bytes (when reached).
  struct Outcome {
    uint8_t Identification = 0xFF;
    uint8_t Authentication = 0xFF;
    uint8_t Granted = 0xFF;
    uint8_t Result = 0xFF;
  };
  using Variations = LoginVariations;
  Outcome LogIn(const std::string& Code, const std::string& Password, uint32_t Profile, uint8_t Requested = 3,
                const std::string& Login = "", const std::string& Password2 = "", const Variations& V = {});
  // Asks a stream and receives it whole, acknowledging it; nullopt when refused.
  std::optional<std::string> Stream(uint8_t Kind);
  // The same, handing each piece to Sink as it comes; the stream's size, or nullopt.
  std::optional<size_t> Stream(uint8_t Kind, const std::function<void(std::string_view)>& Sink);

  uint32_t Ident = 0;
  std::string Host;
  TypeSecurite Sending, Receiving;

 private:
  boost::asio::io_context io_;
  boost::asio::ip::tcp::socket socket_{io_};
  TBufferDynamique in_;
  TClassCryptageClientServeur cipherOut_, cipherIn_;
  bool closed_ = false;
  std::chrono::milliseconds timeout_;
};

// zlib inflate of a whole stream.
std::string Inflate(std::string_view Compressed);

}  // namespace ServerTest
