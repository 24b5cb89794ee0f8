// The whole-base stream the server sends, and its first block, the base parameter block, alone.
//
// Input: a first byte whose low bit chooses the reader.
// - 0: the rest is a received base (its 256-byte name, then the sized blocks), read by ImporterBase.
//   A base that reads must export and read back with the same number of records in every file.
// - 1: the rest is a base parameter block, read by LireBlocParametresBase. A block that reads must
//   write a block that reads back; once settled, writing and reading change nothing.
// A corrupt stream must be refused with the read error; the grid must never be left without places,
// days or hours.
#include <cstring>
#include <vector>

#include "base/SupFichiers.h"
#include "base/SupParametresGrille.h"
#include "core/records/Xi.h"
#include "core/serial/Streams.h"
#include "fuzz/BaseFuzz.h"
#include "fuzz/FuzzSupport.h"
#include "net/NetBases.h"
#include "streams/BlocParametresBase.h"
#include "streams/SupToutesTables.h"
#include "streams/VclImportExport.h"

namespace {

void Reinitialiser() {
  SupParametresGrille::Initialiser();
  SupFichiers::VersionBase() = TypeVersionFormat{5, 0, 6, 1};
  NetBases::BaseAnterieure506() = false;
  BlocParametresBase::Initialiser();
}

std::vector<uint32_t> Nombres() {
  std::vector<uint32_t> n;
  for (int32_t p = 1; p <= SupFichiers::kNombreFichiers; ++p) n.push_back(Xi::Nombre(SupFichiers::Fichier(p)->Table));
  return n;
}

void GrilleSaine() {
  const TypeParametresGrille& g = SupParametresGrille::Parametres();
  Fuzz::Verifier(g.PlacesParJour > 0 && g.NombreJours > 0 && g.HeuresParJour > 0 && g.PlacesParHeure > 0,
                 "the grid keeps places, days and hours");
}

void Base(std::string_view Octets) {
  TMemoryStream flux;
  flux.Assign(Octets.data(), Octets.size());
  try {
    VclImportExport::ImporterBase(flux);
  } catch (const EReadError&) {
    GrilleSaine();
    return;
  }
  GrilleSaine();
  const std::vector<uint32_t> lus = Nombres();
  TMemoryStream sortie;
  VclImportExport::ExporterBase(sortie);
  std::vector<uint8_t> recu(256, 0);
  recu.insert(recu.end(), sortie.Bytes().begin(), sortie.Bytes().end());
  TMemoryStream relu;
  relu.Assign(recu.data(), recu.size());
  VclImportExport::ImporterBase(relu);
  Fuzz::Verifier(Nombres() == lus, "an exported base reads back with the same records");
}

void Bloc(std::string_view Octets) {
  TMemoryStream flux;
  flux.Assign(Octets.data(), Octets.size());
  try {
    BlocParametresBase::LireBlocParametresBase(flux);
  } catch (const EReadError&) {
    GrilleSaine();
    return;
  }
  GrilleSaine();
  // A block read from an old format may leave values that the current format brings inside the grid
  // (the lunch service), so the first written block is read once to settle them; from there, writing
  // and reading must change nothing.
  TMemoryStream premier;
  BlocParametresBase::EcrireBlocParametresBase(premier);
  premier.SetPosition(0);
  BlocParametresBase::LireBlocParametresBase(premier);
  TMemoryStream ecrit;
  BlocParametresBase::EcrireBlocParametresBase(ecrit);
  ecrit.SetPosition(0);
  BlocParametresBase::LireBlocParametresBase(ecrit);
  TMemoryStream encore;
  BlocParametresBase::EcrireBlocParametresBase(encore);
  Fuzz::Verifier(encore.Bytes() == ecrit.Bytes(), "a written block reads back and writes the same bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::TBaseOuverte base;
  Reinitialiser();
  Fuzz::TOctets entree(Data, Size);
  if (entree.Octet() % 2 == 0)
    Base(entree.Reste());
  else
    Bloc(entree.Reste());
  SupToutesTables::LibererToutesLesTables();
  Reinitialiser();
  return 0;
}
