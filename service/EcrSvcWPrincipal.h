// The program's main window, headless: it holds the seven web-service settings (read from and saved
// to the settings store under "Software\Norvane\Tempravo\Service web" of the user hive) with their
// validation, the identity the service logs in with, the name of the base it serves, and the start
// and stop of the HTTP server. Its texts go to the log through the message dialog.
#pragma once

#include <cstdint>
#include <string>

#include <boost/asio/io_context.hpp>

#include "core/values/ChaineRessource.h"
#include "service/EcrNetClient.h"
#include "service/FrontalHttp.h"
#include "streams/VCLRegis.h"

namespace EcrSvcWPrincipal {
// The settings store cannot be read (the detail in place of "%s"), or a save failed.
extern const TChaineRessource RS_ParametresIllisibles_S;
extern const TChaineRessource RS_ParametresNonEnregistres_S;
// Registers the unit's resource strings.
void Initialiser();
}  // namespace EcrSvcWPrincipal

class TFicheSvcWPrincipal {
 public:
  static constexpr const char* kRacineParametres = "Software\\Norvane\\Tempravo\\Service web";

  // The HTTP server runs on Io; NetClient tells the front end whether the service is logged in.
  TFicheSvcWPrincipal(boost::asio::io_context& Io, const TFicheNetClient* NetClient);

  // The settings, at their defaults until LireParametres.
  uint32_t PortIp = 8080;
  bool RPCLiteral = false;
  uint32_t TailleLimite = 100;  // kilobytes
  bool AppliquerTailleLimite = false;
  bool DiffererTraitementSoap = true;
  bool DiffererErreur401 = true;
  bool UniquementTypesSimples = false;
  // What the settings page's two number fields hold (validated into PortIp and TailleLimite).
  std::string edPortIp = "8080";
  std::string edTailleLimite = "100";
  // 0 none, 1 home, 2 settings, 3 access to another planning.
  uint8_t PageCourante = 0;

  std::string CodeUtilisateur, MotDePasse, Login, MotDePasseLogin;
  std::string NomBase;  // at most 32 characters
  bool ServeurActif = false;
  // The logged-in user's right to run the web service, granted by the data server at login.
  bool DroitGererServiceWeb = false;

  TRegistre RegistreWindows;

  // Each value with the field's current state as default, in the settings' order; the fields then
  // show the values read. A store that cannot be read (a damaged hive) is said once, and leaves the
  // defaults and RegistreIllisible set.
  void LireParametres();
  // False when nothing or not everything was saved: the store could not be read (nothing is written
  // over it), or a write failed (said once).
  bool EcrireParametres();
  bool RegistreIllisible = false;
  // The address of the WSDL as the settings page shows it: "http://<first local IPv4>:<PortIp>".
  std::string EditUrlDocumentWsdl;
  void ActualiserUrlDocumentWsdl();
  // The machine's first IPv4 address that is up and not loopback; 127.0.0.1 when none.
  static std::string PremiereAdresseIp();
  // The port field must hold an integer from 1 to 65535; when valid it becomes PortIp, else a message.
  // The field shows PortIp again in both cases.
  bool ValiderPort();
  // The size field must hold an integer above 0; the same.
  bool ValiderTailleLimite();
  // True unless the settings page is shown and one of its fields is invalid.
  bool ValiderParametres();

  // Without the right to run the web service: a message, and the server stays stopped. Otherwise,
  // when the settings are valid, saves them and starts the HTTP server on PortIp with them.
  void DemarrerServeurHttp();
  void ArreterServeurHttp();
  // The idle pass's share: starts at most one waiting SOAP request; true while more may wait.
  bool TraiterMessagesEnAttente();

  TFrontalHttp Frontal;

  // The window's creation: settings read, NomBase from the command line's first parameter.
  void FormCreate();
  // Closing: the HTTP server stopped, the settings saved when valid.
  void FormClose();

 private:
  void SignalerErreurRegistre(const TChaineRessource& Texte);
  bool registreSignale_ = false;
};
