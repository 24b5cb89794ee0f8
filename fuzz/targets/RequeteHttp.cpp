// The HTTP request reader of the front end: the input is what a caller sends on one connection
// (then it stops sending). The front end listens on loopback with the service logged in, small
// limits and deferred execution, so that every check, the body reader and the dispatch are reached.
#include <boost/asio.hpp>

#include "fuzz/FuzzSupport.h"
#include "service/FrontalHttp.h"

namespace {

struct Banc {
  boost::asio::io_context io;
  TFicheNetClient netClient;
  TFrontalHttp frontal{io, &netClient};

  Banc() {
    // "Basic " + Base64 of "ABC:secret".
    netClient.DefinirCredentielAttendu("Basic QUJDOnNlY3JldA==");
    frontal.Parametres.PortIp = 0;
    frontal.Parametres.AppliquerTailleLimite = true;
    frontal.Parametres.TailleLimite = 4;
    frontal.ServeurHttp.Adresse = "127.0.0.1";
    frontal.ServeurHttp.DelaiLecture = std::chrono::seconds(2);
    frontal.DemarrerServeurHttp();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  static Banc banc;
  using boost::asio::ip::tcp;
  tcp::socket client(banc.io);
  bool fini = false;
  std::array<char, 4096> recu;
  std::function<void(boost::system::error_code, size_t)> lire = [&](boost::system::error_code ec, size_t) {
    if (ec) {
      fini = true;
      return;
    }
    client.async_read_some(boost::asio::buffer(recu), lire);
  };
  client.async_connect(tcp::endpoint(boost::asio::ip::address_v4::loopback(), banc.frontal.ServeurHttp.PortEcoute()),
                       [&](boost::system::error_code ec) {
                         if (ec) {
                           fini = true;
                           return;
                         }
                         boost::asio::async_write(client, boost::asio::buffer(Data, Size),
                                                  [&](boost::system::error_code, size_t) {
                                                    boost::system::error_code ignore;
                                                    client.shutdown(tcp::socket::shutdown_send, ignore);
                                                  });
                         client.async_read_some(boost::asio::buffer(recu), lire);
                       });
  while (!fini) {
    banc.io.run_one_for(std::chrono::milliseconds(5));
    bool done = true;
    banc.frontal.TraiterMessagesEnAttente(done);
  }
  // Let the server side finish with the connection before the next input.
  while (!banc.frontal.ServeurHttp.Connexions().empty()) banc.io.run_one_for(std::chrono::milliseconds(5));
  return 0;
}
