#include "service/ReceptionDonnees.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "net/NetClient.h"
#include "net/VclClient.h"
#include "objectdb/Traduction.h"
#include "platform/ui/AttenteReponseServeur.h"
#include "platform/ui/Progression.h"
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
    // The progress window goes whatever the reader does.
    struct Masquage {
      ~Masquage() { Progression::MasquerProgression(); }
    } masquage;
    if (Genre == StreamBase) {
      NetClient::BaseChargee() = false;
      Progression::MettreAJourProgression(Traduction::Traduire("EcranSupLectureDeLaBase"), 0, 100, true);
      VclImportExport::ImporterBase(*Flux);
      NetClient::BaseChargee() = true;
      Progression::MasquerProgression();
      (void)Client.DemanderStream(StreamInfosUtilisateur);
    } else {
      VclImportExport::ImporterParametresUtilisateur(*Flux);
    }
    return true;
  };
  // The progress of a stream under transfer, the window created when needed.
  Client.SurProgressionStream = [](TIeClientServeur*, TypeGenreStream, uint32_t Position, uint32_t Taille) {
    auto entier = [](uint32_t v) { return static_cast<int32_t>(std::min<uint32_t>(v, INT32_MAX)); };
    Progression::MettreAJourProgression("", entier(Position), entier(Taille), true);
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
