#include "platform/http/ServeurHttp.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>

#include <boost/asio/write.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = boost::beast::http;
using tcp = asio::ip::tcp;

namespace {
// After an answer that closes, what the peer still sends is read and dropped for at most this long
// and this much, so that closing does not reset the connection before the peer has read the answer.
constexpr auto kDelaiVidange = std::chrono::seconds(2);
constexpr size_t kVidangeMaximale = 1024 * 1024;
}  // namespace

struct TConnexionHttp::Etat {
  explicit Etat(tcp::socket socket) : stream(std::move(socket)) {}
  beast::tcp_stream stream;
  beast::flat_buffer buffer;
  std::optional<http::request_parser<http::empty_body>> entete;
  std::optional<http::request_parser<http::buffer_body>> corps;
  std::array<char, kTailleMorceau> morceau{};
  std::string aEnvoyer;
  bool repondu = false;  // an answer is on its way: no more reading for this request
  size_t vidange = 0;

  const http::request_header<>& Requete() const {
    return corps ? static_cast<const http::request_header<>&>(corps->get())
                 : static_cast<const http::request_header<>&>(entete->get());
  }
};

TConnexionHttp::TConnexionHttp() = default;
TConnexionHttp::~TConnexionHttp() = default;

std::string TConnexionHttp::Version() const {
  unsigned v = etat_ && (etat_->entete || etat_->corps) ? etat_->Requete().version() : 11;
  return "HTTP/" + std::to_string(v / 10) + "." + std::to_string(v % 10);
}

std::string_view TConnexionHttp::EnTete(std::string_view nom) const {
  if (!etat_ || !(etat_->entete || etat_->corps)) return {};
  const auto& r = etat_->Requete();
  auto it = r.find(beast::string_view(nom.data(), nom.size()));
  if (it == r.end()) return {};
  return std::string_view(it->value().data(), it->value().size());
}

bool TConnexionHttp::AEnTete(std::string_view nom) const {
  if (!etat_ || !(etat_->entete || etat_->corps)) return false;
  const auto& r = etat_->Requete();
  return r.find(beast::string_view(nom.data(), nom.size())) != r.end();
}

std::optional<uint64_t> TConnexionHttp::ContentLength() const {
  if (!etat_) return std::nullopt;
  boost::optional<uint64_t> n = etat_->corps ? etat_->corps->content_length() : etat_->entete->content_length();
  return n ? std::optional<uint64_t>(*n) : std::nullopt;
}

std::string TConnexionHttp::AdresseLocale() const {
  boost::system::error_code ec;
  auto ep = etat_->stream.socket().local_endpoint(ec);
  return ec ? std::string() : ep.address().to_string();
}

uint16_t TConnexionHttp::PortLocal() const {
  boost::system::error_code ec;
  auto ep = etat_->stream.socket().local_endpoint(ec);
  return ec ? 0 : ep.port();
}

void TConnexionHttp::Demarrer(TServeurHttp& serveur, tcp::socket socket) {
  serveur_ = &serveur;
  LingerTimeout = serveur.LingerTimeout;
  etat_ = std::make_unique<Etat>(std::move(socket));
  LireEnTete();
}

void TConnexionHttp::LireEnTete() {
  Etat& e = *etat_;
  e.corps.reset();
  e.entete.emplace();
  e.entete->header_limit(kTailleEnTeteMaximale);
  // The announced length is judged by the handler, in 64 bits, before any byte of the body is read.
  e.entete->body_limit(boost::none);
  e.repondu = false;
  methode_.clear();
  chemin_.clear();
  cible_.clear();
  e.stream.expires_after(serveur_->DelaiLecture);
  http::async_read_header(e.stream, e.buffer, *e.entete,
                          [self = shared_from_this()](beast::error_code ec, size_t) {
                            if (!self->serveur_) return;
                            if (ec == http::error::end_of_stream || ec == beast::error::timeout ||
                                ec == asio::error::operation_aborted || ec == asio::error::connection_reset ||
                                ec == asio::error::eof)
                              return self->Clore();
                            if (ec) return self->RepondreEtFermer("400 Bad Request");
                            self->TraiterEnTete();
                          });
}

template <class F>
void TConnexionHttp::Proteger(F&& handler) {
  try {
    handler();
  } catch (...) {
    if (serveur_ && etat_) {
      if (etat_->repondu) Clore();
      else RepondreEtFermer("500 Internal Server Error");
    }
    throw;
  }
}

namespace {
// The path of a request target: what comes before its query or fragment.
std::string CheminDe(std::string_view cible) { return std::string(cible.substr(0, cible.find_first_of("?#"))); }

// Whether the request announces "Expect: 100-continue" (compared without regard to case).
bool AttendContinuer(const http::request_header<>& r) {
  auto it = r.find(http::field::expect);
  if (it == r.end() || r.version() < 11) return false;
  const std::string_view v(it->value().data(), it->value().size());
  constexpr std::string_view attendu = "100-continue";
  if (v.size() != attendu.size()) return false;
  for (size_t i = 0; i < v.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(v[i])) != attendu[i]) return false;
  return true;
}
}  // namespace

void TConnexionHttp::TraiterEnTete() {
  Etat& e = *etat_;
  const auto& r = e.entete->get();
  methode_ = std::string(r.method_string());
  cible_ = std::string(r.target());
  chemin_ = CheminDe(cible_);
  DrapeauxDocument drapeaux;
  if (r.method() == http::verb::get) {
    if (serveur_->OnGetDocument) Proteger([&] { serveur_->OnGetDocument(*this, drapeaux); });
  } else if (r.method() == http::verb::post) {
    if (serveur_->OnPostDocument) Proteger([&] { serveur_->OnPostDocument(*this, drapeaux); });
  } else {
    return RepondreEtFermer("501 Not Implemented");
  }
  if (drapeaux.AccepteDonnees && !e.repondu && serveur_) {
    const bool continuer = AttendContinuer(r);
    e.corps.emplace(std::move(*e.entete));
    e.entete.reset();
    e.corps->body_limit(LimiteCorps);
    if (!continuer) return LireCorps();
    // The caller waits for this line before it sends the body.
    static constexpr std::string_view kContinuer = "HTTP/1.1 100 Continue\r\n\r\n";
    e.stream.expires_after(serveur_->DelaiLecture);
    asio::async_write(e.stream, asio::buffer(kContinuer.data(), kContinuer.size()),
                      [self = shared_from_this()](beast::error_code ec, size_t) {
                        if (!self->serveur_) return;
                        if (ec) return self->Clore();
                        if (!self->etat_->repondu) self->LireCorps();
                      });
  } else if (!drapeaux.RepondSoiMeme && !e.repondu) {
    RepondreEtFermer("404 Not Found");
  }
}

void TConnexionHttp::LireCorps() {
  Etat& e = *etat_;
  if (e.corps->is_done()) {
    // A request without a body: deliver its empty end at once.
    if (serveur_->OnPostedData) Proteger([&] { serveur_->OnPostedData(*this, {}, true); });
    return;
  }
  e.corps->get().body().data = e.morceau.data();
  e.corps->get().body().size = e.morceau.size();
  e.stream.expires_after(serveur_->DelaiLecture);
  http::async_read(e.stream, e.buffer, *e.corps, [self = shared_from_this()](beast::error_code ec, size_t) {
    if (!self->serveur_) return;
    Etat& e = *self->etat_;
    if (ec == http::error::need_buffer) ec = {};
    if (ec == http::error::body_limit) {
      if (self->serveur_->OnCorpsTropLong) self->Proteger([&] { self->serveur_->OnCorpsTropLong(*self); });
      if (!e.repondu) self->Clore();
      return;
    }
    if (ec) return self->Clore();
    size_t n = e.morceau.size() - e.corps->get().body().size;
    bool fin = e.corps->is_done();
    if (self->serveur_->OnPostedData)
      self->Proteger([&] { self->serveur_->OnPostedData(*self, std::string_view(e.morceau.data(), n), fin); });
    if (!fin && !e.repondu && self->serveur_) self->LireCorps();
  });
}

void TConnexionHttp::EnvoyerTexte(std::string texte, bool keepAlive) {
  if (!serveur_ || !etat_) return;
  Etat& e = *etat_;
  e.repondu = true;
  e.aEnvoyer = std::move(texte);
  if (keepAlive) {
    // What came before the answer belongs to the request answered (bytes after its body): dropped,
    // so that the next request starts with what the caller sends next.
    e.buffer.consume(e.buffer.size());
    beast::error_code ignore;
    for (size_t n = e.stream.socket().available(ignore); n > 0 && !ignore; n = e.stream.socket().available(ignore))
      e.stream.socket().read_some(asio::buffer(e.morceau.data(), std::min(n, e.morceau.size())), ignore);
  }
  e.stream.expires_after(serveur_->DelaiLecture);
  asio::async_write(e.stream, asio::buffer(e.aEnvoyer),
                    [self = shared_from_this(), keepAlive](beast::error_code ec, size_t) {
                      if (!self->serveur_) return;
                      if (ec) return self->Clore();
                      if (keepAlive) return self->LireEnTete();
                      // Close gracefully: no more sending, then drop what the peer still sends.
                      Etat& e = *self->etat_;
                      beast::error_code ignore;
                      e.stream.socket().shutdown(tcp::socket::shutdown_send, ignore);
                      e.vidange = 0;
                      e.stream.expires_after(kDelaiVidange);
                      self->Vider();
                    });
}

void TConnexionHttp::Vider() {
  Etat& e = *etat_;
  e.stream.async_read_some(asio::buffer(e.morceau), [self = shared_from_this()](beast::error_code ec, size_t n) {
    Etat& e = *self->etat_;
    e.vidange += n;
    if (ec || !self->serveur_ || e.vidange > kVidangeMaximale) return self->Clore();
    self->Vider();
  });
}

void TConnexionHttp::RepondreEtFermer(std::string_view statut) {
  Statut = std::atoi(std::string(statut.substr(0, 3)).c_str());
  EnvoyerTexte("HTTP/1.1 " + std::string(statut) + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n", false);
}

void TConnexionHttp::Clore() {
  if (etat_) {
    beast::error_code ignore;
    etat_->stream.socket().shutdown(tcp::socket::shutdown_both, ignore);
    etat_->stream.socket().close(ignore);
  }
  if (TServeurHttp* s = serveur_) {
    serveur_ = nullptr;
    s->Retirer(this);  // may free this object: nothing after
  }
}

TServeurHttp::TServeurHttp(asio::io_context& io) : io_(io), acceptor_(io) {}

TServeurHttp::~TServeurHttp() {
  OnServerStopped = nullptr;
  Arreter();
}

void TServeurHttp::Ecouter() {
  if (acceptor_.is_open()) return;
  boost::system::error_code ec;
  auto adresse = asio::ip::make_address(Adresse, ec);
  if (ec) throw EServeurHttp("Invalid listening address " + Adresse);
  tcp::endpoint ep(adresse, Port);
  acceptor_.open(ep.protocol(), ec);
  if (!ec) acceptor_.set_option(asio::socket_base::reuse_address(true), ec);
  if (!ec) acceptor_.bind(ep, ec);
  if (!ec) acceptor_.listen(Backlog, ec);
  if (ec) {
    boost::system::error_code ignore;
    acceptor_.close(ignore);
    throw EServeurHttp("Cannot listen on " + Adresse + ":" + std::to_string(Port) + ": " + ec.message());
  }
  Accepter();
  if (OnServerStarted) OnServerStarted();
}

void TServeurHttp::Arreter() {
  bool actif = acceptor_.is_open();
  boost::system::error_code ignore;
  acceptor_.close(ignore);
  auto connexions = std::move(connexions_);
  connexions_.clear();
  for (auto& c : connexions) {
    c->serveur_ = nullptr;
    if (c->etat_) {
      c->etat_->stream.socket().close(ignore);
    }
  }
  if (actif && OnServerStopped) OnServerStopped();
}

uint16_t TServeurHttp::PortEcoute() const {
  boost::system::error_code ec;
  auto ep = acceptor_.local_endpoint(ec);
  return ec ? 0 : ep.port();
}

void TServeurHttp::Accepter() {
  acceptor_.async_accept(io_, [this](boost::system::error_code ec, tcp::socket socket) {
    if (ec == asio::error::operation_aborted || !acceptor_.is_open()) return;
    if (!ec) {
      std::shared_ptr<TConnexionHttp> c = ClasseClient ? ClasseClient() : std::make_shared<TConnexionHttp>();
      connexions_.push_back(c);
      c->Demarrer(*this, std::move(socket));
    }
    Accepter();
  });
}

void TServeurHttp::Retirer(TConnexionHttp* connexion) {
  connexions_.remove_if([&](const std::shared_ptr<TConnexionHttp>& c) { return c.get() == connexion; });
}
