// The client side's entry points for the record files: a modification order received from the server
// is applied here through the table registry, requests are sent through the global data client, and
// the server's brackets around its processing of a request reach the record files' hooks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "net/NetXi.h"

// What the record files need of the data client. The service's network module installs its client
// as the global one; until then no request can be sent.
class IClientDonnees {
 public:
  virtual ~IClientDonnees() = default;
  // True unless the server has put this client in exclusive mode.
  virtual bool PasserParServeur() = 0;
  // Sends one modification request and waits for the verdict; at most TailleReponse answer bytes
  // are copied to Reponse.
  virtual bool EnvoyerRequeteSynchrone(uint32_t Code, int32_t Parametre, int32_t Taille, const void* Donnees,
                                       bool AfficherAttente, void* Reponse, int32_t TailleReponse) = 0;
};

// A received order (little-endian): kind (1 byte), table number (4), identifier (4), then the stored
// record. It is applied from a zero-filled copy whose stored-record area holds kZoneOrdre bytes.
namespace FormatOrdre {
inline constexpr int32_t kDecalageGenre = 0;
inline constexpr int32_t kDecalageNumeroTable = 1;
inline constexpr int32_t kDecalageIdentifiant = 5;
inline constexpr int32_t kTailleEntete = 9;
inline constexpr int32_t kZoneOrdre = 2048;
}  // namespace FormatOrdre

namespace NetClient {

// The global data client; nil until the service installs it.
IClientDonnees*& ClientDonnees();
// Set once the whole base has been received; orders that come before are dropped.
bool& BaseChargee();
// True while the after-apply routines of a received order run when the order changed its table (the
// record inserted, changed or deleted); False after a refused or failed conversion or change.
bool OrdreApplique();
// Run after every received order, applied or not; set by the service.
std::function<void()>& ApresOrdreModif();
// Shows a message for DelaiMs milliseconds (the user-interface toolkit installs its own). With none
// installed the message goes to the trace.
using TypeAfficherMessageTemporise =
    std::function<void(const std::string& Texte, const std::string& Titre, int32_t DelaiMs, int32_t Genre,
                       int32_t Boutons, bool Afficher)>;
TypeAfficherMessageTemporise& AfficherMessageTemporise();

// Applies one received order (Message, Taille bytes), then runs ApresOrdreModif. An order shorter
// than its header, with a table number outside the registry or a stored record larger than the
// order area is refused without touching any table. A creation whose identifier a record already
// holds is applied as a change of that record.
void AppliquerOrdreModif(const void* Message, int32_t Taille);

// The server's brackets around its processing of a request: run netmodif's hooks.
void DebutRequete();
void FinRequete();

// True unless the data client is in exclusive mode; True while no data client is installed, so that
// a change is then refused by EnvoyerRequeteServeur without touching any table.
bool PasserParServeur();
// Sends one modification request through the global data client and waits for the verdict; False at
// once when there is no data client. At most TailleReponse answer bytes are copied to Reponse.
bool EnvoyerRequeteServeur(uint32_t Code, int32_t Parametre, int32_t Taille, const void* Donnees, bool AfficherAttente,
                           void* Reponse, int32_t TailleReponse);
// A request whose answer bytes nobody reads.
inline bool EnvoyerRequeteServeur(uint32_t Code, int32_t Parametre, int32_t Taille, const void* Donnees,
                                  bool AfficherAttente, std::nullptr_t) {
  return EnvoyerRequeteServeur(Code, Parametre, Taille, Donnees, AfficherAttente, nullptr, 0);
}

void Initialiser();
void Finaliser();

}  // namespace NetClient
