// The data server: listens on one TCP port per server profile (127.0.0.1 by default), gives each
// connection an identifier (1, 2, ... never 0) and a session, and serves the accounts and the bases
// of its store. Everything runs on the MainLoop's one thread: sockets, timers and every session.
//
// Orders reach the sessions that hold a base through InjectOrder, a hook of the program itself (the
// network cannot reach it); this server applies no change of its own yet and refuses every request.
// Sessions idle in their handshake, or silent for three keep-alive periods, are closed by a timer.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/loop/MainLoop.h"
#include "server/ServerSession.h"
#include "server/ServerStore.h"

class DataServer final : public SessionHost {
 public:
  struct Options {
    std::string Address = "127.0.0.1";
    LoginGuard::Limits Guard;
    LoginGuard::Clock::duration HandshakeIdle = std::chrono::seconds(30);
    LoginGuard::Clock::duration KeepAlive = std::chrono::seconds(60);
    // Where the server's log lines go; standard error when empty.
    std::function<void(const std::string&)> Log;
  };

  // The server's version record: the first three parts must agree with a client's.
  static TypeVersion ServerVersion();

  DataServer(MainLoop& Loop, ServerStore& Store, Options O);
  ~DataServer() override;
  DataServer(const DataServer&) = delete;
  DataServer& operator=(const DataServer&) = delete;

  // Opens a listener for each server profile (port 0: any free port); false with the reason when one
  // cannot be opened (none stays open then).
  [[nodiscard]] bool Start(std::string& Error);
  // Closes the listeners and every session.
  void Stop();

  // The port a server profile listens on (after Start), 0 when none.
  uint16_t Port(uint32_t Profile) const;
  size_t SessionCount() const { return sessions_.size(); }
  // Sends a modification order to every session of that server profile that holds a base; the
  // number of sessions reached.
  size_t InjectOrder(uint32_t Profile, uint32_t Kind, std::string_view Order);
  // Stores a new base body for a server profile; the next stream-0 requests receive it.
  [[nodiscard]] bool ReplaceBase(uint32_t Profile, std::string_view Body, std::string& Error);

  // SessionHost
  const AccountBase& Accounts() const override { return store_.Accounts(); }
  LoginGuard& Guard() override { return guard_; }
  std::shared_ptr<const std::string> CompressedBase(uint32_t Profile) override;
  bool Settings(uint32_t Profile, uint32_t User, std::string& Stream) override;
  const TypeVersion& Version() const override { return version_; }
  LoginGuard::Clock::time_point Now() const override { return LoginGuard::Clock::now(); }
  void Log(const std::string& Line) override;

 private:
  class TcpSession;
  struct Listener;

  void Accept(Listener& L);
  void Forget(uint32_t Ident);
  uint32_t NextIdent();

  MainLoop& loop_;
  ServerStore& store_;
  Options options_;
  TypeVersion version_;
  LoginGuard guard_;
  std::vector<std::unique_ptr<Listener>> listeners_;
  std::map<uint32_t, std::shared_ptr<TcpSession>> sessions_;
  std::map<uint32_t, std::shared_ptr<const std::string>> bases_;
  MainLoopTimer idleCheck_;
  uint32_t lastIdent_ = 0;
};
