// The TLV documents of property trees, and the grid print and publication options that travel as
// such documents in the per-user parameter stream. The first input byte chooses: even, one document;
// odd, the grid options, read as a stream of the version that the second byte chooses.
#include <cstdint>
#include <string>

#include "core/serial/Streams.h"
#include "fuzz/FuzzSupport.h"
#include "streams/ProprietesImpressionGrille.h"
#include "streams/SauvegardeurTLV.h"
#include "streams/VersionParametres.h"

namespace {

std::string Ecrit(const TProprietes& Arbre) {
  TMemoryStream flux;
  TSauvegardeurTLV::EcrireTLV(&Arbre, flux);
  return flux.AsString();
}

// Any document is read or refused with the format's errors, the stream left within its bounds;
// what was read writes a document that reads back whole, and writes the same bytes again.
void Document(std::string_view Octets) {
  TMemoryStream flux;
  flux.Assign(Octets.data(), Octets.size());
  TProprietes arbre;
  try {
    (void)TSauvegardeurTLV::LireTLV(arbre, flux);
  } catch (const EExceptionPropriete&) {
  } catch (const EReadError&) {
  }
  Fuzz::Verifier(flux.Position() <= flux.Size(), "the reader stays within the stream");
  // After an error the tree holds what was stored before it: that too must write and read back.
  const std::string premier = Ecrit(arbre);
  TMemoryStream relu;
  relu.Assign(premier.data(), premier.size());
  TProprietes second;
  Fuzz::Verifier(TSauvegardeurTLV::LireTLV(second, relu) == 0, "a written document has no unknown entry");
  Fuzz::Verifier(relu.Position() == relu.Size(), "a written document is read whole");
  Fuzz::Verifier(second.Nombre() == arbre.Nombre(), "a written document keeps every entry");
  Fuzz::Verifier(Ecrit(second) == premier, "a document read back writes the same bytes");
}

// The grid options of a stream of one of the versions that change what is read: the reading stops
// within the stream; what was read writes, reads back as a current stream and writes the same bytes.
void Grilles(uint8_t Choix, std::string_view Octets) {
  static constexpr uint32_t kVersions[4][4] = {{4, 0, 50, 0}, {4, 0, 99, 0}, {5, 0, 0, 2}, {5, 0, 6, 1}};
  const uint32_t* v = kVersions[Choix % 4];
  TypeVersion& version = VersionParametres::VersionParametresUtilisateur();
  version.Majeur = v[0];
  version.Mineur = v[1];
  version.Release = v[2];
  version.Build = v[3];
  TMemoryStream flux;
  flux.Assign(Octets.data(), Octets.size());
  TToutesProprietesImpressionGrille toutes;
  const bool lu = toutes.Lire(flux);
  Fuzz::Verifier(flux.Position() <= flux.Size(), "the reader stays within the stream");
  if (!lu) return;
  TMemoryStream premier;
  Fuzz::Verifier(toutes.Ecrire(premier), "what was read can be written");
  version.Majeur = 5;
  version.Mineur = 0;
  version.Release = 6;
  version.Build = 1;
  TToutesProprietesImpressionGrille relues;
  premier.SetPosition(0);
  Fuzz::Verifier(relues.Lire(premier), "written options read back");
  Fuzz::Verifier(premier.Position() == premier.Size(), "written options are read whole");
  Fuzz::Verifier(relues.RemonterExceptions == toutes.RemonterExceptions, "the shared flag comes back");
  TMemoryStream second;
  Fuzz::Verifier(relues.Ecrire(second), "options read back can be written");
  Fuzz::Verifier(second.Bytes() == premier.Bytes(), "options read back write the same bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::TOctets entree(Data, Size);
  const uint8_t choix = entree.Octet();
  if (choix % 2 == 0) {
    Document(entree.Reste());
  } else {
    const uint8_t version = entree.Octet();
    Grilles(version, entree.Reste());
  }
  return 0;
}
