#include "net/VclClientServeur.h"

#include "core/objects/GestionnaireNomsDeClasse.h"
#include "core/serial/Serialisation.h"
#include "core/serial/Streams.h"
#include "net/protocol/VclProtocole.h"

using namespace GenresMessages;

namespace {

// A formatter over a copy of received bytes.
struct LecteurOctets {
  LecteurOctets(const void* Donnees, uint32_t Taille) {
    flux.Write(Donnees, Taille);
    flux.Seek(0, TSeekOrigin::soBeginning);
    formateur.ModeStrict = true;
  }
  TMemoryStream flux;
  TBinaryFormatter formateur{&flux};
};

}  // namespace

// Gives the subscriber functions access to the protected virtual operations.
struct AccesClientServeur {
  static void Utilisateurs(TIeClientServeur* c, TypeGenreModif g, uint32_t i) { c->UtilisateursModifies(g, i); }
  static void Groupes(TIeClientServeur* c, TypeGenreModif g, uint32_t i) { c->GroupesModifies(g, i); }
  static void Profils(TIeClientServeur* c, TypeGenreModif g, uint32_t i) { c->ProfilsServeursModifies(g, i); }
  static void Affectations(TIeClientServeur* c, TypeGenreModif g, uint32_t i) { c->AffectationsModifiees(g, i); }
};

namespace {
// The user base's change lists reach the component that subscribed.
void NotifierUtilisateurs(TypeGenreModif G, uint32_t Ident, const TypeUtilisateur*, void* D) {
  AccesClientServeur::Utilisateurs(static_cast<TIeClientServeur*>(D), G, Ident);
}
void NotifierGroupes(TypeGenreModif G, uint32_t Ident, const TypeGroupeUtilisateurs*, void* D) {
  AccesClientServeur::Groupes(static_cast<TIeClientServeur*>(D), G, Ident);
}
void NotifierProfils(TypeGenreModif G, uint32_t Ident, const TypeProfilServeur*, void* D) {
  AccesClientServeur::Profils(static_cast<TIeClientServeur*>(D), G, Ident);
}
void NotifierAffectations(TypeGenreModif G, uint32_t Ident, const TypeAffectation*, void* D) {
  AccesClientServeur::Affectations(static_cast<TIeClientServeur*>(D), G, Ident);
}
}  // namespace

TIeClientServeur::TIeClientServeur(MainLoop& Boucle) : boucle_(Boucle) {
  BaseUtilisateurs::AbonnerUtilisateurs(NotifierUtilisateurs, this);
  BaseUtilisateurs::AbonnerGroupesUtilisateurs(NotifierGroupes, this);
  BaseUtilisateurs::AbonnerProfilsServeurs(NotifierProfils, this);
  BaseUtilisateurs::AbonnerAffectations(NotifierAffectations, this);
}

TIeClientServeur::~TIeClientServeur() {
  // Nothing of the owner is called any more: it may be going too.
  SurDesactivationUdp = SurDesactivationTcp = nullptr;
  SurDeconnexionServeur = nullptr;
  SurRequeteDesactivationUdp = SurRequeteDesactivationTcp = nullptr;
  if (udp_) udp_->Desactiver(MDA_Aucun, false);
  if (tcp_) tcp_->Desactiver(MDA_Aucun, false);
  tcp_.reset();
  udp_.reset();
  BaseUtilisateurs::DesabonnerUtilisateurs(NotifierUtilisateurs, this);
  BaseUtilisateurs::DesabonnerGroupesUtilisateurs(NotifierGroupes, this);
  BaseUtilisateurs::DesabonnerProfilsServeurs(NotifierProfils, this);
  BaseUtilisateurs::DesabonnerAffectations(NotifierAffectations, this);
}

void TIeClientServeur::DefinirCanalUdp(std::unique_ptr<TCommunicationUdpClient> Canal) {
  udp_ = std::move(Canal);
  LierUdp();
}

void TIeClientServeur::DefinirCanalTcp(std::unique_ptr<TCommunicationTcpClient> Canal) {
  tcp_ = std::move(Canal);
  LierTcp();
}

void TIeClientServeur::SetGenreApplication(TypeGenreProcess Genre) {
  genreApplication_ = Genre;
  if (udp_) udp_->GenreApplication = Genre;
}

void TIeClientServeur::SetNomApplication(std::string_view Nom) {
  nomApplication_ = std::string(Nom.substr(0, 10));
  if (udp_) udp_->NomApplication = nomApplication_;
}

void TIeClientServeur::SetKeepSocketTcpAlive(bool Valeur) {
  if (tcp_) tcp_->KeepSocketTcpAlive = Valeur;
}

bool TIeClientServeur::Activer(uint8_t Canaux) {
  if ((Canaux & kCanalUdp) != 0 && (!udp_ || !udp_->Activer())) return false;
  if ((Canaux & kCanalTcp) != 0 && (!tcp_ || !tcp_->Activer())) {
    if (udp_) udp_->Desactiver(MDA_Aucun, false);
    return false;
  }
  return true;
}

void TIeClientServeur::Desactiver(TypeModeDeconnexionApplicatif Raison, uint8_t Canaux, bool Forcer) {
  if (Canaux == 0) Canaux = kCanalUdp | kCanalTcp;
  if ((Canaux & kCanalUdp) != 0 && udp_) udp_->Desactiver(Raison, Forcer);
  if ((Canaux & kCanalTcp) != 0 && tcp_ && ((Canaux & kCanalUdp) == 0 || !udp_ || !udp_->Actif()))
    tcp_->Desactiver(Raison, Forcer);
}

bool TIeClientServeur::TcpActif() const { return tcp_ && tcp_->Actif(); }
bool TIeClientServeur::EstActif() const { return TcpActif() || (udp_ && udp_->Actif()); }
bool TIeClientServeur::EstEnModeExclusif() const { return tcp_ && tcp_->ModeExclusif(); }

void TIeClientServeur::LierUdp() {
  if (!udp_) return;
  udp_->GenreApplication = genreApplication_;
  udp_->NomApplication = nomApplication_;
  udp_->SurRequeteActivation = [this](TCommunicationIp*) { return !SurRequeteActivationUdp || SurRequeteActivationUdp(this); };
  udp_->SurRequeteDesactivation = [this](TCommunicationIp*) {
    return !SurRequeteDesactivationUdp || SurRequeteDesactivationUdp(this);
  };
  udp_->SurActivation = [this](TCommunicationIp*) {
    if (SurActivationUdp) SurActivationUdp(this);
  };
  udp_->SurDesactivation = [this](TCommunicationIp*) {
    if (SurDesactivationUdp) SurDesactivationUdp(this);
  };
}

void TIeClientServeur::LierTcp() {
  TCommunicationTcpClient& t = *tcp_;
  t.SurRequeteActivation = [this](TCommunicationIp*) { return !SurRequeteActivationTcp || SurRequeteActivationTcp(this); };
  t.SurRequeteDesactivation = [this](TCommunicationIp*) {
    return !SurRequeteDesactivationTcp || SurRequeteDesactivationTcp(this);
  };
  t.SurActivation = [this](TCommunicationIp*) {
    if (SurActivationTcp) SurActivationTcp(this);
  };
  t.SurDesactivation = [this](TCommunicationIp*) { TcpDesactive(); };
  t.SurConnexion = [this](TCommunicationTcpClient*, uint32_t i, uint32_t s) { ConnexionServeur(i, s); };
  t.SurDeconnexion = [this](TCommunicationTcpClient*, uint32_t i, uint32_t s) { DeconnexionServeur(i, s); };
  t.SurCommunicationPrete = [this](TCommunicationTcpClient*, uint32_t i) { CommunicationPrete(i); };
  t.OnDeconnexionApplicatif = [this](TCommunicationTcp*, uint32_t i, uint8_t c, double p) {
    DeconnexionApplicatifRecue(i, c, p);
  };
  t.ExecuterRequete = [this](TCommunicationTcp*, uint32_t i, uint32_t r, uint32_t v, const uint8_t* p, uint32_t n) {
    RequeteRecue(i, r, v, p, n);
  };
  t.ExecuterOrdreReseau = [this](TCommunicationTcp*, uint32_t i, const std::string& nom, const uint8_t* p, uint32_t n) {
    OrdreReseauRecu(i, nom, p, n);
  };
  t.OnReceptionReponseOrdre = [this](uint32_t i, const std::string& nom, const uint8_t* p, uint32_t n) {
    ReponseOrdreReseauRecue(i, nom, p, n);
  };
  t.SurChangementModeExclusif = [this](TCommunicationTcp*, bool m, TypeGenreProcess g, uint32_t i,
                                       const TCommunicationTcp::TypeDetailsExclusif& d) {
    if (SurChangementModeExclusif) SurChangementModeExclusif(this, m, g, i, d);
  };
  t.SurChangementVerrouModeExclusif = [this](TCommunicationTcp*, bool v, TypeGenreProcess g, uint32_t i) {
    if (SurChangementVerrouModeExclusif) SurChangementVerrouModeExclusif(this, v, g, i);
  };
  LierStreamsEtRequetes();
}

void TIeClientServeur::TcpDesactive() {
  MarquerReponse(false);
  echangeRequete_.Abandonner();
  transfert_.Abandonner();
  if (SurDesactivationTcp) SurDesactivationTcp(this);
}

void TIeClientServeur::MarquerReponse(bool Resultat) {
  if (!tcp_) return;
  if (Resultat) {
    tcp_->ReponseOk();
  } else {
    tcp_->ReponseEchec();
  }
}

void TIeClientServeur::ProfilsServeursModifies(TypeGenreModif Genre, uint32_t Ident) {
  if (SurChangementProfilsServeurs) SurChangementProfilsServeurs(Genre, Ident);
}
void TIeClientServeur::UtilisateursModifies(TypeGenreModif Genre, uint32_t Ident) {
  if (SurChangementUtilisateurs) SurChangementUtilisateurs(Genre, Ident);
}
void TIeClientServeur::GroupesModifies(TypeGenreModif Genre, uint32_t Ident) {
  if (SurChangementGroupesUtilisateurs) SurChangementGroupesUtilisateurs(Genre, Ident);
}
void TIeClientServeur::AffectationsModifiees(TypeGenreModif Genre, uint32_t Ident) {
  if (SurChangementAffectationsUtilisateurs) SurChangementAffectationsUtilisateurs(Genre, Ident);
}

void TIeClientServeur::ConnexionServeur(uint32_t IdentConnexion, uint32_t IdentConnexionServeur) {
  if (SurConnexionServeur) SurConnexionServeur(this, IdentConnexion, IdentConnexionServeur);
}
void TIeClientServeur::DeconnexionServeur(uint32_t IdentConnexion, uint32_t IdentConnexionServeur) {
  if (SurDeconnexionServeur) SurDeconnexionServeur(this, IdentConnexion, IdentConnexionServeur);
}
void TIeClientServeur::DeconnexionApplicatifRecue(uint32_t IdentConnexion, uint8_t Cause, double Parametre) {
  if (DeconnexionApplicatif) DeconnexionApplicatif(this, IdentConnexion, Cause, Parametre);
}
void TIeClientServeur::CommunicationPrete(uint32_t Ident) {
  if (SurCommunicationPrete) SurCommunicationPrete(this, Ident);
}
void TIeClientServeur::RequeteRecue(uint32_t IdentConnexion, uint32_t Requete, uint32_t Valeur,
                                    const uint8_t* Parametre, uint32_t Taille) {
  if (ExecuterRequete) ExecuterRequete(this, IdentConnexion, Requete, Valeur, Parametre, Taille);
}

void TIeClientServeur::Reinitialiser() {
  if (udp_) udp_->PortLocal = udp_->PortDistant = "0";
  if (tcp_) tcp_->PortServeur = "0";
}

void TIeClientServeur::AfficherTraceProtocole() { VclProtocole::AfficherTraceProtocole(); }

// --- Network orders

TErreur* TIeClientServeur::EnvoyerOrdreReseauSynchrone(TOrdreReseau* Ordre) {
  if (occupe_ || !tcp_) return nullptr;
  struct Occupation {
    TIeClientServeur& c;
    ~Occupation() {
      c.occupe_ = false;
      c.reponseOrdre_.clear();
      c.reponseOrdreRecue_ = false;
    }
  } occupation{*this};
  occupe_ = true;
  reponseOrdre_.clear();
  reponseOrdreRecue_ = false;
  TBinaryFormatter requete(nullptr);
  requete.EcrireObjet(Ordre, TFSModeRequete::StaticClass());
  const std::string nom = Ordre->ClassType()->ClassName().substr(0, 40);
  (void)tcp_->Echanger(
      [&] {
        return tcp_->EnvoyerOrdreReseau({tcp_->IdentServeur(), 2}, nom, static_cast<uint32_t>(requete.GetTaille()),
                                        requete.GetTampon());
      },
      0);
  if (!reponseOrdreRecue_ || reponseOrdre_.empty())
    return new TErreur("TIeClientServeur.EnvoyerOrdreReseauSynchrone : BufferReponse = NIL");
  LecteurOctets reponse(reponseOrdre_.data(), static_cast<uint32_t>(reponseOrdre_.size()));
  OrdreReseau::RecevoirReponse(Ordre, &reponse.formateur);
  return Ordre->Erreur();
}

void TIeClientServeur::EnvoyerOrdreReseau(TOrdreReseau* Ordre) {
  if (!tcp_) return;
  TBinaryFormatter requete(nullptr);
  requete.EcrireObjet(Ordre, TFSModeRequete::StaticClass());
  tcp_->EnvoyerOrdreReseau({tcp_->IdentServeur(), 2}, Ordre->ClassType()->ClassName().substr(0, 40),
                           static_cast<uint32_t>(requete.GetTaille()), requete.GetTampon());
}

void TIeClientServeur::ReponseOrdreReseauRecue(uint32_t, const std::string&, const uint8_t* Parametre,
                                               uint32_t Taille) {
  if (!occupe_) return;
  reponseOrdre_.assign(reinterpret_cast<const char*>(Parametre), Taille);
  reponseOrdreRecue_ = true;
  MarquerReponse(true);
}

void TIeClientServeur::OrdreReseauRecu(uint32_t IdentConnexion, const std::string& NomOrdre, const uint8_t* Parametre,
                                       uint32_t Taille) {
  if (TGestionnaireNomsDeClasse::ChercherClasse(NomOrdre.substr(0, 40)) == nullptr) return;
  std::unique_ptr<TOrdreReseau> ordre;
  try {
    LecteurOctets requete(Parametre, Taille);
    ordre.reset(OrdreReseau::LireOrdre(&requete.formateur));
  } catch (const Exception&) {
    return;  // not an order: ignored like an unknown class
  }
  (void)ordre->Traiter(TComportementLocal::StaticClass());
  TBinaryFormatter reponse(nullptr);
  reponse.EcrireObjet(ordre.get(), TFSModeReponse::StaticClass());
  tcp_->EnvoyerReponseOrdreReseau({IdentConnexion, 2}, NomOrdre, static_cast<uint32_t>(reponse.GetTaille()),
                                  reponse.GetTampon());
}
