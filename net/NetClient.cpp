#include "net/NetClient.h"

#include <cstring>
#include <memory>

#include "core/records/Xi.h"
#include "net/netmodif.h"
#include "objectdb/Traduction.h"
#include "platform/ui/VclDialogue.h"

namespace NetClient {

namespace {

struct Etat {
  IClientDonnees* client = nullptr;
  bool baseChargee = false;
  std::function<void()> apresOrdre;
  bool ordreApplique = false;
  TypeAfficherMessageTemporise afficher;
};
Etat& LEtat() {
  static Etat etat;
  return etat;
}

// The zero-filled copy of an order.
struct TypeOrdre {
  uint8_t Genre = 0;
  uint32_t NumeroTable = 0;
  int32_t Identifiant = 0;
  uint8_t Stocke[FormatOrdre::kZoneOrdre] = {};
};

// False for an order that cannot be applied: too short for its header or its record too large.
bool Decoder(const void* message, int32_t taille, TypeOrdre& ordre) {
  if (message == nullptr || taille < FormatOrdre::kTailleEntete ||
      taille - FormatOrdre::kTailleEntete > FormatOrdre::kZoneOrdre)
    return false;
  const auto* octets = static_cast<const uint8_t*>(message);
  ordre.Genre = octets[FormatOrdre::kDecalageGenre];
  std::memcpy(&ordre.NumeroTable, octets + FormatOrdre::kDecalageNumeroTable, 4);
  std::memcpy(&ordre.Identifiant, octets + FormatOrdre::kDecalageIdentifiant, 4);
  std::memcpy(ordre.Stocke, octets + FormatOrdre::kTailleEntete,
              static_cast<std::size_t>(taille - FormatOrdre::kTailleEntete));
  return true;
}

void AfficherRefus() {
  const std::string texte = Traduction::Traduire("netmodifP") + " " + Traduction::Traduire("netmodifd");
  // The program's own timed message unless a hook of the owner's takes it.
  if (LEtat().afficher)
    LEtat().afficher(texte, std::string(), 15000, 0, 8, true);
  else
    VclDialogue::AfficherMessageTemporise(texte, std::string(), 15000, 0, 8, true);
}

// Steps 3 to 7 on a registered table: the record found or inserted, converted and stored.
void Appliquer(TypeTableReseau& entree, TypeOrdre& ordre) {
  void* table = *entree.Table;
  auto genre = static_cast<TypeGenreModif>(ordre.Genre);
  if (genre != GM_Suppression) std::memcpy(entree.Tampon, ordre.Stocke, entree.TailleStockee);
  const uint32_t courant = Xi::NumeroCourant(table);
  auto chercher = [&] { return entree.ChercherParIdentifiant && entree.ChercherParIdentifiant(ordre.Identifiant); };
  if (genre == GM_Creation) {
    // An order held during the base transfer may repeat a record that the base already holds: it
    // becomes a change of that record, never a second record with the same identifier.
    if (ordre.Identifiant > 0 && chercher()) genre = GM_Modification;
  } else if (ordre.Identifiant <= 0 || !chercher()) {
    // No stored record has an identifier below 1: 0 is that of records created locally.
    (void)Xi::AllerA(table, courant);
    return;
  }
  if (entree.AvantOrdre) entree.AvantOrdre(entree.Tampon, table, ordre.Identifiant, genre);
  bool applique = false;
  switch (genre) {
    case GM_Creation:
    case GM_Modification:
      if (entree.LireArticleStocke && entree.LireArticleStocke(entree.Tampon, table, ordre.Identifiant, genre)) {
        if (genre == GM_Creation)
          applique = Xi::Inserer(table);
        else
          applique = Xi::Modifier(table);
      } else {
        AfficherRefus();
      }
      break;
    case GM_Suppression:
      if (entree.LireArticleStocke) entree.LireArticleStocke(entree.Tampon, table, ordre.Identifiant, genre);
      applique = Xi::Supprimer(table);
      break;
    default:
      break;
  }
  LEtat().ordreApplique = applique;
  if (entree.ApresOrdre) entree.ApresOrdre(entree.Tampon, table, ordre.Identifiant, genre);
  (void)Xi::AllerA(table, courant);
}

}  // namespace

IClientDonnees*& ClientDonnees() { return LEtat().client; }
bool& BaseChargee() { return LEtat().baseChargee; }
bool OrdreApplique() { return LEtat().ordreApplique; }
std::function<void()>& ApresOrdreModif() { return LEtat().apresOrdre; }
TypeAfficherMessageTemporise& AfficherMessageTemporise() { return LEtat().afficher; }

void AppliquerOrdreModif(const void* Message, int32_t Taille) {
  auto ordre = std::make_unique<TypeOrdre>();
  if (LEtat().baseChargee && Decoder(Message, Taille, *ordre) && ordre->NumeroTable <= 0x7FFFFFFFu) {
    TypeTableReseau* entree = NetXi::Table(static_cast<int32_t>(ordre->NumeroTable));
    if (entree != nullptr && entree->Table != nullptr && *entree->Table != nullptr &&
        (entree->Tampon != nullptr || entree->TailleStockee == 0) &&
        entree->TailleStockee <= static_cast<uint32_t>(FormatOrdre::kZoneOrdre))
      Appliquer(*entree, *ordre);
  }
  if (LEtat().apresOrdre) LEtat().apresOrdre();
}

void DebutRequete() {
  if (netmodif::SurDebutRequete()) netmodif::SurDebutRequete()();
}

void FinRequete() {
  if (netmodif::SurFinRequete()) netmodif::SurFinRequete()();
}

bool PasserParServeur() {
  // Only a server grants the exclusive mode: without a data client a change takes the server's road,
  // where EnvoyerRequeteServeur refuses it at once and nothing changes.
  return LEtat().client == nullptr || LEtat().client->PasserParServeur();
}

bool EnvoyerRequeteServeur(uint32_t Code, int32_t Parametre, int32_t Taille, const void* Donnees, bool AfficherAttente,
                           void* Reponse, int32_t TailleReponse) {
  if (LEtat().client == nullptr) return false;
  return LEtat().client->EnvoyerRequeteSynchrone(Code, Parametre, Taille, Donnees, AfficherAttente, Reponse,
                                                 TailleReponse);
}

void Initialiser() { LEtat() = Etat{}; }
void Finaliser() { LEtat() = Etat{}; }

}  // namespace NetClient
