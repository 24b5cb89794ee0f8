#include "net/ip/IEIPEndPoint.h"

#include <cstring>

#include "core/objects/ClasseFinalisable.h"
#include "core/objects/Exceptions.h"
#include "core/objects/GestionnaireNomsDeClasse.h"

NV_DEFINE_CLASS(TIPEndPoint, TCustomSerializable)

TIPEndPoint::TIPEndPoint(const TIPAddress& Adresse, uint16_t Port)
    : Port(Port), adresse_(std::make_unique<TIPAddress>(Adresse)) {}

TypeAdresseSocket TIPEndPoint::EnSockAddr() const {
  TypeAdresseSocket s{};
  const auto famille = static_cast<uint16_t>(Famille());
  s[0] = static_cast<uint8_t>(famille);
  s[1] = static_cast<uint8_t>(famille >> 8);
  s[2] = static_cast<uint8_t>(Port >> 8);
  s[3] = static_cast<uint8_t>(Port);
  if (adresse_) std::memcpy(s.data() + 4, &adresse_->Adresse, 4);
  return s;
}

void TIPEndPoint::Ecrire(IFormateur* Formateur, TClasseFormat Contexte) {
  TCustomSerializable::Ecrire(Formateur, Contexte);
  if (!adresse_) throw EWriteError("Point de connexion sans adresse");
  Formateur->EcrireEntier(static_cast<int32_t>(adresse_->Adresse));
  if (Famille() == TIPAddress::kFamilleInternet) Formateur->EcrireWord(TIPAddress::HostToNetworkOrder(Port));
}

void TIPEndPoint::Lire(IFormateur* Formateur, TClasseFormat Contexte) {
  TCustomSerializable::Lire(Formateur, Contexte);
  int32_t adresse = 0;
  uint16_t port = 0;
  if (Formateur->LireEntier(adresse) != 4 || Formateur->LireWord(port) != 2)
    throw EReadError("Erreur de lecture du flux");
  adresse_ = std::make_unique<TIPAddress>(static_cast<uint32_t>(adresse));
  Port = TIPAddress::NetworkToHostOrder(port);
}

void IEIPEndPoint::Initialiser() {
  TracerModule("Initialisation du module IEIPEndPoint.");
  TGestionnaireNomsDeClasse::Enregistrer(TIPEndPoint::StaticClass());
}
