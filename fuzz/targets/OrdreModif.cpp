// Records of the timetable base that come from outside: the modification orders the server sends
// (applied through the table registry and each file's converter of the current layout), and stored
// records of every layout read through their file's converter.
//
// Input: a first byte whose low bit chooses the reader.
// - 0: orders, each as a 16-bit length followed by that many bytes, applied one after the other.
// - 1: a place byte (the file, modulo 42), a layout byte (modulo the file's layouts), a kind byte,
//   a 32-bit identifier, then the stored record (zero-filled to the layout's size). With bit 1 of the
//   first byte set too, orders as in 0 come first, ended by a length of 0, so that the references of
//   the stored record (those of the older layouts among them) find records.
// After either, every table must still hold together: no identifier twice in a file, every record
// found again by its identifier. Identifiers are byte offsets in the server's stored file, never below
// one stored record; a file may read smaller ones as record numbers (civilities do), so only real
// identifiers are checked.
#include <algorithm>
#include <set>
#include <vector>

#include "base/SupFichiers.h"
#include "base/fichiers/FichierSup.h"
#include "core/records/Xi.h"
#include "fuzz/BaseFuzz.h"
#include "fuzz/FuzzSupport.h"
#include "net/NetXi.h"

namespace {

void AppliquerOrdres(Fuzz::TOctets& Entree, bool FinSurZero) {
  for (int n = 0; n < 64 && !Entree.Fini(); ++n) {
    const uint16_t taille = Entree.Valeur<uint16_t>();
    if (FinSurZero && taille == 0) return;
    const std::string_view ordre = Entree.Octets(taille);
    // A copy of its own heap block, so that a read past the order's end is caught.
    const std::vector<uint8_t> copie(ordre.begin(), ordre.end());
    NetClient::AppliquerOrdreModif(copie.data(), static_cast<int32_t>(copie.size()));
  }
}

void LireStocke(Fuzz::TOctets& Entree) {
  TFichierSup& fichier = *SupFichiers::Fichier(Entree.Octet() % 42 + 1);
  const auto& dispositions = fichier.Description().Dispositions;
  const std::size_t disposition = Entree.Octet() % dispositions.size();
  const auto genre = static_cast<TypeGenreModif>(Entree.Octet() % 2);
  const int32_t identifiant = Entree.Valeur<int32_t>();
  std::vector<uint8_t> stocke(dispositions[disposition].Taille, 0);
  const std::string_view octets = Entree.Reste();
  std::copy_n(octets.begin(), std::min(octets.size(), stocke.size()), stocke.begin());
  fichier.ViderArticle();
  if (!fichier.LireArticleStocke(disposition, stocke.data(), identifiant, genre)) return;
  // What was read must write back in the current layout.
  std::vector<uint8_t> ecrit(dispositions.back().Taille, 0);
  if (fichier.Description().Ecrire != nullptr) (void)fichier.EcrireArticleStocke(ecrit.data(), identifiant, genre);
}

void VerifierTables() {
  for (int32_t place = 1; place <= 42; ++place) {
    TFichierSup& f = *SupFichiers::Fichier(place);
    const auto plusPetit = static_cast<int32_t>(NetXi::Table(place)->TailleStockee);
    std::set<int32_t> vus;
    std::vector<int32_t> identifiants;
    for (bool ok = Xi::Premier(f.Table, 0); ok; ok = Xi::Suivant(f.Table, 0)) {
      const int32_t id = f.IdentifiantCourant();
      if (id < plusPetit) continue;
      Fuzz::Verifier(vus.insert(id).second, "no identifier is held by two records of a file");
      identifiants.push_back(id);
    }
    for (int32_t id : identifiants)
      Fuzz::Verifier(f.ChercherParIdentifiant(id) && f.IdentifiantCourant() == id,
                     "every record is found again by its identifier");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::TBaseOuverte base;
  Fuzz::TOctets entree(Data, Size);
  const uint8_t mode = entree.Octet();
  if (mode % 2 == 0) {
    AppliquerOrdres(entree, false);
  } else {
    if ((mode & 2) != 0) AppliquerOrdres(entree, true);
    LireStocke(entree);
  }
  VerifierTables();
  return 0;
}
