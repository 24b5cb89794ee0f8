#include "service/ReceptionDonnees.h"

#include <memory>

#include "net/NetClient.h"
#include "net/VclClient.h"
#include "objectdb/Traduction.h"
#include "platform/ui/AttenteReponseServeur.h"
#include "streams/VclImportExport.h"

namespace ReceptionDonnees {

namespace {
std::unique_ptr<TAttenteReponseServeur>& Fenetre() {
  static std::unique_ptr<TAttenteReponseServeur> fenetre;
  return fenetre;
}
}  // namespace

TAttenteReponseServeur* FenetreAttente() { return Fenetre().get(); }

void Lier(TIeClientDonnees& Client) {
  VclClient::DefinirClientDonnees(&Client);
  // A reader that fails raises: the stream is corrupt, the link closes and the base stays unloaded
  // until the next connection brings it whole.
  Client.SurLireStream = [&Client](TIeClientServeur*, TStream* Flux, TypeGenreStream Genre, const TypeCodeUtilisateur&) {
    if (Genre == StreamBase) {
      NetClient::BaseChargee() = false;
      VclImportExport::ImporterBase(*Flux);
      NetClient::BaseChargee() = true;
      (void)Client.DemanderStream(StreamInfosUtilisateur);
    } else {
      VclImportExport::ImporterParametresUtilisateur(*Flux);
    }
    return true;
  };
  Client.TraiterOrdreModif = [](TIeClient*, const uint8_t* Ordre, uint32_t Taille) {
    NetClient::AppliquerOrdreModif(Ordre, static_cast<int32_t>(Taille));
  };
  Client.TraiterDebutRequete = [](TIeClient*) { NetClient::DebutRequete(); };
  Client.TraiterFinRequete = [](TIeClient*) { NetClient::FinRequete(); };
  Client.OnPreRequeteAuServeur = [](TIeClient*, bool AfficherAttente) {
    if (!AfficherAttente) return;
    Fenetre() = std::make_unique<TAttenteReponseServeur>(Traduction::Traduire("NetClientTexteCaption"));
    Fenetre()->Afficher();
  };
  Client.OnPostRequeteAuServeur = [](TIeClient*, bool) { Fenetre().reset(); };
}

}  // namespace ReceptionDonnees
