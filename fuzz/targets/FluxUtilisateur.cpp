// What the user-information stream carries: the stream itself (one sized block), the memo table in
// either layout and the 10-byte (or old 8-byte) block of user settings.
//
// Input: a first byte choosing the reader (modulo 4), then three 16-bit version parts for the memos,
// the settings and the sites' order table, then the bytes read.
// - 0: ImporterParametresUtilisateur.
// - 1: LireMemos; whatever it answers, the stream is left inside its bounds, and the memos read write
//   back and read back to the same count.
// - 2: LireReglagesUtilisateur.
// - 3: SupSite::LireTableDesOrdres; the stream is left inside its bounds, and a table that holds
//   entries writes, reads back and writes again to the same bytes.
#include "core/records/Xi.h"
#include "base/sites/SupSite.h"
#include "core/serial/Streams.h"
#include "fuzz/FuzzSupport.h"
#include "streams/SupToutesTables.h"
#include "streams/VclImportExport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::TOctets entree(Data, Size);
  const uint8_t choix = entree.Octet() % 4;
  const uint32_t majeure = entree.Valeur<uint16_t>();
  const uint32_t mineure = entree.Valeur<uint16_t>();
  const uint32_t revision = entree.Valeur<uint16_t>();
  const std::string_view octets = entree.Reste();
  TMemoryStream flux;
  flux.Assign(octets.data(), octets.size());
  if (choix == 0) {
    try {
      VclImportExport::ImporterParametresUtilisateur(flux);
    } catch (const EReadError&) {
    }
  } else if (choix == 1) {
    Fuzz::Verifier(SupToutesTables::CreerToutesLesTables(), "the tables are created");
    (void)SupToutesTables::LireMemos(flux, majeure, mineure, revision);
    Fuzz::Verifier(flux.Position() <= flux.Size(), "the memo reader stays inside the stream");
    const uint32_t lus = Xi::Nombre(SupToutesTables::TableMemos());
    TMemoryStream ecrit;
    Fuzz::Verifier(SupToutesTables::EcrireMemos(ecrit), "the memos are written");
    Fuzz::Verifier(SupToutesTables::CreerToutesLesTables(), "the tables are created");
    ecrit.SetPosition(0);
    Fuzz::Verifier(SupToutesTables::LireMemos(ecrit, 5, 0, 6) && Xi::Nombre(SupToutesTables::TableMemos()) == lus,
                   "written memos read back");
    SupToutesTables::LibererToutesLesTables();
  } else if (choix == 2) {
    (void)SupToutesTables::LireReglagesUtilisateur(flux, majeure, mineure, revision);
    Fuzz::Verifier(flux.Position() <= flux.Size(), "the settings reader stays inside the stream");
  } else {
    Fuzz::Verifier(SupToutesTables::CreerToutesLesTables(), "the tables are created");
    (void)SupSite::LireTableDesOrdres(flux, majeure, mineure, revision);
    Fuzz::Verifier(flux.Position() <= flux.Size(), "the order table reader stays inside the stream");
    TMemoryStream ecrit;
    Fuzz::Verifier(SupSite::EcrireTableDesOrdres(ecrit), "the order table is written");
    if (Xi::Nombre(SupSite::TableDesOrdres()) > 0) {
      Fuzz::Verifier(SupSite::CreerTableDesOrdres(), "the order table is created");
      ecrit.SetPosition(0);
      Fuzz::Verifier(SupSite::LireTableDesOrdres(ecrit, 5, 0, 6), "the written order table reads back");
      TMemoryStream relu;
      Fuzz::Verifier(SupSite::EcrireTableDesOrdres(relu) && relu.Bytes() == ecrit.Bytes(),
                     "the order table read back writes the same bytes");
    }
    SupToutesTables::LibererToutesLesTables();
  }
  return 0;
}
