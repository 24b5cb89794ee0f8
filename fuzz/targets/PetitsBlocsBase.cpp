// Two small readers of the timetable base: a packed selection of identifiers that comes with a
// request or an answer (read against an open base whose files hold a few records), and a sized buffer
// read from a stream. The first input byte chooses the reader; the next one, the file of the selection
// or the size of the reader's buffer.
#include <vector>

#include "base/EmballageSelection.h"
#include "base/IEStream.h"
#include "base/SupFichiers.h"
#include "base/fichiers/FichierSup.h"
#include "core/records/Memoire.h"
#include "core/serial/Streams.h"
#include "fuzz/BaseFuzz.h"
#include "fuzz/FuzzSupport.h"
#include "net/NetXi.h"

namespace {

// Frees a set when it goes; the reader makes the set itself.
struct TEnsemble {
  TypeEnsembleMemoire e{};
  ~TEnsemble() { Memoire::Liberer(e); }
};

// The selection read must name records that exist, each once, and pack back into no more bytes.
void Selection(Fuzz::TOctets& Entree) {
  Fuzz::TBaseOuverte base;
  const int32_t place = Entree.Octet() % 42 + 1;
  TFichierSup& f = *SupFichiers::Fichier(place);
  const int32_t taille = static_cast<int32_t>(NetXi::Table(place)->TailleStockee);
  for (int32_t i = 1; i <= 3; ++i) {
    std::vector<uint8_t> stocke(static_cast<std::size_t>(taille), 0);
    stocke[0] = static_cast<uint8_t>(i);
    const std::vector<uint8_t> ordre = Fuzz::Ordre(GM_Creation, place, i * taille, stocke);
    NetClient::AppliquerOrdreModif(ordre.data(), static_cast<int32_t>(ordre.size()));
  }
  const std::string_view bloc = Entree.Reste();
  const std::vector<uint8_t> copie(bloc.begin(), bloc.end());
  TEnsemble lue;
  const void* suite = EmballageSelection::DeballerSelection(copie.data(), copie.size(), f.Table, place - 1, lue.e);
  if (suite == nullptr) {
    Fuzz::Verifier(lue.e.Nombre == 0, "a refused selection is empty");
    return;
  }
  const auto* fin = static_cast<const uint8_t*>(suite);
  Fuzz::Verifier(fin >= copie.data() && fin <= copie.data() + copie.size(), "the reader stops inside its block");
  for (uint32_t i = 0; i < lue.e.Nombre; ++i) Fuzz::Verifier(f.Existe(lue.e.Elements[i]), "a selected record exists");
  void* emballe = nullptr;
  std::size_t tailleEmballee = 0;
  EmballageSelection::EmballerSelection(lue.e, f.Table, emballe, tailleEmballee);
  Fuzz::Verifier(tailleEmballee == 4 + 4 * std::size_t{lue.e.Nombre}, "a selection packs as its count and identifiers");
  Memoire::Desallouer(emballe, tailleEmballee);
}

// A sized buffer: never more than the reader's buffer is written, and True only with all of it read.
void Tampon(Fuzz::TOctets& Entree) {
  const int32_t n = Entree.Octet();
  const std::string_view octets = Entree.Reste();
  TMemoryStream flux;
  flux.Assign(octets.data(), octets.size());
  std::vector<uint8_t> tampon(static_cast<std::size_t>(n) + 1, 0xA5);
  const bool lu = TIEStream::Lire(&flux, tampon.data(), n);
  Fuzz::Verifier(tampon.back() == 0xA5, "the reader writes no more than its buffer");
  Fuzz::Verifier(!lu || flux.Position() <= static_cast<int64_t>(octets.size()), "a read stays within the stream");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::TOctets entree(Data, Size);
  if (entree.Octet() % 2 == 0) Selection(entree);
  else Tampon(entree);
  return 0;
}
