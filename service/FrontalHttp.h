// The HTTP front end of the web service: GET requests receive the published documents, POST
// requests carry SOAP messages. A POST's headers are checked in a fixed order (credential present,
// service logged in, credential right, size within the limit, SOAP action present), each refusal
// with its status code and text; the body is then gathered and the request executed, at once or on
// the next idle pass, never two at a time. Every answer closes its connection except the 401 that
// waited for the end of the body, after which the caller may send the request again with its
// credential on the same connection.
//
// Bodies are bounded: the announced length is judged in 64 bits before any byte is kept, against
// the size setting when it applies and always against kPlafondCorps; the body of a caller without
// credential is read and dropped, never kept.
//
// Main thread only; the critical section only mirrors the rule that one request executes at a
// time (a request that sends a change to the data server waits in a nested loop, during which
// other requests must stay waiting).
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include <boost/asio/io_context.hpp>

#include "platform/http/ServeurHttp.h"
#include "platform/soap/InvocateurSoap.h"
#include "service/EcrNetClient.h"

// The seven web-service settings, with their defaults.
struct TParametresServiceWeb {
  uint32_t PortIp = 8080;
  bool RPCLiteral = false;
  uint32_t TailleLimite = 100;  // kilobytes
  bool AppliquerTailleLimite = false;
  bool DiffererTraitementSoap = true;
  bool DiffererErreur401 = true;
  bool UniquementTypesSimples = false;
};

// The request states of a connection.
enum : uint8_t {
  kRequeteInactive = 0,   // no complete request
  kRequeteComplete = 1,   // the body has arrived and waits for execution
  kRequeteEnCours = 2,    // executing
  kRequeteRepondue = 3,   // answered
};

class TSvcWConnexion : public TConnexionHttp {
 public:
  std::string ActionSoap;  // the "SOAPAction" header, trimmed, one level of double quotes removed
  std::string Corps;       // the body received so far
  uint8_t EtatRequete = kRequeteInactive;
  bool Erreur401Differee = false;  // no "Authorization": the 401 waits for the end of the body

  void EnvoyerReponse(std::string texte, bool keepAlive) { EnvoyerTexte(std::move(texte), keepAlive); }
  // With a value other than 0 the keep-alive form, which leaves the connection open.
  void Repondre401(int keepAliveSecondes);
  void Repondre403();
  void Repondre413(uint64_t limiteKo);
  void Repondre500();
  void Repondre501();
  void RepondreHtml(std::string_view texte);
  void RepondreXml(std::string_view texte);
  // The WSDL with every "{RequestHost}" replaced by the request's Host header when it is a valid
  // host (and port), else by the connection's local address and port.
  void RepondreWsdl(std::string_view texte);

 private:
  void RepondreErreur(std::string_view statut, std::string_view texte);
};

// The documents served on GET besides the WSDL.
struct TDocumentsPublies {
  std::string Manuel, Appels, Accueil;
};

class TFrontalHttp {
 public:
  // The hard limit of a body, whatever the settings.
  static constexpr uint64_t kPlafondCorps = 16 * 1024 * 1024;

  TFrontalHttp(boost::asio::io_context& io, const TFicheNetClient* netClient);

  TParametresServiceWeb Parametres;
  TDocumentsPublies Documents;
  TServeurHttp ServeurHttp;

  // Registers the ports for the chosen use, prepares the WSDL of that use and listens on PortIp
  // (0: any free port, see ServeurHttp.PortEcoute).
  void DemarrerServeurHttp();
  void ArreterServeurHttp();

  // The server's events.
  void TraiterGetDocument(TSvcWConnexion& client, DrapeauxDocument& drapeaux);
  void TraiterPostDocument(TSvcWConnexion& client, DrapeauxDocument& drapeaux);
  void TraiterPostedData(TSvcWConnexion& client, std::string_view donnees, bool fin);

  // Moves a connection's request to a new state when the move is allowed; the executing flag
  // follows the moves to and from the executing state.
  bool ChangerEtatConnexion(TSvcWConnexion& client, uint8_t nouvelEtat);
  // Executes the connection's complete request; false when it cannot start now.
  bool TraiterMessageSoap(TSvcWConnexion& client);
  // The idle pass: starts at most one waiting request, in the order of the connection list.
  void TraiterMessagesEnAttente(bool& done);

  const std::string& WsdlEnService() const { return wsdlEnService_; }
  bool RequeteSoapEnCours() const { return requeteSoapEnCours_; }

  // The fault envelope of a failure that left the dispatcher; the message is escaped.
  static std::string EnveloppeFaute(std::string_view message);
  // Whether an "Authorization" value matches the expected credential: blanks around it ignored,
  // the scheme compared without regard to case, the rest in constant time.
  static bool CredentielValide(std::string_view recu, std::string_view attendu);

 private:
  const TFicheNetClient* netClient_;
  TInvocateurSoap invocateurSoap_;
  std::mutex sectionCritique_;
  bool requeteSoapEnCours_ = false;
  std::string wsdlEncode_, wsdlLitteral_, wsdlEnService_;
};
