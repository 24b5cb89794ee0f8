// A test bench for the HTTP front end: the front end listening on a free loopback port with the
// service logged in, on the program's main loop run by the test's thread (the idle handler starts the
// waiting requests, as the running state of the connection does), and callers that run on threads
// of their own (raw sockets or child processes) so that the loop can serve them.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <sys/socket.h>
#include <sys/time.h>

#include <boost/asio.hpp>
#include <gtest/gtest.h>

#include "objectdb/Traduction.h"
#include "platform/loop/MainLoop.h"
#include "service/FrontalHttp.h"

// "Basic " + Base64 of "ABC:secret".
inline constexpr const char* kCredentiel = "Basic QUJDOnNlY3JldA==";

struct BancHttp {
  MainLoop boucle;
  TFicheNetClient netClient;
  TFrontalHttp frontal{boucle.Context(), &netClient};

  explicit BancHttp(const std::function<void(TFrontalHttp&)>& regler = nullptr) {
    // The one text of the language module that Version shows.
    Traduction::DefinirTexte("SupVersionServiceWeb", "Service Web");
    netClient.DefinirCredentielAttendu(kCredentiel);
    frontal.Parametres.PortIp = 0;
    frontal.ServeurHttp.Adresse = "127.0.0.1";
    if (regler) regler(frontal);
    frontal.DemarrerServeurHttp();
  }
  ~BancHttp() {
    frontal.ArreterServeurHttp();
    Traduction::Vider();
  }

  uint16_t Port() const { return frontal.ServeurHttp.PortEcoute(); }

  // Runs the loop until `fini` holds: events, and idle passes that start the waiting requests
  // unless `passesInactives` is false.
  void Pomper(const std::function<bool()>& fini, bool passesInactives = true) {
    if (passesInactives)
      boucle.SetIdleHandler([this] {
        bool done = true;
        frontal.TraiterMessagesEnAttente(done);
        return !done;
      });
    else
      boucle.SetIdleHandler(nullptr);
    if (boucle.WaitUntil(fini, std::chrono::seconds(60)) != MainLoop::WaitResult::Satisfied)
      ADD_FAILURE() << "the loop waited in vain";
  }

  // Runs `appelant` on a thread of its own while the loop serves it.
  void Servir(const std::function<void()>& appelant, bool passesInactives = true) {
    std::atomic<bool> fini{false};
    std::thread t([&] {
      appelant();
      fini = true;
      // The loop checks `fini` after an event: give it one, or it would sleep until its time-out.
      boost::asio::post(boucle.Context(), [] {});
    });
    Pomper([&] { return fini.load(); }, passesInactives);
    t.join();
  }

  // Sends each request on one connection; reads one whole answer after each but the last, and
  // everything up to the close after the last. Answers the bytes received.
  std::string Echanger(const std::vector<std::string>& requetes, bool passesInactives = true) {
    std::string recu;
    Servir([&] { recu = Client(Port(), requetes); }, passesInactives);
    return recu;
  }

  static std::string Client(uint16_t port, const std::vector<std::string>& requetes) {
    using boost::asio::ip::tcp;
    boost::asio::io_context io;
    tcp::socket s(io);
    boost::system::error_code ec;
    s.connect(tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"), port), ec);
    if (ec) return "connect: " + ec.message();
    timeval delai{20, 0};
    setsockopt(s.native_handle(), SOL_SOCKET, SO_RCVTIMEO, &delai, sizeof delai);
    std::string recu;
    for (size_t i = 0; i < requetes.size(); ++i) {
      boost::asio::write(s, boost::asio::buffer(requetes[i]), ec);
      if (i + 1 < requetes.size()) {
        // One answer: its header, then Content-Length bytes.
        std::string lu;
        char c;
        while (lu.find("\r\n\r\n") == std::string::npos && boost::asio::read(s, boost::asio::buffer(&c, 1), ec) == 1)
          lu += c;
        size_t p = lu.find("Content-Length: ");
        size_t n = p == std::string::npos ? 0 : std::stoul(lu.substr(p + 16));
        std::string corps(n, '\0');
        boost::asio::read(s, boost::asio::buffer(corps), ec);
        recu += lu + corps;
      }
    }
    char buf[4096];
    for (;;) {
      size_t n = s.read_some(boost::asio::buffer(buf), ec);
      if (ec) break;
      recu.append(buf, n);
    }
    return recu;
  }
};

// A POST of the administration port's Version, with the given headers added.
inline std::string RequeteVersion(const std::string& entetes, const std::string& corps = "") {
  std::string c = corps.empty()
                      ? "<?xml version=\"1.0\"?><s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\">"
                        "<s:Body><a:Version xmlns:a=\"urn:TzSvcWAdmin-PortAdmin\"/></s:Body></s:Envelope>"
                      : corps;
  return "POST /Admin HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: text/xml\r\n" + entetes +
         "Content-Length: " + std::to_string(c.size()) + "\r\n\r\n" + c;
}
