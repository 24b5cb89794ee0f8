#include "service/LigneCommande.h"

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "core/objects/Exceptions.h"
#include "core/values/Ansi1252.h"
#include "core/values/ChaineUnicode.h"
#include "core/values/Format.h"
#include "platform/loop/MainLoop.h"
#include "platform/service/Systemd.h"
#include "platform/ui/VclDialogue.h"
#include "service/ApplicationServiceWeb.h"
#include "service/EcrSvcWPrincipal.h"
#include "service/Noyau.h"
#include "service/ServiceControlManager.h"
#include "service/TexteCle.h"

namespace LigneCommande {

const TChaineRessource RS_Usage{
    "LigneCommande_RS_Usage", 65218,
    "Usage :\r\n"
    "  svcweb [BASE] [-svc] [--login-file=FICHIER]\r\n"
    "      lance le service web de la base BASE ; avec -svc, en service lancé par systemd, qui lit\r\n"
    "      l'identification du service dans FICHIER\r\n"
    "  svcweb --help\r\n"
    "      affiche cette aide\r\n"
    "  svcweb --install BASE CODE\r\n"
    "      installe le service de la base BASE, connecté sous le code d'utilisateur CODE ; le mot de\r\n"
    "      passe est lu sur la première ligne de l'entrée standard\r\n"
    "  svcweb --remove\r\n"
    "      supprime le service\r\n"
    "  svcweb --remove-all\r\n"
    "      supprime tous les services web TZ\r\n"
    "  svcweb --settings\r\n"
    "      affiche les sept réglages du service web et l'adresse de son WSDL\r\n"
    "  svcweb --set NOM=VALEUR ...\r\n"
    "      change des réglages, chacun vérifié comme la page des réglages le vérifie : PortIp (1 à\r\n"
    "      65535), TailleLimite (kilo-octets, au moins 1), RPCLiteral, AppliquerTailleLimite,\r\n"
    "      DiffererTraitementSoap, DiffererErreur401 et UniquementTypesSimples (0 ou 1)\r\n"
    "Après --install ou --remove, systemctl daemon-reload fait connaître le changement à systemd."_ansi};
const TChaineRessource RS_OptionInconnue_S{"LigneCommande_RS_OptionInconnue_S", 65219,
                                           "Option inconnue : %s (svcweb --help donne l'usage)"_ansi};
const TChaineRessource RS_ArgumentsManquants_S{
    "LigneCommande_RS_ArgumentsManquants_S", 65220,
    "Les arguments de %s ne conviennent pas (svcweb --help donne l'usage)"_ansi};
const TChaineRessource RS_ReglageInconnu_S{
    "LigneCommande_RS_ReglageInconnu_S", 65221,
    "Le réglage %s n'existe pas ; les réglages sont PortIp, RPCLiteral, TailleLimite, AppliquerTailleLimite, "
    "DiffererTraitementSoap, DiffererErreur401 et UniquementTypesSimples, donnés sous la forme NOM=VALEUR."_ansi};
const TChaineRessource RS_ValeurBooleenne_S{"LigneCommande_RS_ValeurBooleenne_S", 65222,
                                            "Le réglage %s vaut 0 ou 1."_ansi};
const TChaineRessource RS_MotDePasseAbsent{
    "LigneCommande_RS_MotDePasseAbsent", 65223,
    "Le mot de passe du compte du service se lit sur l'entrée standard : aucun n'y a été donné."_ansi};
const TChaineRessource RS_NomBaseInvalide_S{
    "LigneCommande_RS_NomBaseInvalide_S", 65224,
    "Le nom de base %s ne convient pas : il doit tenir en 32 caractères, sans guillemet."_ansi};

void Initialiser() {
  static const TChaineRessource* const kChaines[] = {&RS_Usage,           &RS_OptionInconnue_S,  &RS_ArgumentsManquants_S,
                                                     &RS_ReglageInconnu_S, &RS_ValeurBooleenne_S, &RS_MotDePasseAbsent,
                                                     &RS_NomBaseInvalide_S};
  ChaineRessource::Enregistrer(kChaines);
}

namespace {

std::string Texte(const TChaineRessource& Chaine, const std::string& Argument) {
  return ChaineRessource::ChargerFormate(Chaine, {Argument});
}

// A message of the message dialog (a line on the standard error).
void Message(const std::string& Texte, const std::string& Titre = {}, uint8_t Genre = VclDialogue::kInformationOuConfirmation) {
  VclDialogue::AfficherMessage(true, Texte, Titre, Genre, VclDialogue::kOk, true);
}

int Refuser(const std::string& Texte, int Statut = kEchec) {
  Message(Texte, {}, VclDialogue::kAlerte);
  return Statut;
}

std::string Minuscules(std::string Texte) {
  for (char& c : Texte)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return Texte;
}

// Lines of 1252 text (CR LF) written as the terminal's UTF-8 lines.
void Ecrire(std::ostream& Sortie, const std::string& Texte) {
  std::string utf8 = ChaineUnicode::VersUTF8(Texte, 1252);
  std::string lignes;
  for (char c : utf8)
    if (c != '\r') lignes += c;
  Sortie << lignes << '\n';
}

TApplicationServiceWeb& Application() {
  auto* application = dynamic_cast<TApplicationServiceWeb*>(InstanceApplicationCommune());
  if (application == nullptr) throw EInvalidCast();
  // The identity and the mode follow the command line being carried out.
  application->TerminerCreation();
  return *application;
}

int Installer(const std::vector<std::string>& Mots, std::istream& Entree) {
  if (Mots.size() != 2) return Refuser(Texte(RS_ArgumentsManquants_S, "--install"), kUsage);
  const std::string& base = Mots[0];
  if (base.size() > 32 || base.find('"') != std::string::npos) return Refuser(Texte(RS_NomBaseInvalide_S, base), kUsage);
  std::string motDePasse;
  if (!std::getline(Entree, motDePasse)) return Refuser(ChaineRessource::Charger(RS_MotDePasseAbsent));
  if (!motDePasse.empty() && motDePasse.back() == '\r') motDePasse.pop_back();
  motDePasse = ChaineUnicode::DepuisUTF8(motDePasse, 1252).substr(0, 255);
  TApplicationServiceWeb& application = Application();
  if (ServiceControlManager::ServicesPresents("Service Web TZ")) {
    Message(TexteCle("EcrSvcWPrincipalServiceInstallationEnDoubleImpossible"),
            TexteCle("ApplicationTZCreationServiceNTImpossible"));
    return kEchec;
  }
  application.DefinirIdentiteInstallation(base, Mots[1], motDePasse);
  application.CreerServiceNT();
  if (application.EtatServiceNT() == kServiceArrete) {
    Message(TexteCle("EcrSvcWPrincipalServiceInstalle"), TexteCle("ApplicationTZCreationServiceNTTerminee"));
    return 0;
  }
  Message(TexteCle("ApplicationTzSystemeExploitationSansServicesNT"), TexteCle("ApplicationTZCreationServiceNTImpossible"));
  return kEchec;
}

int RefuserEnService() {
  Message(TexteCle("EcrSvcWPrincipalServiceEchecDesinstallationCarLanceService"),
          TexteCle("ApplicationTZSuppressionServiceNTImpossible"));
  return kEchec;
}

int Supprimer() {
  TApplicationServiceWeb& application = Application();
  if (application.ModeService()) return RefuserEnService();
  // The installed service's display name (it names its base).
  std::string nomAffiche = application.ServiceNT.NomAffiche;
  for (const auto& u : Systemd::Gestionnaire().Lister())
    if (u.Nom == application.ServiceNT.Nom) nomAffiche = u.NomAffiche;
  application.SupprimerServiceNTPropre();
  const uint32_t etat = application.EtatServiceNT();
  Message(ServiceControlManager::TexteEtat(etat, nomAffiche));
  return etat == kServiceAbsent ? 0 : kEchec;
}

int SupprimerTous() {
  TApplicationServiceWeb& application = Application();
  if (application.ModeService()) return RefuserEnService();
  application.SupprimerServicesNT("TZ");
  return 0;
}

int Afficher(std::ostream& Sortie) {
  MainLoop boucle;
  TFicheSvcWPrincipal fiche(boucle.Context(), nullptr);
  fiche.LireParametres();
  Sortie << "PortIp=" << fiche.PortIp << "\nRPCLiteral=" << fiche.RPCLiteral << "\nTailleLimite=" << fiche.TailleLimite
         << "\nAppliquerTailleLimite=" << fiche.AppliquerTailleLimite
         << "\nDiffererTraitementSoap=" << fiche.DiffererTraitementSoap
         << "\nDiffererErreur401=" << fiche.DiffererErreur401
         << "\nUniquementTypesSimples=" << fiche.UniquementTypesSimples << "\nUrlDocumentWsdl=";
  Ecrire(Sortie, fiche.EditUrlDocumentWsdl);
  return fiche.RegistreIllisible ? kEchec : 0;
}

int Regler(const std::vector<std::string>& Mots) {
  if (Mots.empty()) return Refuser(Texte(RS_ArgumentsManquants_S, "--set"), kUsage);
  MainLoop boucle;
  TFicheSvcWPrincipal fiche(boucle.Context(), nullptr);
  fiche.LireParametres();
  if (fiche.RegistreIllisible) return kEchec;
  // Every value is checked before any is written: a refused one leaves the store as it was.
  for (const std::string& mot : Mots) {
    const size_t egal = mot.find('=');
    if (egal == std::string::npos) return Refuser(Texte(RS_ReglageInconnu_S, mot), kUsage);
    const std::string nom = Minuscules(mot.substr(0, egal));
    const std::string valeur = mot.substr(egal + 1);
    if (nom == "portip") {
      fiche.edPortIp = valeur;
      if (!fiche.ValiderPort()) return kEchec;
    } else if (nom == "taillelimite") {
      fiche.edTailleLimite = valeur;
      if (!fiche.ValiderTailleLimite()) return kEchec;
    } else {
      bool* booleen = nom == "rpcliteral"               ? &fiche.RPCLiteral
                      : nom == "appliquertaillelimite"  ? &fiche.AppliquerTailleLimite
                      : nom == "differertraitementsoap" ? &fiche.DiffererTraitementSoap
                      : nom == "differererreur401"      ? &fiche.DiffererErreur401
                      : nom == "uniquementtypessimples" ? &fiche.UniquementTypesSimples
                                                        : nullptr;
      if (booleen == nullptr) return Refuser(Texte(RS_ReglageInconnu_S, mot.substr(0, egal)), kUsage);
      if (valeur != "0" && valeur != "1") return Refuser(Texte(RS_ValeurBooleenne_S, mot.substr(0, egal)));
      *booleen = valeur == "1";
    }
  }
  return fiche.EcrireParametres() ? 0 : kEchec;
}

}  // namespace

int Executer(std::istream& Entree, std::ostream& Sortie) {
  static const char* const kCommandes[] = {"--help", "-h", "-?", "--install", "--remove", "--remove-all", "--settings", "--set"};
  std::string commande;
  std::vector<std::string> mots;
  for (int i = 1; i <= Noyau::ParamCount(); ++i) {
    const std::string mot = Noyau::ParamStr(i);
    if (!Noyau::EstCommutateur(mot)) {
      mots.push_back(mot);
      continue;
    }
    const std::string m = Minuscules(mot);
    if (m == "-svc" || m == "/svc" || m.starts_with("--login-file=")) continue;
    bool connue = false;
    for (const char* c : kCommandes) connue = connue || m == c;
    if (!connue || !commande.empty()) return Refuser(Texte(RS_OptionInconnue_S, mot), kUsage);
    commande = m;
  }
  if (commande.empty()) return -1;
  VclDialogue::DefinirNomProgramme("TEMPRAVO");
  if (commande == "--help" || commande == "-h" || commande == "-?") {
    if (!mots.empty()) return Refuser(Texte(RS_ArgumentsManquants_S, commande), kUsage);
    Ecrire(Sortie, ChaineRessource::Charger(RS_Usage));
    return 0;
  }
  if (commande == "--install") return Installer(mots, Entree);
  if (commande == "--set") return Regler(mots);
  if (!mots.empty()) return Refuser(Texte(RS_ArgumentsManquants_S, commande), kUsage);
  if (commande == "--remove") return Supprimer();
  if (commande == "--remove-all") return SupprimerTous();
  return Afficher(Sortie);
}

}  // namespace LigneCommande
