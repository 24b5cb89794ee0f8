// The web service's application class: the identity under which it installs itself as a service,
// the order of start-up (product identity, settings root, title, single instance, windows, the
// service's login, idle handler) and of shut-down. Window mode and service mode ("-svc") run the
// same windows; service mode takes its login from the file its unit names, never from the
// command line.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/EcrGlobale.h"
#include "service/ApplicationNorvane.h"
#include "service/EcrSvcWPrincipal.h"

// Gives the global holder the components the service owns through it: the drawing destination
// "VokCanvasDestination" (no zoom, zoom factor 90) and four unzip components (overwriting, without
// folder names or folder items, the external program sub-option), the first named "Unzip".
// EArretProgramme when the unzip library lacks its entry.
void GarnirFicheGlobales(TFicheGlobales& Fiche);

class TApplicationServiceWeb : public TApplicationTz {
 public:
  // What the service logs in with, decoded from its login text: "<L> " then L characters of user
  // code, then the password (at most 255 characters). L is at most 9 decimal digits (otherwise, or
  // not a number: 0) and never counts past the end of the text.
  static void AnalyserLogin(const std::string& Texte, std::string& CodeUtilisateur, std::string& MotDePasse);
  // The login of an encoded login text (Registre::CoderValeur), as AnalyserLogin reads it.
  static void DecoderLogin(const std::string& Encode, std::string& CodeUtilisateur, std::string& MotDePasse);
  // Reads the encoded login of the file Chemin: a regular file of this account, readable by it
  // alone, of at most kTailleMaxFichierLogin bytes; the text without its trailing blanks and line
  // ends. False, with the reason in Erreur, otherwise.
  static constexpr size_t kTailleMaxFichierLogin = 4096;
  static bool LireFichierLogin(const std::string& Chemin, std::string& Encode, std::string& Erreur);

  void DefinirIdentiteService() override;
  void Initialiser() override;
  void Finaliser() override;
  void BoucleMessages() override;
  ~TApplicationServiceWeb() override;

  // Whether the service serves a base: the data client holds a server profile. The connection to
  // the data server is not built yet, so never.
  bool EstConnecteABase() const { return false; }
  std::string NomServiceWeb() const;
  std::string NomAfficheServiceWeb() const;
  std::string DescriptionServiceWeb() const;
  std::string ParametresServiceWeb() const;
  // The identity of the service installed from the command line for the base NomBase, logging in
  // as CodeUtilisateur with MotDePasse: the display name names the base, the start parameters hold
  // the base in double quotes and the encoded login. The server profile's identifier is known only
  // once connected to the data server, so the service keeps the name without it (the family holds
  // one web service at a time anyway).
  void DefinirIdentiteInstallation(const std::string& NomBase, const std::string& CodeUtilisateur,
                                   const std::string& MotDePasse);

  // Creates the main window, the holder of the open base (made the global one) and the network
  // client's module.
  void CreerFenetres();
  TFicheSvcWPrincipal* FicheSvcWPrincipal() const { return fichePrincipale_.get(); }
  TFicheGlobales* FicheGlobales() const { return ficheGlobales_.get(); }
  TFicheNetClient* FicheNetClient() const { return ficheNetClient_.get(); }
  // What the service says it waits for, once it has started.
  std::string TexteAttente() const;

 private:
  void LireLoginService();
  // The program's loop for the windows, and the message box for the lower layers.
  void InstallerFenetres();
  bool TraiterInactivite();
  void LibererFicheGlobales();

  std::unique_ptr<TFicheSvcWPrincipal> fichePrincipale_;
  std::unique_ptr<TFicheNetClient> ficheNetClient_;
  std::unique_ptr<TFicheGlobales> ficheGlobales_;
  bool attenteAnnoncee_ = false;
};

// The module table's start-up of the unit: makes TApplicationServiceWeb the application's class.
namespace ApplicationServiceWeb {
void Initialiser();
}
