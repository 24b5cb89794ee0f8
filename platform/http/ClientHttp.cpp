#include "platform/http/ClientHttp.h"

#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include "core/values/Ansi1252.h"

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;

struct Adresse {
  std::string hote, port = "80", chemin = "/";
};

// "http://host[:port][/path]"; False for any other form (no other scheme is served).
bool Decomposer(const std::string& texte, Adresse& a) {
  constexpr std::string_view kSchema = "http://";
  if (texte.size() <= kSchema.size() || texte.compare(0, kSchema.size(), kSchema) != 0) return false;
  const std::string reste = texte.substr(kSchema.size());
  const std::size_t barre = reste.find('/');
  std::string autorite = reste.substr(0, barre);
  if (barre != std::string::npos) a.chemin = reste.substr(barre);
  const std::size_t deuxPoints = autorite.rfind(':');
  if (deuxPoints != std::string::npos) {
    a.port = autorite.substr(deuxPoints + 1);
    autorite.resize(deuxPoints);
    if (a.port.empty() || a.port.find_first_not_of("0123456789") != std::string::npos) return false;
  }
  a.hote = autorite;
  return !a.hote.empty();
}

}  // namespace

bool TClientHttpBeast::Obtenir(const std::string& Texte, const std::string& Agent, std::size_t Limite,
                               std::string& Corps, std::string& Erreur) {
  Corps.clear();
  Erreur.clear();
  Adresse a;
  if (!Decomposer(Texte, a)) {
    Erreur = "adresse non prise en charge : " + Texte;
    return false;
  }
  asio::io_context io;
  asio::ip::tcp::resolver resolveur(io);
  beast::tcp_stream flux(io);
  beast::flat_buffer tampon;
  http::request<http::empty_body> requete{http::verb::get, a.chemin, 11};
  requete.set(http::field::host, a.port == "80" ? a.hote : a.hote + ":" + a.port);
  requete.set(http::field::user_agent, Agent);
  requete.set(http::field::cache_control, "max-age=0");
  requete.set(http::field::connection, "close");
  http::response_parser<http::string_body> analyseur;
  analyseur.body_limit(Limite);
  beast::error_code erreur;

  // Each step is asynchronous so that the stream's time-out bounds it; the io_context runs them in
  // turn on this thread.
  resolveur.async_resolve(a.hote, a.port, [&](beast::error_code ec, asio::ip::tcp::resolver::results_type r) {
    if (ec) return void(erreur = ec);
    flux.expires_after(delai_);
    flux.async_connect(r, [&](beast::error_code ec2, const asio::ip::tcp::endpoint&) {
      if (ec2) return void(erreur = ec2);
      flux.expires_after(delai_);
      http::async_write(flux, requete, [&](beast::error_code ec3, std::size_t) {
        if (ec3) return void(erreur = ec3);
        flux.expires_after(delai_);
        http::async_read(flux, tampon, analyseur, [&](beast::error_code ec4, std::size_t) { erreur = ec4; });
      });
    });
  });
  io.run_for(4 * delai_ + std::chrono::seconds(1));
  if (!io.stopped()) erreur = beast::error::timeout;
  beast::error_code ignore;
  flux.socket().shutdown(asio::ip::tcp::socket::shutdown_both, ignore);

  if (erreur) {
    Erreur = erreur.message();
    return false;
  }
  const auto& reponse = analyseur.get();
  if (reponse.result() != http::status::ok) {
    Erreur = "statut " + std::to_string(reponse.result_int());
    return false;
  }
  if (!analyseur.content_length()) {
    Erreur = "réponse sans longueur"_ansi;
    return false;
  }
  Corps = reponse.body();
  return true;
}
