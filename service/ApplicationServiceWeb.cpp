#include "service/ApplicationServiceWeb.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/objects/Exceptions.h"
#include "core/objects/Verification.h"
#include "core/values/Ansi1252.h"
#include "core/values/Format.h"
#include "net/NetClient.h"
#include "objectdb/Traduction.h"
#include "platform/gui/Fiches.h"
#include "platform/ui/Patience.h"
#include "platform/ui/VclDialogue.h"
#include "streams/ParametresBase.h"
#include "streams/Registre.h"
#include "streams/SupVersion.h"
#include "service/Noyau.h"
#include "ui/DynaLibU.h"
#include "ui/VclCanva.h"

namespace {
// A 1252 literal as a text that concatenates.
std::string A(std::string_view Texte) { return std::string(Texte); }
}  // namespace

void TApplicationServiceWeb::AnalyserLogin(const std::string& Texte, std::string& CodeUtilisateur,
                                           std::string& MotDePasse) {
  size_t blanc = 0;
  while (blanc < Texte.size() && Texte[blanc] != ' ') ++blanc;
  size_t longueur = 0;
  const bool nombre = blanc > 0 && blanc <= 9 && Texte.find_first_not_of("0123456789") >= blanc;
  if (nombre) longueur = std::stoul(Texte.substr(0, blanc));
  const size_t debut = blanc < Texte.size() ? blanc + 1 : Texte.size();
  longueur = std::min(longueur, Texte.size() - debut);
  CodeUtilisateur = Texte.substr(debut, longueur);
  MotDePasse = Texte.substr(debut + longueur, 255);
}

void TApplicationServiceWeb::DecoderLogin(const std::string& Encode, std::string& CodeUtilisateur,
                                          std::string& MotDePasse) {
  std::string clair;
  Registre::CoderValeur(Encode, false, clair);
  AnalyserLogin(clair, CodeUtilisateur, MotDePasse);
}

bool TApplicationServiceWeb::LireFichierLogin(const std::string& Chemin, std::string& Encode, std::string& Erreur) {
  Encode.clear();
  auto refus = [&](std::string_view Raison) {
    Erreur = "Le fichier d'identification " + Chemin + " " + std::string(Raison);
    return false;
  };
  // No link followed, and a FIFO never blocks the start-up.
  const int fd = ::open(Chemin.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return refus("ne peut pas être ouvert"_ansi);
  struct Fermer {
    int fd;
    ~Fermer() { ::close(fd); }
  } fermer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return refus("n'est pas un fichier"_ansi);
  if ((st.st_mode & 077) != 0 || st.st_uid != ::geteuid())
    return refus("doit appartenir au compte du service et n'être lisible que par lui (0600)"_ansi);
  // The size is checked again while reading: the file may grow meanwhile.
  char tampon[kTailleMaxFichierLogin + 1];
  size_t lu = 0;
  for (ssize_t n; lu < sizeof(tampon) && (n = ::read(fd, tampon + lu, sizeof(tampon) - lu)) > 0;)
    lu += static_cast<size_t>(n);
  if (static_cast<uint64_t>(st.st_size) > kTailleMaxFichierLogin || lu > kTailleMaxFichierLogin)
    return refus("est trop long"_ansi);
  Encode.assign(tampon, lu);
  while (!Encode.empty() && (Encode.back() == ' ' || Encode.back() == '\n' || Encode.back() == '\r')) Encode.pop_back();
  return true;
}

void TApplicationServiceWeb::DefinirIdentiteService() {
  ServiceNT.Nom = NomServiceWeb();
  ServiceNT.NomAffiche = NomAfficheServiceWeb();
  ServiceNT.Description = DescriptionServiceWeb();
  ServiceNT.Parametres = ParametresServiceWeb();
}

std::string TApplicationServiceWeb::NomServiceWeb() const { return Format("SVCWEBTZ%d%dService", {5, 0}); }

std::string TApplicationServiceWeb::NomAfficheServiceWeb() const {
  return Format("Norvane - Service Web TZ%d%d", {5, 0});
}

std::string TApplicationServiceWeb::DescriptionServiceWeb() const {
  return Traduction::Traduire("ApplicationServiceWebServiceDescription");
}

// Without a base the service has no start parameters; with one (once the connection is built) the
// profile's name in double quotes and the encoded login "<length> <code><password>".
std::string TApplicationServiceWeb::ParametresServiceWeb() const { return {}; }

void TApplicationServiceWeb::DefinirIdentiteInstallation(const std::string& NomBase, const std::string& CodeUtilisateur,
                                                         const std::string& MotDePasse) {
  DefinirIdentiteService();
  ServiceNT.NomAffiche = Format("Norvane - Service Web TZ%d%d %s", {5, 0, NomBase});
  std::string encode;
  Registre::CoderValeur(Format("%d %s%s", {CodeUtilisateur.size(), CodeUtilisateur, MotDePasse}), true, encode);
  ServiceNT.Parametres = " \"" + NomBase + "\" " + encode;
}

std::string TApplicationServiceWeb::TexteAttente() const {
  std::string texte = "Service web " + Nom + (ModeService() ? " (service)" : "") +
                      A(" : en attente de la connexion au serveur de données"_ansi);
  if (!fichePrincipale_->NomBase.empty()) texte += " pour la base \"" + fichePrincipale_->NomBase + "\"";
  texte += A(" ; cette connexion n'est pas encore construite, le serveur HTTP ne démarre qu'une fois connecté (port "_ansi) +
           std::to_string(fichePrincipale_->PortIp) + ")";
  return texte;
}

void GarnirFicheGlobales(TFicheGlobales& Fiche) {
  auto* destination = new TVokCanvasDestination(&Fiche);
  destination->SetName("VokCanvasDestination");
  destination->SetAvecZoom(false);
  destination->SetZoom(90);
  for (int i = 0; i < 4; ++i) {
    auto* unzip = new TUnzipFile(&Fiche);
    unzip->Options = +TUnzipFlag::OverWriteFlag | +TUnzipFlag::NoDirectoryNamesFlag | +TUnzipFlag::NoDirectoryItemsFlag;
    unzip->wUnzipSubOptions = +TUnzipSubOption::USO_EXTERNALPROG;
    unzip->IndexofItem = 0;
    if (i == 0) unzip->SetName("Unzip");
  }
}

void TApplicationServiceWeb::CreerFenetres() {
  ficheNetClient_ = std::make_unique<TFicheNetClient>();
  fichePrincipale_ = std::make_unique<TFicheSvcWPrincipal>(Boucle().Context(), ficheNetClient_.get());
  fichePrincipale_->FormCreate();
  auto globales = std::make_unique<TFicheGlobales>();
  GarnirFicheGlobales(*globales);
  ficheGlobales_ = std::move(globales);
  EcrGlobale::FicheGlobales() = ficheGlobales_.get();
}

void TApplicationServiceWeb::LibererFicheGlobales() {
  if (EcrGlobale::FicheGlobales() == ficheGlobales_.get()) EcrGlobale::FicheGlobales() = nullptr;
  ficheGlobales_.reset();
}

TApplicationServiceWeb::~TApplicationServiceWeb() { LibererFicheGlobales(); }

void TApplicationServiceWeb::LireLoginService() {
  const std::string fichier = Noyau::Option("login-file");
  if (fichier.empty()) {
    VclDialogue::Ecrire(A("Aucun fichier d'identification (--login-file=) : le service n'a pas de compte"_ansi));
    return;
  }
  std::string encode, erreur;
  if (!LireFichierLogin(fichier, encode, erreur)) {
    VclDialogue::Ecrire(erreur);
    return;
  }
  DecoderLogin(encode, fichePrincipale_->CodeUtilisateur, fichePrincipale_->MotDePasse);
}

void TApplicationServiceWeb::InstallerFenetres() {
  // Modal forms and nested waits run in the program's loop; the lower layers show their messages
  // through the toolkit's message box.
  Application().DefinirBoucle(&Boucle());
  NetClient::AfficherMessageTemporise() = [](const std::string& Texte, const std::string& Titre, int32_t DelaiMs,
                                             int32_t Genre, int32_t Boutons, bool Afficher) {
    VclDialogue::AfficherMessageTemporise(Texte, Titre, DelaiMs, static_cast<uint8_t>(Genre),
                                          static_cast<uint8_t>(Boutons), Afficher);
  };
  ParametresBase::AfficherMessage() = [](const std::string& Texte) {
    VclDialogue::AfficherMessage(true, Texte, "", VclDialogue::kInformation, VclDialogue::kOk, true);
  };
}

void TApplicationServiceWeb::Initialiser() {
  TApplicationTz::Initialiser();
  if (CompteurInitialisation != 1) return;
  TServiceVerifiablesApplication::Service()->SetActif(false);
  VclDialogue::DefinirNomProgramme("TEMPRAVO");
  InstallerFenetres();
  Registre::InitialiserRegistre(SupVersion::InitialiserVersion);
  Titre = Traduction::Traduire("NomCourtTZServiceWeb");
  if (Titre.empty()) Titre = Nom;
  if (Noyau::DejaLance(Titre)) {
    if (const long pid = Noyau::ProcessusTitulaire(Titre); pid > 0)
      VclDialogue::Ecrire(A("Instance en cours : processus ") + std::to_string(pid));
    throw Exception(A("Application déjà lancée"_ansi));
  }
  Patience::Patienter(Traduction::Traduire("SupFichierChargementEnCours"), [this] { CreerFenetres(); });
  if (ModeService()) LireLoginService();
  Boucle().SetIdleHandler([this] { return TraiterInactivite(); });
}

bool TApplicationServiceWeb::TraiterInactivite() {
  if (!attenteAnnoncee_) {
    attenteAnnoncee_ = true;
    const std::string texte = TexteAttente();
    VclDialogue::Ecrire(texte + (ModeService() ? "" : A(" ; Ctrl-C pour arrêter"_ansi)));
    ServiceNT.SignalerStatut(texte);
  }
  return fichePrincipale_->TraiterMessagesEnAttente();
}

void TApplicationServiceWeb::BoucleMessages() {
  Boucle().StopOnSignals();
  ServiceNT.SignalerPret(A("Démarré"_ansi));
  TApplicationTz::BoucleMessages();
  VclDialogue::Ecrire(A("Arrêt du service web demandé"_ansi));
}

void TApplicationServiceWeb::Finaliser() {
  if (CompteurInitialisation == 1 && fichePrincipale_) {
    fichePrincipale_->FormClose();
    LibererFicheGlobales();
    fichePrincipale_.reset();
    ficheNetClient_.reset();
  }
  if (CompteurInitialisation == 1) {
    NetClient::AfficherMessageTemporise() = nullptr;
    ParametresBase::AfficherMessage() = nullptr;
    if (Application().Boucle() == &Boucle()) Application().DefinirBoucle(nullptr);
  }
  TApplicationTz::Finaliser();
}

namespace ApplicationServiceWeb {
void Initialiser() {
  TInstanceApplicationNorvane::DefinirClasse([]() -> TApplicationNorvane* { return new TApplicationServiceWeb; });
}
}  // namespace ApplicationServiceWeb
