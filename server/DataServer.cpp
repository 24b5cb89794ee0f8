#include "server/DataServer.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/write.hpp>

#include <deque>
#include <iostream>

namespace asio = boost::asio;
using asio::ip::tcp;

namespace {
// What a client may leave unread before the server gives up on it.
constexpr size_t kMaxQueued = 0xA00000 + 0x10000;
constexpr size_t kReadSize = 65536;
}  // namespace

struct DataServer::Listener {
  uint32_t Profile = 0;
  uint16_t Port = 0;
  tcp::acceptor Acceptor;
  asio::steady_timer Retry;
  explicit Listener(asio::io_context& Io) : Acceptor(Io), Retry(Io) {}
};

// A session on a TCP connection: reads into the session, writes its frames in order, and closes the
// socket once what was written is gone. Pending completions hold the session alive; once the server
// has let it go (Detach), they touch nothing but the session itself.
class DataServer::TcpSession final : public ServerSession, public std::enable_shared_from_this<TcpSession> {
 public:
  TcpSession(DataServer& Server, tcp::socket Socket, uint32_t Ident, uint32_t Profile, uint16_t Port,
             std::string Address)
      : ServerSession(Server, Ident, Profile, Port, std::move(Address)), server_(&Server), socket_(std::move(Socket)) {}

  void Begin() {
    Start();
    Read();
  }
  // The server is done with the session: nothing reaches the server any more.
  void Detach() {
    server_ = nullptr;
    boost::system::error_code ignored;
    socket_.close(ignored);
  }

 protected:
  void Write(std::string&& Frame) override {
    if (server_ == nullptr) return;
    queued_ += Frame.size();
    out_.push_back(std::move(Frame));
    if (queued_ > kMaxQueued) {
      out_.clear();
      queued_ = 0;
      Close("the client does not read what it is sent");
      return;
    }
    if (out_.size() == 1) WriteNext();
  }

  void Shut() override {
    if (out_.empty()) CloseSocket();
    // otherwise the socket closes when the last write completes
  }

  void Later(LoginGuard::Clock::duration Delay, std::function<void()> Action) override {
    auto timer = std::make_shared<asio::steady_timer>(socket_.get_executor(), Delay);
    timer->async_wait([self = shared_from_this(), timer, Action = std::move(Action)](const boost::system::error_code& e) {
      if (!e && self->server_ != nullptr && !self->Closed()) Action();
    });
  }

 private:
  void Read() {
    socket_.async_read_some(asio::buffer(buffer_), [self = shared_from_this()](const boost::system::error_code& e, size_t n) {
      if (self->server_ == nullptr || self->Closed()) return;
      if (e) {
        self->Close(e == asio::error::eof ? "the client closed the link" : "the link was lost: " + e.message());
        return;
      }
      const std::string bytes(self->buffer_.data(), n);
      self->Read();
      self->Received(bytes.data(), bytes.size());
    });
  }

  void WriteNext() {
    asio::async_write(socket_, asio::buffer(out_.front()), [self = shared_from_this()](const boost::system::error_code& e, size_t) {
      if (self->out_.empty()) return;
      self->queued_ -= self->out_.front().size();
      self->out_.pop_front();
      if (e) {
        self->out_.clear();
        self->queued_ = 0;
        if (self->server_ != nullptr) self->Close("the link was lost while sending: " + e.message());
        self->CloseSocket();
        return;
      }
      if (!self->out_.empty()) {
        self->WriteNext();
      } else if (self->Closed()) {
        self->CloseSocket();
      }
    });
  }

  void CloseSocket() {
    boost::system::error_code ignored;
    socket_.shutdown(tcp::socket::shutdown_both, ignored);
    socket_.close(ignored);
    if (server_ != nullptr) {
      DataServer* server = server_;
      const uint32_t ident = Ident();
      // Not from inside the session's own call: the server drops its reference on the next turn.
      asio::post(socket_.get_executor(), [server, ident, alive = std::weak_ptr<TcpSession>(shared_from_this())] {
        if (auto s = alive.lock(); s && s->server_ != nullptr) server->Forget(ident);
      });
    }
  }

  DataServer* server_;
  tcp::socket socket_;
  std::array<char, kReadSize> buffer_{};
  std::deque<std::string> out_;
  size_t queued_ = 0;
};

TypeVersion DataServer::ServerVersion() { return TypeVersion{"Serveur de donnees", 5, 0, 6, 1}; }

DataServer::DataServer(MainLoop& Loop, ServerStore& Store, Options O)
    : loop_(Loop),
      store_(Store),
      options_(std::move(O)),
      version_(ServerVersion()),
      guard_(options_.Guard),
      idleCheck_(Loop, [this] {
        std::vector<std::shared_ptr<TcpSession>> all;
        for (auto& [ident, s] : sessions_) all.push_back(s);
        for (auto& s : all) s->CloseIfIdle(options_.HandshakeIdle, options_.KeepAlive);
      }) {}

DataServer::~DataServer() { Stop(); }

void DataServer::Log(const std::string& Line) {
  if (options_.Log) {
    options_.Log(Line);
    return;
  }
  std::cerr << Line << std::endl;
}

bool DataServer::Start(std::string& Error) {
  const auto address = asio::ip::make_address(options_.Address);
  for (const ServerProfile& p : store_.Accounts().ServerProfiles()) {
    auto l = std::make_unique<Listener>(loop_.Context());
    boost::system::error_code e;
    const tcp::endpoint endpoint(address, p.Port);
    l->Acceptor.open(endpoint.protocol(), e);
    if (!e) l->Acceptor.set_option(tcp::acceptor::reuse_address(true), e);
    if (!e) l->Acceptor.bind(endpoint, e);
    if (!e) l->Acceptor.listen(asio::socket_base::max_listen_connections, e);
    if (e) {
      Error = "cannot listen on " + options_.Address + ":" + std::to_string(p.Port) + " for server profile \"" + p.Name() +
              "\": " + e.message();
      listeners_.clear();
      return false;
    }
    l->Profile = p.Id();
    l->Port = l->Acceptor.local_endpoint().port();
    Log("server profile \"" + p.Name() + "\" listens on " + options_.Address + ":" + std::to_string(l->Port));
    listeners_.push_back(std::move(l));
  }
  for (auto& l : listeners_) Accept(*l);
  const auto shortest = std::min(options_.HandshakeIdle, options_.KeepAlive);
  idleCheck_.Start(std::max<MainLoop::Duration>(shortest / 4, std::chrono::milliseconds(10)));
  return true;
}

void DataServer::Stop() {
  idleCheck_.Stop();
  listeners_.clear();
  for (auto& [ident, s] : sessions_) s->Detach();
  sessions_.clear();
}

void DataServer::Accept(Listener& L) {
  L.Acceptor.async_accept([this, &L](const boost::system::error_code& e, tcp::socket Socket) {
    if (e == asio::error::operation_aborted) return;
    if (e) {
      // Out of descriptors, for one: try again a little later rather than spin.
      Log("cannot accept a connection: " + e.message());
      L.Retry.expires_after(std::chrono::milliseconds(200));
      L.Retry.async_wait([this, &L](const boost::system::error_code& w) {
        if (!w) Accept(L);
      });
      return;
    }
    {
      boost::system::error_code ignored;
      const auto remote = Socket.remote_endpoint(ignored);
      Socket.set_option(tcp::no_delay(true), ignored);
      const uint32_t ident = NextIdent();
      auto s = std::make_shared<TcpSession>(*this, std::move(Socket), ident, L.Profile, L.Port, remote.address().to_string());
      sessions_[ident] = s;
      Log("connection " + std::to_string(ident) + " from " + remote.address().to_string());
      s->Begin();
    }
    Accept(L);
  });
}

uint32_t DataServer::NextIdent() {
  do {
    ++lastIdent_;
  } while (lastIdent_ == 0 || sessions_.count(lastIdent_) != 0);
  return lastIdent_;
}

void DataServer::Forget(uint32_t Ident) {
  auto it = sessions_.find(Ident);
  if (it == sessions_.end()) return;
  it->second->Detach();
  sessions_.erase(it);
}

uint16_t DataServer::Port(uint32_t Profile) const {
  for (const auto& l : listeners_)
    if (l->Profile == Profile) return l->Port;
  return 0;
}

size_t DataServer::InjectOrder(uint32_t Profile, uint32_t Kind, std::string_view Order) {
  size_t reached = 0;
  for (auto& [ident, s] : sessions_) {
    if (s->Closed() || s->Profile() != Profile || !s->HoldsBase()) continue;
    s->SendOrder(Kind, Order);
    ++reached;
  }
  return reached;
}

bool DataServer::ReplaceBase(uint32_t Profile, std::string_view Body, std::string& Error) {
  if (!store_.WriteBase(Profile, Body, Error)) return false;
  bases_.erase(Profile);
  return true;
}

std::shared_ptr<const std::string> DataServer::CompressedBase(uint32_t Profile) {
  if (auto it = bases_.find(Profile); it != bases_.end()) return it->second;
  const ServerProfile* p = store_.Accounts().FindServerProfile(Profile);
  std::optional<std::string> body;
  std::string error;
  if (p == nullptr || !store_.ReadBase(Profile, body, error) || !body) {
    Log("server profile " + std::to_string(Profile) + " has no base" + (error.empty() ? "" : ": " + error));
    return nullptr;
  }
  // The stream opens with the base's name, a counted string in 256 bytes.
  std::string plain(256, '\0');
  const std::string name = p->Name();
  plain[0] = static_cast<char>(name.size());
  plain.replace(1, name.size(), name);
  plain += *body;
  std::string compressed;
  if (!ServerStreams::Compress(plain, compressed)) {
    Log("the base of server profile " + std::to_string(Profile) + " cannot be compressed");
    return nullptr;
  }
  return bases_[Profile] = std::make_shared<const std::string>(std::move(compressed));
}

bool DataServer::Settings(uint32_t Profile, uint32_t User, std::string& Stream) {
  std::string error;
  if (store_.ReadSettings(Profile, User, Stream, error)) return true;
  Log(error);
  return false;
}
