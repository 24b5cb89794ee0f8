// The event-driven HTTP/1.1 server component that the web service's front end is written against:
// one connection object per accepted connection, all on the loop's thread, with events for a GET,
// for the headers of a POST and for each part of a POST's body. Request parsing is Boost.Beast's;
// the answers are whole texts that the handlers build themselves.
//
// The component reads a request's header (bounded in size and in time), then hands it to the
// handler. A handler answers itself (EnvoyerTexte), and for a POST may accept the body: the
// component then reads it in parts of at most kTailleMorceau bytes, each within the read time-out,
// refusing a body longer than the connection's LimiteCorps. A POST that announces
// "Expect: 100-continue" gets "100 Continue" once its handler accepts the body (a refusal is sent
// instead of it). After an answer sent without keep-alive the connection closes; with keep-alive the
// bytes that came before the answer (what followed the body of the request answered) are dropped and
// the next request is read. A request the parser refuses gets "400 Bad Request", a method other than
// GET and POST "501 Not Implemented"; both close. A connection idle beyond the time-out is closed.
//
// A handler that raises leaves no connection unanswered: the connection gets "500 Internal Server
// Error" (or is closed when its answer was already on its way), then the exception goes on to the
// loop, which reports it.
//
// Main thread only: every handler runs inside a completion of the io_context.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>

#include "core/objects/Exceptions.h"

class TServeurHttp;

// The server cannot listen (address in use, bad address).
class EServeurHttp : public Exception {
 public:
  using Exception::Exception;
};

class TConnexionHttp : public std::enable_shared_from_this<TConnexionHttp> {
 public:
  static constexpr size_t kTailleMorceau = 16 * 1024;
  static constexpr size_t kTailleEnTeteMaximale = 16 * 1024;

  TConnexionHttp();
  virtual ~TConnexionHttp();
  TConnexionHttp(const TConnexionHttp&) = delete;
  TConnexionHttp& operator=(const TConnexionHttp&) = delete;

  // The request whose header has been read.
  const std::string& Methode() const { return methode_; }
  // The path of the request target, without its query ("?...") or fragment.
  const std::string& Chemin() const { return chemin_; }
  // The whole request target, as the request gave it.
  const std::string& Cible() const { return cible_; }
  // "HTTP/1.1" or "HTTP/1.0", as the request gave it.
  std::string Version() const;
  // A header's value, found by its name without regard to case; empty when missing.
  std::string_view EnTete(std::string_view nom) const;
  bool AEnTete(std::string_view nom) const;
  // The announced Content-Length (64 bits); none for a chunked body or when there is none.
  std::optional<uint64_t> ContentLength() const;

  std::string AdresseLocale() const;
  uint16_t PortLocal() const;

  // Sends a complete HTTP answer; then reads the next request (keep-alive) or closes.
  void EnvoyerTexte(std::string texte, bool keepAlive);

  // The longest body accepted; set by the POST handler before it accepts the data.
  uint64_t LimiteCorps = 0;
  // The status code of the last answer, for the request journal.
  int Statut = 0;
  // Copied from the server when the connection is accepted.
  int LingerTimeout = 10;

 private:
  friend class TServeurHttp;
  struct Etat;

  void Demarrer(TServeurHttp& serveur, boost::asio::ip::tcp::socket socket);
  void LireEnTete();
  void TraiterEnTete();
  void LireCorps();
  // Runs a handler; when it raises, answers 500 (or closes) and lets the exception go on.
  template <class F>
  void Proteger(F&& handler);
  void RepondreEtFermer(std::string_view statut);
  // Reads and drops what the peer sends after the last answer, until it closes or the bounds pass.
  void Vider();
  void Clore();

  std::unique_ptr<Etat> etat_;
  TServeurHttp* serveur_ = nullptr;  // null once the server let the connection go
  std::string methode_, chemin_, cible_;
};

// What a document handler gives back.
struct DrapeauxDocument {
  bool RepondSoiMeme = false;   // the handler has sent or will send the answer
  bool AccepteDonnees = false;  // the server reads the body and delivers it through OnPostedData
};

class TServeurHttp {
 public:
  explicit TServeurHttp(boost::asio::io_context& io);
  ~TServeurHttp();
  TServeurHttp(const TServeurHttp&) = delete;
  TServeurHttp& operator=(const TServeurHttp&) = delete;

  std::string Adresse = "0.0.0.0";
  uint16_t Port = 8080;  // 0: any free port (see PortEcoute)
  // The kernel's longest queue of connections not yet accepted: many callers connect at once, and a
  // short queue makes the kernel drop their connects, which they retry only a second later.
  int Backlog = boost::asio::socket_base::max_listen_connections;
  int LingerTimeout = 10;
  // How long reading a header, or one part of a body, may take.
  std::chrono::steady_clock::duration DelaiLecture = std::chrono::seconds(30);

  // The connection class: builds the object of each accepted connection.
  std::function<std::shared_ptr<TConnexionHttp>()> ClasseClient;
  std::function<void(TConnexionHttp&, DrapeauxDocument&)> OnGetDocument;
  std::function<void(TConnexionHttp&, DrapeauxDocument&)> OnPostDocument;
  // A part of the body; `fin` when it is the last.
  std::function<void(TConnexionHttp&, std::string_view donnees, bool fin)> OnPostedData;
  // The body went beyond the connection's LimiteCorps while it was read (a chunked body).
  std::function<void(TConnexionHttp&)> OnCorpsTropLong;
  std::function<void()> OnServerStarted;
  std::function<void()> OnServerStopped;

  // Starts listening; raises EServeurHttp when the address cannot be bound.
  void Ecouter();
  // Stops listening and closes every open connection.
  void Arreter();
  bool Actif() const { return acceptor_.is_open(); }
  uint16_t PortEcoute() const;

  // The open connections, in the order they were accepted.
  const std::list<std::shared_ptr<TConnexionHttp>>& Connexions() const { return connexions_; }

 private:
  friend class TConnexionHttp;
  void Accepter();
  void Retirer(TConnexionHttp* connexion);

  boost::asio::io_context& io_;
  boost::asio::ip::tcp::acceptor acceptor_;
  std::list<std::shared_ptr<TConnexionHttp>> connexions_;
};
