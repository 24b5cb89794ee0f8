// The HTTP front end over real loopback connections: the checks of a POST in their order with their
// exact answers, the deferred 401 and its second chance on the same connection, deferred and
// immediate execution, the documents on GET, and hostile callers.
#include <gtest/gtest.h>

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
