// The HTTP front end over real loopback connections: the checks of a POST in their order with their
// exact answers, the deferred 401 and its second chance on the same connection, deferred and
// immediate execution, the documents on GET, and hostile callers.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <unistd.h>

#include "core/values/ChaineUnicode.h"
#include "platform/ui/VclDialogue.h"
#include "tests/service/BancHttp.h"

namespace {

const std::string kAction = "SOAPAction: \"urn:TzSvcWAdmin-PortAdmin#Version\"\r\n";
const std::string kAuth = std::string("Authorization: ") + kCredentiel + "\r\n";

std::string Refus(const std::string& statut, const std::string& texte) {
  return "HTTP/1.1 " + statut + "\r\nContent-Type: text/plain; charset=iso-8859-1\r\nContent-Length: " +
         std::to_string(texte.size() + 2) + "\r\nConnection: Close\r\nProxy-Connection: Close\r\n\r\n" + texte + "\r\n";
}

bool RepondVersion(const std::string& r) {
  return r.starts_with("HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=iso-8859-1\r\n") &&
         r.find("Connection: Close\r\n") != std::string::npos &&
         r.find(">TEMPRAVO Service Web 2007 - 0.6.1</return>") != std::string::npos;
}

TEST(FrontalHttp, APostIsCheckedInOrderAndEachRefusalHasItsExactAnswer) {
  BancHttp banc([](TFrontalHttp& f) {
    f.Parametres.DiffererErreur401 = false;
    f.Parametres.AppliquerTailleLimite = true;
    f.Parametres.TailleLimite = 1;
  });
  const std::string k401 =
      "HTTP/1.1 401 Unauthorized\r\nContent-Type: text/plain; charset=iso-8859-1\r\nContent-Length: 27\r\n"
      "Connection: Close\r\nProxy-Connection: Close\r\nWWW-Authenticate: Basic Realm=TzSvcW\r\n\r\n"
      "EcrSvcWPrincipalErreur401\r\n";
  std::string grand(1025, 'x');
  struct Cas {
    std::string requete, reponse;
  } cas[] = {
      {RequeteVersion(kAction), k401},
      // The wrong credential and the missing action come after the credential's presence.
      {RequeteVersion("Authorization: Basic faux\r\n"), Refus("403 Forbidden", "EcrSvcWPrincipalErreur403")},
      {RequeteVersion("Authorization: Basic QUJDOnNlY3JldA\r\n" + kAction), Refus("403 Forbidden", "EcrSvcWPrincipalErreur403")},
      {RequeteVersion(kAuth, grand), Refus("413 Request Entity Too Large", "EcrSvcWPrincipalErreur413_D")},
      {RequeteVersion(kAuth), Refus("501 Not Implemented", "EcrSvcWPrincipalErreur501")},
  };
  for (const auto& c : cas) EXPECT_EQ(banc.Echanger({c.requete}), c.reponse) << c.requete;

  // A refusal's text is the dictionary's when it has the key.
  Traduction::DefinirTexte("EcrSvcWPrincipalErreur501", "Pas d'action SOAP");
  EXPECT_EQ(banc.Echanger({RequeteVersion(kAuth)}), Refus("501 Not Implemented", "Pas d'action SOAP"));

  banc.netClient.DefinirCredentielAttendu("");
  EXPECT_EQ(banc.Echanger({RequeteVersion(kAuth + kAction)}),
            Refus("500 Internal Server Error", "EcrSvcWPrincipalErreur500"));
}

TEST(FrontalHttp, TheCredentialIsTrimmedAndItsSchemeReadWithoutRegardToCase) {
  BancHttp banc;
  for (const char* auth : {"Authorization:   Basic QUJDOnNlY3JldA==  \r\n", "Authorization: basic QUJDOnNlY3JldA==\r\n",
                           "Authorization: BASIC  QUJDOnNlY3JldA==\r\n"})
    EXPECT_TRUE(RepondVersion(banc.Echanger({RequeteVersion(auth + kAction)}))) << auth;
  for (const char* auth : {"Authorization: Basic qUJDOnNlY3JldA==\r\n", "Authorization: Basic QUJDOnNlY3JldA==x\r\n",
                           "Authorization: Bearer QUJDOnNlY3JldA==\r\n", "Authorization: QUJDOnNlY3JldA==\r\n"})
    EXPECT_TRUE(banc.Echanger({RequeteVersion(auth + kAction)}).starts_with("HTTP/1.1 403 Forbidden\r\n")) << auth;
}

TEST(FrontalHttp, TheSizeLimitAcceptsExactlyItsLengthAndTheHardCapHoldsWhenItIsOff) {
  BancHttp banc([](TFrontalHttp& f) {
    f.Parametres.AppliquerTailleLimite = true;
    f.Parametres.TailleLimite = 1;
  });
  // Exactly 1024 bytes reach the dispatcher (which refuses the envelope with a fault, status 200).
  std::string r = banc.Echanger({RequeteVersion(kAuth + kAction, std::string(1024, ' '))});
  EXPECT_TRUE(r.starts_with("HTTP/1.1 200 OK\r\n")) << r;
  EXPECT_NE(r.find("<faultcode>SOAP-ENV:Client</faultcode>"), std::string::npos);

  banc.frontal.Parametres.AppliquerTailleLimite = false;
  // Far beyond what 32 bits hold: refused from the header, before any body byte.
  const std::string enorme = "POST / HTTP/1.1\r\nHost: h\r\n" + kAuth + kAction + "Content-Length: 9223372036854775807\r\n\r\n";
  EXPECT_EQ(banc.Echanger({enorme}), Refus("413 Request Entity Too Large", "EcrSvcWPrincipalErreur413_D"));
  // Without credential the 401 is not deferred for a body beyond the hard cap.
  EXPECT_TRUE(banc.Echanger({"POST / HTTP/1.1\r\nHost: h\r\nContent-Length: 4294967297\r\n\r\n"})
                  .starts_with("HTTP/1.1 401 Unauthorized\r\nContent-Type: text/plain; charset=iso-8859-1\r\n"
                               "Content-Length: 27\r\nConnection: Close\r\n"));
}

TEST(FrontalHttp, TheDeferred401KeepsTheConnectionForASecondTryWithCredential) {
  BancHttp banc;
  std::string r = banc.Echanger({RequeteVersion(kAction), RequeteVersion(kAuth + kAction)});
  const std::string k401 =
      "HTTP/1.1 401 Unauthorized\r\nContent-Type: text/plain; charset=iso-8859-1\r\nContent-Length: 27\r\n"
      "Connection: keep-alive\r\nProxy-Connection: keep-alive\r\nKeep-Alive: 10\r\n"
      "WWW-Authenticate: Basic Realm=TzSvcW\r\n\r\nEcrSvcWPrincipalErreur401\r\n";
  ASSERT_TRUE(r.starts_with(k401)) << r;
  EXPECT_TRUE(RepondVersion(r.substr(k401.size()))) << r;
  EXPECT_FALSE(banc.frontal.RequeteSoapEnCours());
}

TEST(FrontalHttp, CompleteRequestsRunOnePerIdlePassInTheConnectionOrder) {
  BancHttp banc;
  std::string r1, r2;
  std::atomic<int> finis{0};
  std::thread t1([&] { r1 = BancHttp::Client(banc.Port(), {RequeteVersion(kAuth + kAction)}); ++finis; });
  // The second caller connects once the first is in the server's list.
  banc.Pomper([&] { return banc.frontal.ServeurHttp.Connexions().size() == 1; }, false);
  std::thread t2([&] { r2 = BancHttp::Client(banc.Port(), {RequeteVersion(kAuth + kAction)}); ++finis; });
  auto etats = [&] {
    std::string s;
    for (const auto& c : banc.frontal.ServeurHttp.Connexions())
      s += std::to_string(static_cast<TSvcWConnexion&>(*c).EtatRequete);
    return s;
  };
  banc.Pomper([&] { return etats() == "11"; }, false);
  bool done = true;
  banc.frontal.TraiterMessagesEnAttente(done);
  EXPECT_FALSE(done);
  EXPECT_EQ(etats(), "31");
  done = true;
  banc.frontal.TraiterMessagesEnAttente(done);
  EXPECT_EQ(etats(), "33");
  banc.Pomper([&] { return finis == 2; });
  t1.join();
  t2.join();
  EXPECT_TRUE(RepondVersion(r1));
  EXPECT_TRUE(RepondVersion(r2));
}

TEST(FrontalHttp, WithoutDeferralARequestRunsAsSoonAsItsBodyIsComplete) {
  BancHttp banc([](TFrontalHttp& f) { f.Parametres.DiffererTraitementSoap = false; });
  EXPECT_TRUE(RepondVersion(banc.Echanger({RequeteVersion(kAuth + kAction)}, false)));
}

TEST(FrontalHttp, AGetServesTheDocumentOfItsPathAndTheWsdlWithTheRequestHost) {
  BancHttp banc;
  banc.frontal.Documents = {"<p>manuel</p>", "<p>appels</p>", "<p>accueil</p>"};
  auto get = [&](const std::string& chemin, const std::string& entetes) {
    return banc.Echanger({"GET " + chemin + " HTTP/1.1\r\n" + entetes + "\r\n"});
  };
  EXPECT_EQ(get("/", "Host: a\r\n"),
            "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=iso-8859-1\r\nContent-Length: 14\r\n"
            "Connection: Close\r\nProxy-Connection: Close\r\n\r\n<p>accueil</p>");
  EXPECT_TRUE(get("/MANUEL", "").ends_with("\r\n\r\n<p>manuel</p>"));
  EXPECT_TRUE(get("/appels", "").ends_with("\r\n\r\n<p>appels</p>"));
  EXPECT_TRUE(get("/autre/chose", "").ends_with("\r\n\r\n<p>accueil</p>"));

  std::string w = get("/WSDL", "Host: ecole.example:8080\r\n");
  EXPECT_TRUE(w.starts_with("HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=iso-8859-1\r\n"));
  EXPECT_NE(w.find("location=\"http://ecole.example:8080/Admin\""), std::string::npos);
  const std::string local = "location=\"http://127.0.0.1:" + std::to_string(banc.Port()) + "/Admin\"";
  // No Host, or a Host that would break out of the attribute: the connection's local address.
  EXPECT_NE(get("/wsdl", "").find(local), std::string::npos);
  std::string hostile = get("/wsdl", "Host: x\"/><evil a=\"\r\n");
  EXPECT_NE(hostile.find(local), std::string::npos);
  EXPECT_EQ(hostile.find("evil"), std::string::npos);
}

TEST(FrontalHttp, HostileCallersAreRefusedWithBoundedWork) {
  BancHttp banc([](TFrontalHttp& f) { f.ServeurHttp.DelaiLecture = std::chrono::milliseconds(300); });
  // A body that never finishes: the connection is closed after the read time-out, unanswered.
  EXPECT_EQ(banc.Echanger({"POST / HTTP/1.1\r\nHost: h\r\n" + kAuth + kAction + "Content-Length: 100\r\n\r\n<x/>"}), "");
  banc.Pomper([&] { return banc.frontal.ServeurHttp.Connexions().empty(); });
  EXPECT_TRUE(banc.frontal.ServeurHttp.Connexions().empty());
  EXPECT_FALSE(banc.frontal.RequeteSoapEnCours());

  // Entity expansion is never attempted: the document type declaration is refused.
  std::string bombe = "<?xml version=\"1.0\"?><!DOCTYPE s:Envelope [<!ENTITY a \"aaaaaaaaaaaaaaaa\">";
  for (char e = 'b'; e <= 'j'; ++e) {
    bombe += std::string("<!ENTITY ") + e + " \"";
    for (int i = 0; i < 10; ++i) bombe += std::string("&") + static_cast<char>(e - 1) + ";";
    bombe += "\">";
  }
  bombe += "]><s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body>"
           "<a:Version xmlns:a=\"urn:TzSvcWAdmin-PortAdmin\">&j;</a:Version></s:Body></s:Envelope>";
  std::string r = banc.Echanger({RequeteVersion(kAuth + kAction, bombe)});
  EXPECT_TRUE(r.starts_with("HTTP/1.1 200 OK\r\n")) << r;
  EXPECT_NE(r.find("<faultcode>SOAP-ENV:Client</faultcode><faultstring>A document type declaration is not allowed"),
            std::string::npos)
      << r;

  // Deep nesting inside the call: refused as an unknown parameter, without recursion.
  std::string profond = "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body>"
                        "<a:Version xmlns:a=\"urn:TzSvcWAdmin-PortAdmin\">";
  for (int i = 0; i < 200000; ++i) profond += "<x>";
  for (int i = 0; i < 200000; ++i) profond += "</x>";
  profond += "</a:Version></s:Body></s:Envelope>";
  r = banc.Echanger({RequeteVersion(kAuth + kAction, profond)});
  EXPECT_NE(r.find("<faultstring>Unknown parameter x of operation Version</faultstring>"), std::string::npos) << r.substr(0, 300);

  // Garbage instead of HTTP, and an unknown method.
  EXPECT_TRUE(banc.Echanger({"\x01\x02 nonsense\r\n\r\n"}).starts_with("HTTP/1.1 400 Bad Request\r\n"));
  EXPECT_TRUE(banc.Echanger({"DELETE / HTTP/1.1\r\nHost: h\r\n\r\n"}).starts_with("HTTP/1.1 501 Not Implemented\r\n"));
}

// What outside SOAP clients and raw HTTP probes send, and what each must get.
TEST(FrontalHttp, WhatOutsideClientsAndProbesSendIsAnsweredAsTheyExpect) {
  BancHttp banc;
  const std::string env = "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\">";
  const std::string appel = "<s:Body><a:Version xmlns:a=\"urn:TzSvcWAdmin-PortAdmin\"/></s:Body></s:Envelope>";
  auto poster = [&](const std::string& entetes, const std::string& corps) {
    return "POST /Admin HTTP/1.1\r\nHost: 127.0.0.1\r\n" + kAuth + kAction + entetes +
           "Content-Length: " + std::to_string(corps.size()) + "\r\n\r\n" + corps;
  };
  // An unknown parameter whose name the caller wrote in its charset: the fault names it back.
  auto parametre = [&](const std::string& nom) {
    return env + "<s:Body><a:Version xmlns:a=\"urn:TzSvcWAdmin-PortAdmin\"><" + nom + "/></a:Version></s:Body></s:Envelope>";
  };
  std::string utf16 = "\xFF\xFE";
  for (char16_t c : ChaineUnicode::VersUnicode("<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + env + appel, 1252)) {
    utf16 += static_cast<char>(c & 0xFF);
    utf16 += static_cast<char>(c >> 8);
  }
  const std::string k401 =
      "HTTP/1.1 401 Unauthorized\r\nContent-Type: text/plain; charset=iso-8859-1\r\nContent-Length: 27\r\n"
      "Connection: keep-alive\r\nProxy-Connection: keep-alive\r\nKeep-Alive: 10\r\n"
      "WWW-Authenticate: Basic Realm=TzSvcW\r\n\r\nEcrSvcWPrincipalErreur401\r\n";
  const std::string corpsVersion = env + appel;
  const std::string sansCorps = poster("Expect: 100-continue\r\nContent-Type: text/xml\r\n", corpsVersion);
  struct Cas {
    const char* nom;
    std::vector<std::string> requetes;
    std::string debut, contient;
  } cas[] = {
      // Toolkits ask the WSDL with a query string.
      {"query", {"GET /wsdl?wsdl HTTP/1.1\r\nHost: ecole:8080\r\n\r\n"}, "HTTP/1.1 200 OK\r\nContent-Type: text/xml",
       "location=\"http://ecole:8080/Admin\""},
      {"query on another document", {"GET /?x=1 HTTP/1.1\r\n\r\n"}, "HTTP/1.1 200 OK\r\nContent-Type: text/html", ""},
      // Container and machine names hold underscores.
      {"underscore host", {"GET /wsdl HTTP/1.1\r\nHost: svc_web:8080\r\n\r\n"}, "HTTP/1.1 200 OK\r\n",
       "location=\"http://svc_web:8080/Admin\""},
      // The headers first, the body once the server said to go on.
      {"100-continue",
       {sansCorps.substr(0, sansCorps.size() - corpsVersion.size()), corpsVersion},
       "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\n", ">TEMPRAVO Service Web 2007 - 0.6.1</return>"},
      {"100-continue refused",
       {"POST /Admin HTTP/1.1\r\nHost: h\r\nAuthorization: Basic faux\r\nExpect: 100-continue\r\n"
        "Content-Length: 10\r\n\r\n"},
       "HTTP/1.1 403 Forbidden\r\n", ""},
      // The charset of the HTTP Content-Type when the document declares none.
      {"ISO-8859-1 over HTTP", {poster("Content-Type: text/xml; charset=ISO-8859-1\r\n", parametre("param\xE9"))},
       "HTTP/1.1 200 OK\r\n", "<faultstring>Unknown parameter param\xE9 of operation Version</faultstring>"},
      {"windows-1252 over HTTP", {poster("Content-Type: text/xml; charset=\"windows-1252\"\r\n", parametre("param\x80"))},
       "HTTP/1.1 200 OK\r\n", "<faultstring>Unknown parameter param&#8364; of operation Version</faultstring>"},
      {"windows-1252 declared", {poster("Content-Type: text/xml\r\n",
                                        "<?xml version=\"1.0\" encoding=\"windows-1252\"?>" + parametre("p\x80"))},
       "HTTP/1.1 200 OK\r\n", "<faultstring>Unknown parameter p&#8364; of operation Version</faultstring>"},
      {"UTF-16 with its mark", {poster("Content-Type: text/xml; charset=utf-16\r\n", utf16)}, "HTTP/1.1 200 OK\r\n",
       ">TEMPRAVO Service Web 2007 - 0.6.1</return>"},
      // SOAP 1.1 fault codes.
      {"SOAP 1.2 envelope",
       {poster("Content-Type: application/soap+xml\r\n",
               "<e:Envelope xmlns:e=\"http://www.w3.org/2003/05/soap-envelope\"><e:Body/></e:Envelope>")},
       "HTTP/1.1 200 OK\r\n", "<faultcode>SOAP-ENV:VersionMismatch</faultcode>"},
      {"mustUnderstand",
       {poster("Content-Type: text/xml\r\n", env + "<s:Header><t:Jeton xmlns:t=\"urn:t\" s:mustUnderstand=\"1\"/>"
                                                     "</s:Header>" + appel)},
       "HTTP/1.1 200 OK\r\n", "<faultcode>SOAP-ENV:MustUnderstand</faultcode><faultstring>Header not understood: t:Jeton"},
      // Bytes after the body of a request whose 401 waited for it belong to it: dropped.
      {"extra bytes after a deferred 401", {RequeteVersion(kAction) + "GARBAGE\r\n\r\n", RequeteVersion(kAuth + kAction)},
       k401 + "HTTP/1.1 200 OK\r\n", ">TEMPRAVO Service Web 2007 - 0.6.1</return>"},
      // A module's text that does not fit its argument: the built-in text, never a lost answer.
      {"413 with a faulty module text",
       {"POST / HTTP/1.1\r\nHost: h\r\n" + kAuth + kAction + "Content-Length: 99999999999\r\n\r\n"},
       Refus("413 Request Entity Too Large", "EcrSvcWPrincipalErreur413_D"), ""},
  };
  Traduction::DefinirTexte("EcrSvcWPrincipalErreur413_D", "Trop grand : %s Ko");
  for (const auto& c : cas) {
    const std::string r = banc.Echanger(c.requetes);
    EXPECT_TRUE(r.starts_with(c.debut)) << c.nom << ":\n" << r.substr(0, 400);
    EXPECT_NE(r.find(c.contient), std::string::npos) << c.nom << ":\n" << r.substr(0, 600);
  }
}

TEST(FrontalHttp, SixtyFourCallersConnectingAtOnceAreAllQueuedByTheKernel) {
  BancHttp banc;
  // The loop does not accept while they connect: the kernel's queue holds them all, or drops the
  // connects beyond it, which the callers retry only a second later.
  std::vector<int> sockets;
  for (int i = 0; i < 64; ++i) {
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(banc.Port());
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    (void)::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof(a));
    sockets.push_back(s);
  }
  const auto echeance = std::chrono::steady_clock::now() + std::chrono::milliseconds(700);
  size_t connectes = 0;
  std::vector<bool> fait(sockets.size(), false);
  while (connectes < sockets.size() && std::chrono::steady_clock::now() < echeance) {
    for (size_t i = 0; i < sockets.size(); ++i) {
      if (fait[i]) continue;
      pollfd p{sockets[i], POLLOUT, 0};
      if (::poll(&p, 1, 0) == 1) {
        int erreur = -1;
        socklen_t l = sizeof erreur;
        ::getsockopt(sockets[i], SOL_SOCKET, SO_ERROR, &erreur, &l);
        fait[i] = true;
        if (erreur == 0) ++connectes;
      }
    }
  }
  for (int s : sockets) ::close(s);
  EXPECT_EQ(connectes, sockets.size());
}

TEST(FrontalHttp, AHandlerThatRaisesAnswersTheConnectionAndTellsTheOperator) {
  BancHttp banc;
  std::vector<std::string> log;
  VclDialogue::DefinirSortie([&](const std::string& l) { log.push_back(l); });
  banc.frontal.ServeurHttp.OnGetDocument = [](TConnexionHttp&, DrapeauxDocument&) { throw Exception("document perdu"); };
  const std::string r = banc.Echanger({"GET / HTTP/1.1\r\nHost: h\r\n\r\n"});
  VclDialogue::DefinirSortie(nullptr);
  EXPECT_TRUE(r.starts_with("HTTP/1.1 500 Internal Server Error\r\n")) << r;
  EXPECT_EQ(log, (std::vector<std::string>{"Exception dans la boucle principale : document perdu"}));
}

TEST(FrontalHttp, AFailureThatLeavesTheDispatcherIsAnsweredWithTheEscapedFaultEnvelope) {
  EXPECT_EQ(TFrontalHttp::EnveloppeFaute("a < b & \"c\""),
            "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n"
            "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\" >\r\n"
            "  <soapenv:Body>\r\n"
            "    <soapenv:Fault>\r\n"
            "      <faultcode>soapenv:Server</faultcode>\r\n"
            "      <faultstring>a &lt; b &amp; \"c\"</faultstring>\r\n"
            "    </soapenv:Fault>\r\n"
            "  </soapenv:Body>\r\n"
            "</soapenv:Envelope>\r\n");
}

}  // namespace
