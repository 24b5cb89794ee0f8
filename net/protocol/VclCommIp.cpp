#include "net/protocol/VclCommIp.h"

#include <boost/asio/post.hpp>

#include <cstring>

#include "core/objects/Exceptions.h"
#include "net/protocol/PetitBoutiste.h"
#include "net/protocol/VclProtocole.h"
#include "objectdb/Traduction.h"
#include "platform/ui/VclDialogue.h"

using PetitBoutiste::EcrireCardinal;

using namespace GenresMessages;

namespace {

// A counted string of at most Max characters in Max + 1 bytes.
void EcrireChaineCourte(uint8_t* p, std::string_view Texte, size_t Max) {
  const size_t n = std::min(Texte.size(), Max);
  p[0] = static_cast<uint8_t>(n);
  std::memcpy(p + 1, Texte.data(), n);
}

}  // namespace

TCommunicationIp::TCommunicationIp(MainLoop& Boucle) : boucle_(Boucle) {
  using namespace std::placeholders;
  EnregistrerMessage(CM_DEMANDER_HOST, std::bind(&TCommunicationIp::TraiterDemanderHost, this, _1, _2, _4, _5));
  EnregistrerMessage(CM_ENVOYER_HOST, std::bind(&TCommunicationIp::TraiterEnvoyerHost, this, _1, _2, _4, _5));
  EnregistrerMessage(CM_DECONNEXION, std::bind(&TCommunicationIp::TraiterDeconnexion, this, _1, _2, _4, _5));
  EnregistrerMessage(CM_ENVOYER_MESSAGE, std::bind(&TCommunicationIp::TraiterEnvoyerMessage, this, _1, _2, _4, _5));
}

TCommunicationIp::~TCommunicationIp() = default;

bool TCommunicationIp::EnregistrerMessage(uint32_t Id, std::string_view Nom, uint32_t TailleMin, uint32_t TailleMax,
                                          TTraitementMessage Traitement) {
  if (traitements_.count(Id) != 0) return false;
  traitements_[Id] = {Id, std::string(Nom.substr(0, VclProtocole::kLongueurNom)),
                      std::min(TailleMin, Trame::kTailleMaximale), std::min(TailleMax, Trame::kTailleMaximale),
                      std::move(Traitement)};
  return true;
}

bool TCommunicationIp::EnregistrerMessage(uint32_t Id, TTraitementMessage Traitement) {
  const TypeGenreMessage* genre = Genre(Id);
  if (genre == nullptr || !genre->Recu) throw Exception("Genre de message inconnu : " + std::to_string(Id));
  return EnregistrerMessage(Id, genre->Nom, genre->TailleMin, genre->TailleMax, std::move(Traitement));
}

bool TCommunicationIp::MessageEnregistre(uint32_t Id) const { return traitements_.count(Id) != 0; }

bool TCommunicationIp::EnvoyerMessage(const TypeAdresseMessage& Adresse, uint32_t Id, uint8_t Version) {
  return EnvoyerMessageDonnees(Adresse, Id, nullptr, 0, Version);
}

bool TCommunicationIp::EnvoyerMessageDonnees(const TypeAdresseMessage& Adresse, uint32_t Id, const void* Donnees,
                                             uint32_t Taille, uint8_t Version) {
  std::string trame;
  if (!Trame::Construire(Adresse, Id, Donnees, Taille, Version, trame)) return false;
  EnvoyerOctets(Adresse, trame);
  return true;
}

bool TCommunicationIp::EnvoyerRequete(const TypeAdresseMessage& Adresse, uint32_t Code, uint32_t Valeur,
                                      const void* Donnees, uint32_t Taille) {
  if (Taille > Trame::kTailleMaximale) return false;
  std::string d(19 + size_t(Taille), '\0');
  auto* p = reinterpret_cast<uint8_t*>(d.data());
  EcrireCardinal(p + 2, Code);
  EcrireCardinal(p + 6, Adresse.IdentConnexion);
  p[10] = Adresse.GenreAdresse;
  EcrireCardinal(p + 11, Valeur);
  EcrireCardinal(p + 15, Taille);
  if (Taille > 0) std::memcpy(p + 19, Donnees, Taille);
  return EnvoyerMessageDonnees(Adresse, CM_ENVOYER_REQUETE, d.data(), static_cast<uint32_t>(d.size()));
}

bool TCommunicationIp::EnvoyerOrdreReseau(const TypeAdresseMessage& Adresse, std::string_view NomOrdre,
                                          uint32_t Taille, const void* Donnees) {
  if (Taille > Trame::kTailleMaximale) return false;
  std::string d(52 + size_t(Taille), '\0');
  auto* p = reinterpret_cast<uint8_t*>(d.data());
  EcrireCardinal(p + 2, Adresse.IdentConnexion);
  p[6] = Adresse.GenreAdresse;
  EcrireChaineCourte(p + 7, NomOrdre, 40);
  EcrireCardinal(p + 48, Taille);
  if (Taille > 0) std::memcpy(p + 52, Donnees, Taille);
  return EnvoyerMessageDonnees(Adresse, CM_ENVOYER_OrdreReseau, d.data(), static_cast<uint32_t>(d.size()));
}

bool TCommunicationIp::EnvoyerDeconnexion(const TypeAdresseMessage& Adresse, uint8_t Cause, double Parametre) {
  uint8_t d[16] = {};
  d[0] = Cause;
  std::memcpy(d + 8, &Parametre, 8);
  return EnvoyerMessageDonnees(Adresse, CM_DECONNEXION, d, sizeof d);
}

bool TCommunicationIp::DemanderHost(const TypeAdresseMessage& Adresse) {
  return EnvoyerMessage(Adresse, CM_DEMANDER_HOST);
}

bool TCommunicationIp::EnvoyerHost(const TypeAdresseMessage& Adresse, const TypeEnvoiHostClient& Host) {
  return EnvoyerMessageDonnees(Adresse, CM_ENVOYER_HOST, Host.data(), static_cast<uint32_t>(Host.size()));
}

bool TCommunicationIp::RepondreHost(const TypeAdresseMessage& Adresse) {
  TypeEnvoiHostClient host{};
  if (RemplirHost) RemplirHost(this, Adresse.IdentConnexion, host);
  return EnvoyerHost(Adresse, host);
}

bool TCommunicationIp::Activer() {
  if (actif_) return false;
  if (SurRequeteActivation && !SurRequeteActivation(this)) return false;
  actif_ = Ouvrir();
  if (actif_ && SurActivation) SurActivation(this);
  return actif_;
}

bool TCommunicationIp::Desactiver(uint8_t Cause, bool Force) {
  if (!actif_) return false;
  if (!Force && SurRequeteDesactivation && !SurRequeteDesactivation(this)) return false;
  if (Fermer(Cause)) actif_ = false;
  if (!actif_ && SurDesactivation) SurDesactivation(this);
  return !actif_;
}

bool TCommunicationIp::Fermer(uint8_t Cause) {
  if (Cause != MDA_Aucun) EnvoyerDeconnexion(AdresseParDefaut(), Cause, 0);
  return true;
}

bool TCommunicationIp::ChiffrerTrame(const TypeSecurite& Securite, std::string& Trame) {
  return Trame::Chiffrer(Securite, chiffreurEnvoi_, Trame);
}

bool TCommunicationIp::ReceptionDe(uint32_t, TypeReception&) { return false; }

void TCommunicationIp::TrameCorrompue(uint32_t) { Desactiver(MDA_Aucun, true); }

TCommunicationIp::TypeFinReception TCommunicationIp::TraiterReception(uint32_t Connexion) {
  for (;;) {
    TypeReception reception;
    if (!ReceptionDe(Connexion, reception) || reception.File == nullptr) return TypeFinReception::SansConnexion;
    TypeMessageRecu message;
    switch (Trame::Lire(*reception.File, reception.Securite, chiffreurReception_, message)) {
      case Trame::TypeLecture::Incomplet:
        return TypeFinReception::Attente;
      case Trame::TypeLecture::Corrompu:
        TrameCorrompue(Connexion);
        return TypeFinReception::Fermeture;
      case Trame::TypeLecture::FaitRien:
        continue;
      case Trame::TypeLecture::Fait:
        break;
    }
    if (DistribuerMessage(reception.AdresseSocket, message.Adresse, message.Id,
                          reinterpret_cast<const uint8_t*>(message.Donnees.data()),
                          static_cast<uint32_t>(message.Donnees.size())))
      continue;
    // The handler stopped the pass: what is still buffered is taken up on the next turn.
    std::weak_ptr<int> vie = vie_;
    boost::asio::post(boucle_.Context(), [this, vie, Connexion] {
      if (!vie.expired()) TraiterReception(Connexion);
    });
    return TypeFinReception::Reprise;
  }
}

bool TCommunicationIp::DistribuerMessage(const TypeAdresseSocket& AdresseSocket, const TypeAdresseMessage& Adresse,
                                         uint32_t Id, const uint8_t* Donnees, uint32_t Taille) {
  SurReceptionTrame(Adresse, Id);
  if (Id == 0) return true;
  auto it = traitements_.find(Id);
  if (it == traitements_.end() || Taille < it->second.TailleMin || Taille > it->second.TailleMax) return true;
  VclProtocole::TracerMessage(AdresseSocket, Adresse, Id, it->second.Nom);
  // A copy: the handler may change the table of handlers while it runs.
  const TTraitementMessage traitement = it->second.Traitement;
  try {
    return traitement(AdresseSocket, Adresse, Id, Donnees, Taille);
  } catch (...) {
    return false;
  }
}

bool TCommunicationIp::TraiterEnvoyerMessage(const TypeAdresseSocket&, const TypeAdresseMessage&,
                                             const uint8_t* Donnees, uint32_t Taille) {
  TypeMessageStr message{};
  std::memcpy(message.data(), Donnees, std::min<size_t>(Taille, message.size()));
  if (OnReceptionMessage && OnReceptionMessage(message)) return true;
  VclDialogue::AfficherMessage(true, VclCommIp::TexteMessage(message), Traduction::Traduire("VclCommIpMessageDuServeur"),
                               VclDialogue::kInformation, VclDialogue::kOk, true);
  return true;
}

namespace VclCommIp {

std::string TexteMessage(const TypeMessageStr& Message) {
  return std::string(reinterpret_cast<const char*>(Message.data() + 25), Message[24]);
}

}  // namespace VclCommIp
