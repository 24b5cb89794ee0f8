// The data client's share of the link after the login: the streams (received and served), the
// modification requests and their answers, the modification orders (held during a base transfer),
// the user-base orders and the exclusive-mode messages. The members of TIeClientServeur and
// TIeClient defined here are declared with their classes.
#include <string>

#include "core/diagnostics/Trace.h"
#include "net/VclClient.h"
#include "net/transport/MessagesModeExclusif.h"
#include "net/utilisateurs/OrdreUtilisateur.h"

using namespace GenresMessages;

// ---------------------------------------------------------------------------------------------------
// TIeClientServeur: streams and request answers

void TIeClientServeur::LierStreamsEtRequetes() {
  TCommunicationTcpClient& t = *CanalTcp();
  transfert_.Enregistrer(t, [this] { return TypeAdresseMessage{CanalTcp()->IdentServeur(), 2}; });
  transfert_.SurProgression = [this](uint8_t g, uint32_t p, uint32_t n) {
    if (SurProgressionStream) SurProgressionStream(this, static_cast<TypeGenreStream>(g), p, n);
  };
  transfert_.SurLire = [this](TStream& f, uint8_t g) { (void)LireStream(f, static_cast<TypeGenreStream>(g)); };
  transfert_.SurLu = [this](uint8_t g) { StreamBienRecu(static_cast<TypeGenreStream>(g)); };
  transfert_.SurRefus = [this](uint8_t g) { StreamRefuse(static_cast<TypeGenreStream>(g)); };
  // A stream that cannot be read leaves the client without a sound base: the link goes, and the
  // owner connects again and gets the base afresh.
  transfert_.SurCorrompu = [this](uint8_t g, const std::string& Raison) {
    std::string ligne;
    Trace::TraceurParDefaut()->Tracer("Stream " + std::to_string(g) + " corrupt (" + Raison + "): link closed", ligne);
    Desactiver(MDA_Aucun, kCanalTcp, true);
  };
  transfert_.PeutEnvoyer = [this](uint8_t g) { return PeutEnvoyerStream(static_cast<TypeGenreStream>(g)); };
  transfert_.SurPreparer = [this](TStream& f, uint8_t g) {
    return SurPreparerStream && SurPreparerStream(this, &f, static_cast<TypeGenreStream>(g), TypeCodeUtilisateur{});
  };
  t.OnReceptionReponseRequete = [this](uint32_t, const uint8_t* d, uint32_t n) { ReponseRequeteRecue(d, n); };
}

bool TIeClientServeur::LireStream(TStream& Flux, TypeGenreStream Genre) {
  return !SurLireStream || SurLireStream(this, &Flux, Genre, TypeCodeUtilisateur{});
}

void TIeClientServeur::StreamBienRecu(TypeGenreStream Genre) {
  if (Genre == StreamInfosUtilisateur && tcp_) tcp_->FinTransfert();
}

void TIeClientServeur::StreamRefuse(TypeGenreStream Genre) {
  if (SurStreamRefuse) (void)SurStreamRefuse(this, nullptr, Genre, TypeCodeUtilisateur{});
}

void TIeClientServeur::ReponseRequeteRecue(const uint8_t* Donnees, uint32_t Taille) {
  echangeRequete_.RecevoirReponse(Donnees, Taille);
}

// ---------------------------------------------------------------------------------------------------
// TIeClient: requests, streams, orders, exclusive mode

bool TIeClient::DemanderStream(TypeGenreStream Genre) {
  if (Genre == StreamBase) DebutRetenueOrdres();
  return CanalTcp()->DemanderStream({IdentServeur(), 2}, Genre);
}

bool TIeClient::PeutEnvoyerStream(TypeGenreStream Genre) {
  return Genre == StreamInfosUtilisateur || (Genre == StreamBase && CanalTcp()->ModeExclusifServeur());
}

void TIeClient::StreamBienRecu(TypeGenreStream Genre) {
  // Orders held since the base was asked for apply to the base now read.
  if (Genre == StreamInfosUtilisateur) FinRetenueOrdres();
  TIeClientServeur::StreamBienRecu(Genre);
}

void TIeClient::StreamRefuse(TypeGenreStream Genre) {
  TIeClientServeur::StreamRefuse(Genre);
  // Nothing more comes for this transfer: the orders held apply to the base kept, and would never
  // be applied otherwise.
  FinRetenueOrdres();
  if (CanalTcp()->TransfertEnCours()) CanalTcp()->FinTransfert();
}

bool TIeClient::EnvoyerRequeteSynchrone(uint32_t Code, int32_t Parametre, int32_t Taille, const void* Donnees,
                                        bool AfficherAttente, void* Reponse, int32_t TailleReponse) {
  // Requests and network orders share one exchange at a time.
  if (Occupe()) return false;
  TypeLienRequetes lien;
  lien.Boucle = &Boucle();
  lien.Envoyer = [this](uint32_t C, uint32_t V, const void* D, uint32_t T) {
    return TcpActif() && CanalTcp()->EnvoyerRequete({IdentServeur(), 2}, C, V, D, T);
  };
  lien.Fermer = [this] { Desactiver(MDA_Aucun, kCanalTcp, true); };
  RequeteServeur::TypeRequete requete{Code, Parametre, Taille, Donnees, AfficherAttente, Reponse, TailleReponse};
  SetOccupe(true);
  struct Fin {
    TIeClient& c;
    ~Fin() { c.SetOccupe(false); }
  } fin{*this};
  return RequeteServeur::EnvoyerSynchrone(
      EchangeRequete(), lien, requete, DelaiRequete,
      [this](bool a) {
        if (OnPreRequeteAuServeur) OnPreRequeteAuServeur(this, a);
      },
      [this](bool a) {
        if (OnPostRequeteAuServeur) OnPostRequeteAuServeur(this, a);
      });
}

void TIeClient::LierOrdresEtModeExclusif() {
  TCommunicationTcpClient& t = *CanalTcp();
  auto enregistrer = [&t](uint32_t Id, std::function<void(uint32_t Ident, const uint8_t*, uint32_t)> f) {
    t.EnregistrerMessage(Id, [f = std::move(f)](const TypeAdresseSocket&, const TypeAdresseMessage& a, uint32_t,
                                                const uint8_t* d, uint32_t n) {
      f(a.IdentConnexion, d, n);
      return true;
    });
  };
  enregistrer(CM_ENVOYER_ORDRE_MODIF, [this](uint32_t, const uint8_t* d, uint32_t n) { OrdreModifRecu(d, n); });
  enregistrer(CM_ENVOYER_ORDRES_MODIFS, [this](uint32_t, const uint8_t* d, uint32_t n) {
    (void)OrdresRecus::Decouper(d, n, [this](const uint8_t* o, uint32_t t) { OrdreModifRecu(o, t); });
  });
  enregistrer(CM_ENVOYER_ORDRE_MODIF_UTIL, [this](uint32_t, const uint8_t* d, uint32_t n) {
    (void)OrdreUtilisateur::Appliquer(d, static_cast<int32_t>(n));
    if (TraiterOrdreModifUtilisateur) TraiterOrdreModifUtilisateur(this, d, n);
  });
  enregistrer(CM_REPONDRE_DEM_MODE_EXCLUSIF,
              [this](uint32_t, const uint8_t* d, uint32_t) { DemandeModeExclusifRepondue(d[0] != 0); });
  enregistrer(CM_REPONDRE_LIB_MODE_EXCLUSIF,
              [this](uint32_t, const uint8_t* d, uint32_t) { LiberationModeExclusifRepondue(d[0] != 0); });
  enregistrer(CM_MODE_EXCLUSIF_MODIFIE,
              [this](uint32_t i, const uint8_t* d, uint32_t n) { ModeExclusifModifie(i, d, n); });
  enregistrer(CM_VERROU_MODE_EXCLUSIF_MODIFIE,
              [this](uint32_t i, const uint8_t* d, uint32_t n) { VerrouModeExclusifModifie(i, d, n); });
}

void TIeClient::OrdreModifRecu(const uint8_t* Ordre, uint32_t Taille) {
  if (TraiterOrdreModif) TraiterOrdreModif(this, Ordre, Taille);
}

void TIeClient::DemandeModeExclusifRepondue(bool Retour) {
  if (SurReponseDemandeModeExclusif) SurReponseDemandeModeExclusif(this, Retour);
}

void TIeClient::LiberationModeExclusifRepondue(bool Retour) {
  if (SurReponseLiberationModeExclusif) SurReponseLiberationModeExclusif(this, Retour);
  MarquerReponse(Retour);
}

void TIeClient::ModeExclusifModifie(uint32_t IdentConnexion, const uint8_t* Donnees, uint32_t Taille) {
  MessagesModeExclusif::TypeModeModifie m;
  if (!MessagesModeExclusif::LireModeModifie(Donnees, Taille, m)) return;
  TCommunicationTcpClient& t = *CanalTcp();
  t.DetailsExclusif.Valider = m.Valider;
  t.DetailsExclusif.Action = static_cast<TypeActionExclusive>(m.Action);
  t.DetailsExclusif.IdentDemandeur = m.IdentDemandeur;
  t.DetailsExclusif.InfosDemandeur = m.InfosDemandeur;
  (void)t.ChangerModeExclusif(m.ModeExclusif, static_cast<TypeGenreProcess>(m.GenreProc), IdentConnexion);
}

void TIeClient::VerrouModeExclusifModifie(uint32_t IdentConnexion, const uint8_t* Donnees, uint32_t Taille) {
  MessagesModeExclusif::TypeVerrouModifie m;
  if (!MessagesModeExclusif::LireVerrouModifie(Donnees, Taille, m)) return;
  (void)CanalTcp()->ChangerVerrouModeExclusif(m.Verrou, static_cast<TypeGenreProcess>(m.GenreProc), IdentConnexion);
}

// ---------------------------------------------------------------------------------------------------
// TIeClientDonnees: orders held during the base transfer

void TIeClientDonnees::OrdreModifRecu(const uint8_t* Ordre, uint32_t Taille) {
  if (retenus_.Actif()) {
    retenus_.Retenir(Ordre, Taille);
    return;
  }
  TIeClient::OrdreModifRecu(Ordre, Taille);
}

void TIeClientDonnees::DebutRetenueOrdres() { retenus_.Commencer(); }

void TIeClientDonnees::FinRetenueOrdres() {
  retenus_.Rejouer([this](const uint8_t* o, uint32_t t) { TIeClient::OrdreModifRecu(o, t); });
}

void TIeClientDonnees::TcpDesactive() {
  // The base being transferred is dropped with the link; the next connection gets it afresh.
  retenus_.Abandonner();
  TIeClient::TcpDesactive();
}
