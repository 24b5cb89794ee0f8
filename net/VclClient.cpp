#include "net/VclClient.h"

#include <unistd.h>

#include <cstring>

#include "core/objects/Exceptions.h"
#include "net/cipher/CryptageClientServeur.h"
#include "net/protocol/PetitBoutiste.h"
#include "net/utilisateurs/Login.h"

using PetitBoutiste::LireCardinal;
using namespace GenresMessages;

namespace {

// An empty password stands as the no-password sentinel in the identity.
std::string MotDePasseOuSentinelle(std::string_view MotDePasse) {
  return std::string(MotDePasse.empty() ? Login::SansMotDePasse() : MotDePasse);
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// TIeClient

TIeClient::TIeClient(MainLoop& Boucle)
    : TIeClientServeur(Boucle), poigneeDeMain_(Boucle, [this] {
        // The server let the handshake stall: the link goes, so that the owner can start again.
        poigneeDeMain_.Stop();
        if (TcpActif()) Desactiver(MDA_Aucun, kCanalTcp, true);
      }) {
  DefinirCanalUdp(std::make_unique<TCommunicationUdpClient>(Boucle));
  DefinirCanalTcp(std::make_unique<TCommunicationTcpClient>(Boucle));
  Reinitialiser();
}

TIeClient::~TIeClient() { poigneeDeMain_.Stop(); }

std::string TIeClient::GetPortUdpServeur() const { return CanalUdp()->PortDistant; }
void TIeClient::SetPortUdpServeur(const std::string& Valeur) { CanalUdp()->PortDistant = Valeur; }
std::string TIeClient::GetPortTcpServeur() const { return CanalTcp()->PortServeur; }
void TIeClient::SetPortTcpServeur(const std::string& Valeur) { CanalTcp()->PortServeur = Valeur; }
std::string TIeClient::GetAdresseIpServeur() const { return CanalTcp()->AdresseServeur; }
void TIeClient::SetAdresseIpServeur(const std::string& Valeur) { CanalTcp()->AdresseServeur = Valeur; }
uint32_t TIeClient::IdentServeur() const { return CanalTcp()->IdentServeur(); }

void TIeClient::Reinitialiser() {
  TIeClientServeur::Reinitialiser();
  CanalUdp()->PortDistant = VclCommUdp::kPortServeurs;
  CanalTcp()->PortServeur = VclCommTcp::kPortParDefaut;
}

void TIeClient::LierUdp() {
  TIeClientServeur::LierUdp();
  TCommunicationUdpClient& u = *CanalUdp();
  u.SurReceptionHostServeur = [this](TCommunicationUdpClient*, uint32_t Ident, const uint8_t* Donnees,
                                     const TypeAdresseSocket& Expediteur) {
    TypeEnvoiHostServeur host;
    std::memcpy(host.data(), Donnees, host.size());
    return HostServeurRecu(TypeCanal::Udp, Ident, host, Expediteur);
  };
  u.RemplirHost = [this](TCommunicationIp*, uint32_t Ident, TypeEnvoiHostClient& Host) { PreparerHostClient(Ident, Host); };
  u.SurChangementServeurs = [this](TCommunicationUdpClient*) {
    if (SurChangementServeursPresents) SurChangementServeursPresents(this);
  };
}

void TIeClient::LierTcp() {
  TIeClientServeur::LierTcp();
  TCommunicationTcpClient& t = *CanalTcp();
  t.SurReceptionHostServeur = [this](TCommunicationTcpClient*, uint32_t Ident, const uint8_t* Donnees) {
    TypeEnvoiHostServeur host;
    std::memcpy(host.data(), Donnees, host.size());
    return HostServeurRecu(TypeCanal::Tcp, Ident, host, TypeAdresseSocket{});
  };
  t.RemplirHost = [this](TCommunicationIp*, uint32_t Ident, TypeEnvoiHostClient& Host) { PreparerHostClient(Ident, Host); };
  t.SurDebutRequeteServeur = [this](TCommunicationTcpClient*, const TypeAdresseMessage&) { DebutTraitementServeur(); };
  t.SurFinRequeteServeur = [this](TCommunicationTcpClient*, const TypeAdresseMessage&) { FinTraitementServeur(); };
  t.SurTraitementLongModifie = [this](TCommunicationTcpClient*, const TypeEtatTraitementLong& Etat) {
    if (SurModificationTraitementLong) SurModificationTraitementLong(this, Etat);
  };

  auto enregistrer = [&t](uint32_t Id, std::function<void(const TypeAdresseMessage&, const uint8_t*, uint32_t)> f) {
    t.EnregistrerMessage(Id, [f = std::move(f)](const TypeAdresseSocket&, const TypeAdresseMessage& a, uint32_t,
                                                const uint8_t* d, uint32_t n) {
      f(a, d, n);
      return true;
    });
  };
  enregistrer(CM_REPONDRE_IDENTIFICATION,
              [this](const TypeAdresseMessage& a, const uint8_t* d, uint32_t n) { IdentificationRecue(a, d, n); });
  enregistrer(CM_REPONDRE_AUTHENTIFICATION,
              [this](const TypeAdresseMessage& a, const uint8_t* d, uint32_t n) { AuthentificationRecue(a, d, n); });
  enregistrer(CM_REPONDRE_LOGIN, [this](const TypeAdresseMessage& a, const uint8_t* d, uint32_t) { ReponseLoginRecue(a, d); });
  enregistrer(CM_RECONNEXION, [this](const TypeAdresseMessage&, const uint8_t*, uint32_t) { EnvoyerIdentification(0); });
  // The owner hears of every record read, stored or refused by the user base (a refusal is not
  // reported); bytes that hold no whole record are dropped without a word.
  using TypeRecevoir = bool (*)(const void*, int32_t, bool*);
  auto recevoir = [this](TypeRecevoir Recevoir, std::function<void(TIeClient*)> TIeClient::*Evenement) {
    return [this, Recevoir, Evenement](const TypeAdresseMessage&, const uint8_t* d, uint32_t n) {
      bool lu = false;
      (void)Recevoir(d, static_cast<int32_t>(n), &lu);
      if (lu && this->*Evenement) (this->*Evenement)(this);
    };
  };
  enregistrer(CM_ENVOYER_PROFIL_SRV, recevoir(BaseUtilisateurs::RecevoirProfilServeur, &TIeClient::OnChangementUtilisateur));
  enregistrer(CM_FIN_ENVOI_PROFILS_SRV, [this](const TypeAdresseMessage&, const uint8_t*, uint32_t) { FinEnvoiProfilsServeurs(); });
  enregistrer(CM_ENVOYER_UTILISATEUR, recevoir(BaseUtilisateurs::RecevoirUtilisateur, &TIeClient::OnChangementUtilisateur));
  enregistrer(CM_ENVOYER_PROFIL_UTIL,
              recevoir(BaseUtilisateurs::RecevoirGroupeUtilisateurs, &TIeClient::OnChangementGroupeUtilisateurs));
  enregistrer(CM_ENVOYER_AFFECTATION_UTIL,
              recevoir(BaseUtilisateurs::RecevoirAffectation, &TIeClient::OnChangementUtilisateur));
  enregistrer(CM_FIN_ENVOI_INFOS_UTILISATEURS,
              [this](const TypeAdresseMessage&, const uint8_t*, uint32_t) { FinEnvoiInfosUtilisateurs(); });
  LierOrdresEtModeExclusif();
}

bool TIeClient::HostServeurRecu(TypeCanal Canal, uint32_t IdentConnexion, const TypeEnvoiHostServeur& Host,
                                const TypeAdresseSocket& Expediteur) {
  if (Canal == TypeCanal::Udp && ConnexionTcpAutomatique) {
    const uint16_t port = static_cast<uint16_t>(Host[FormatClient::kHostPortTcp] | Host[FormatClient::kHostPortTcp + 1] << 8);
    SetPortTcpServeur(std::to_string(port));
    SetAdresseIpServeur(std::to_string(Expediteur[4]) + "." + std::to_string(Expediteur[5]) + "." +
                        std::to_string(Expediteur[6]) + "." + std::to_string(Expediteur[7]));
    Activer(kCanalTcp);
    Desactiver(MDA_Aucun, kCanalUdp, false);
    return true;
  }
  return SurReceptionHostServeur ? SurReceptionHostServeur(this, IdentConnexion, Host) : true;
}

void TIeClient::PreparerHostClient(uint32_t IdentConnexion, TypeEnvoiHostClient& Host) {
  if (RemplirHost) RemplirHost(this, IdentConnexion, Host);
}

bool TIeClient::VerifierVersionServeur(const TypeVersion& Version) {
  if (OnVerifierVersionServeur) return OnVerifierVersionServeur(Version);
  return Version::SontEgales(VersionProgramme, Version, 3);
}

void TIeClient::MemoriserIdentite(uint32_t Destinataire, std::string_view CodeApplication,
                                  std::string_view MotDePasseApplication, std::string_view Login,
                                  std::string_view MotDePasse) {
  if (Destinataire != 0 && Destinataire != IdentServeur()) return;
  codeApplication_ = std::string(CodeApplication.substr(0, 3));
  motDePasseApplication_ = MotDePasseOuSentinelle(MotDePasseApplication);
  login_ = std::string(Login.substr(0, 30));
  motDePasse_ = MotDePasseOuSentinelle(MotDePasse);
}

void TIeClient::Identifier(uint32_t Destinataire, std::string_view CodeApplication,
                           std::string_view MotDePasseApplication, std::string_view Login,
                           std::string_view MotDePasse) {
  MemoriserIdentite(Destinataire, CodeApplication, MotDePasseApplication, Login, MotDePasse);
  EnvoyerIdentification(Destinataire);
}

void TIeClient::EnvoyerIdentification(uint32_t Destinataire) {
  poigneeDeMain_.Start(DelaiPoigneeDeMain);
  CanalTcp()->DemanderIdentification(Destinataire, codeApplication_, login_);
}

void TIeClient::FinPoigneeDeMain() { poigneeDeMain_.Stop(); }

// Step 2: the server's 16 bytes come back scattered by the position table, with a nonce of ours.
void TIeClient::IdentificationRecue(const TypeAdresseMessage& Adresse, const uint8_t* Donnees, uint32_t Taille) {
  using namespace FormatClient;
  if (Taille < kIdentificationMinimum) return;
  const uint8_t statut = Donnees[kIdentificationStatut];
  if (statut == 4) {
    ReponseLogin(Adresse.IdentConnexion, 0, NonAutorise, LoginInconnu);
    return;
  }
  if (statut != 0) return;
  identEtendu_ = LireCardinal(Donnees + kIdentificationEtendu);
  TClassCryptageClientServeur chiffreur;
  chiffreur.PhraseSecrete =
      CryptageClientServeur::PhraseAuthentification(codeApplication_, motDePasseApplication_, login_, motDePasse_);
  std::string secret;
  const std::string_view bloc(reinterpret_cast<const char*>(Donnees) + kIdentificationBloc, Taille - kIdentificationBloc - 2);
  if (!chiffreur.Dechiffrer(bloc, secret) || secret.size() != 16) return;
  uint8_t source[16], disperse[32];
  std::memcpy(source, secret.data(), 16);
  VclCommTcp::DisperserOctets(source, CanalTcp()->TablePositions(), disperse);
  CanalTcp()->DemanderAuthentification(0, disperse, codeApplication_, motDePasseApplication_, login_, motDePasse_);
}

// Step 4: the session key, under which both directions go from now on; then the login.
void TIeClient::AuthentificationRecue(const TypeAdresseMessage& Adresse, const uint8_t* Donnees, uint32_t Taille) {
  using namespace FormatClient;
  const uint8_t statut = Donnees[0];
  if (statut == 3) {
    ReponseLogin(Adresse.IdentConnexion, 0, NonAutorise, MotDePasseIncorrect);
    return;
  }
  if (statut != 0) return;
  const uint32_t taille = LireCardinal(Donnees + kAuthentificationTaille);
  if (taille > Taille - kAuthentificationBloc) return;
  TClassCryptageClientServeur chiffreur;
  chiffreur.PhraseSecrete =
      CryptageClientServeur::PhraseAuthentification(codeApplication_, motDePasseApplication_, login_, motDePasse_);
  std::string cle;
  if (!chiffreur.Dechiffrer(std::string_view(reinterpret_cast<const char*>(Donnees) + kAuthentificationBloc, taille),
                            cle) ||
      cle.size() != 16)
    return;
  const TypeSecurite session{Trame::kModeChiffre, cle};
  CanalTcp()->DefinirSecurites({session, session});
  EnvoyerLogin(0);
}

// Step 6: an accepted login first fetches the user base; the owner hears of it once the base is
// there. A fetch that fails (the link lost meanwhile) is told too, as a refused connection: without
// its user base the session cannot work.
void TIeClient::ReponseLoginRecue(const TypeAdresseMessage& Adresse, const uint8_t* Donnees) {
  auto statut = static_cast<TypeStatutConnection>(Donnees[0]);
  auto resultat = static_cast<TypeResultatReponseLogin>(Donnees[1]);
  FinPoigneeDeMain();
  if (resultat == LoginOk && !DemanderInfosUtilisateurs()) {
    statut = NonAutorise;
    resultat = ConnexionRefusee;
  }
  ReponseLogin(Adresse.IdentConnexion, identEtendu_, statut, resultat);
}

void TIeClient::ReponseLogin(uint32_t IdentConnexion, uint32_t IdentEtendu, TypeStatutConnection Statut,
                             TypeResultatReponseLogin Resultat) {
  FinPoigneeDeMain();
  if (SurReponseLogin) SurReponseLogin(IdentConnexion, IdentEtendu, Statut, Resultat);
}

void TIeClient::DeconnexionServeur(uint32_t IdentConnexion, uint32_t IdentConnexionServeur) {
  FinPoigneeDeMain();
  TIeClientServeur::DeconnexionServeur(IdentConnexion, IdentConnexionServeur);
}

bool TIeClient::DemanderProfilsServeurs() {
  BaseUtilisateurs::SupprimerTousProfilsServeurs();
  return CanalTcp()->DemanderProfilsServeurs();
}

bool TIeClient::DemanderInfosUtilisateurs() {
  BaseUtilisateurs::EffacerMarquesReception();
  if (!CanalTcp()->DemanderInfosUtilisateurs()) return false;
  BaseUtilisateurs::SupprimerNonRecus();
  return true;
}

void TIeClient::EnvoyerLogin(uint32_t Destinataire) {
  CanalTcp()->EnvoyerLogin(IdentProfilServeur, Destinataire, StatutDemande);
}

bool TIeClient::EnvoyerEtatBase(uint8_t Etat) { return CanalTcp()->EnvoyerEtatBase({IdentServeur(), 2}, Etat); }

void TIeClient::Deconnecter(uint32_t Destinataire) { CanalTcp()->FinLogin(Destinataire); }

void TIeClient::DebutTraitementServeur() {
  if (TraiterDebutRequete) TraiterDebutRequete(this);
}

void TIeClient::FinTraitementServeur() {
  if (TraiterFinRequete) TraiterFinRequete(this);
}

// ---------------------------------------------------------------------------------------------------
// TIeClientDonnees

TIeClientDonnees::TIeClientDonnees(MainLoop& Boucle) : TIeClient(Boucle) {}

TIeClientDonnees::~TIeClientDonnees() {
  if (NetClient::ClientDonnees() == this) NetClient::ClientDonnees() = nullptr;
}

void VclClient::DefinirClientDonnees(TIeClientDonnees* Client) { NetClient::ClientDonnees() = Client; }

bool TIeClientDonnees::FinEnvoiProfilsServeurs() {
  MarquerReponse(true);
  return true;
}

bool TIeClientDonnees::FinEnvoiInfosUtilisateurs() {
  MarquerReponse(true);
  return true;
}

void TIeClientDonnees::Deconnecter(uint32_t Destinataire) {
  TIeClient::Deconnecter(Destinataire);
  CanalTcp()->DefinirSecurites(TypeSecurites{});
}

void TIeClientDonnees::DeconnexionApplicatifRecue(uint32_t IdentConnexion, uint8_t Cause, double Parametre) {
  Desactiver(MDA_Aucun, kCanalTcp, true);
  TIeClient::DeconnexionApplicatifRecue(IdentConnexion, Cause, Parametre);
}

// A host record on the TCP link must carry a version that agrees with the program's.
bool TIeClientDonnees::HostServeurRecu(TypeCanal Canal, uint32_t IdentConnexion, const TypeEnvoiHostServeur& Host,
                                       const TypeAdresseSocket& Expediteur) {
  if (Canal == TypeCanal::Tcp) {
    std::array<uint8_t, TypeVersion::kTaille> octets;
    std::memcpy(octets.data(), Host.data() + FormatClient::kHostVersion, octets.size());
    if (!VerifierVersionServeur(TypeVersion::DepuisOctets(octets))) {
      Desactiver(MDA_VersionsIncompatibles, kCanalUdp | kCanalTcp, true);
      return false;
    }
  }
  IdentProfilServeur = LireCardinal(Host.data() + FormatClient::kHostProfilServeur);
  return TIeClient::HostServeurRecu(Canal, IdentConnexion, Host, Expediteur);
}

void TIeClientDonnees::PreparerHostClient(uint32_t IdentConnexion, TypeEnvoiHostClient& Host) {
  TIeClient::PreparerHostClient(IdentConnexion, Host);
  Host[0] = GenreApplication();
  char nom[256] = {};
  if (gethostname(nom, sizeof nom - 1) != 0) nom[0] = 0;
  const size_t n = std::min<size_t>(std::strlen(nom), FormatClient::kNomMachineMax);
  Host[FormatClient::kHostClientNomMachine] = static_cast<uint8_t>(n);
  std::memcpy(Host.data() + FormatClient::kHostClientNomMachine + 1, nom, n);
}

void TIeClientDonnees::MemoriserIdentite(uint32_t, std::string_view CodeApplication,
                                         std::string_view MotDePasseApplication, std::string_view Login,
                                         std::string_view MotDePasse) {
  TIeClient::MemoriserIdentite(0, CodeApplication, MotDePasseApplication, Login, MotDePasse);
}
